#include "disk/CpmDiskController.h"

namespace korva {

classCpmDiskController CpmDC;

}  // namespace korva
