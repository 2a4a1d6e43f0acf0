#include "disk/LSNDIO.h"

namespace korva {

classLSNDIO LsnDio;

}  // namespace korva
