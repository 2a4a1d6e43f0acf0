#include "disk/SimpleDiskController.h"

namespace korva {

classSimpleDiskController SimpleDC;

}  // namespace korva
