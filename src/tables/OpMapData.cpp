#include "tables/OpMap.h"

namespace korva {

OpMapEntry OpMap[65536];
OpTextEntry OpText[65536];
ExtWordEntry ExtWordTable[65536];

}  // namespace korva
