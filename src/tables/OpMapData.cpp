#include "tables/OpMapEntry.h"

namespace korva {

OpMapEntry OpMap[65536];

}  // namespace korva
