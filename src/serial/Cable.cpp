#include "serial/Cable.h"

namespace korva {

classCable Cable;

}  // namespace korva
