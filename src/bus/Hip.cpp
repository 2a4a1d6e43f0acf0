#include "bus/Hip.h"

namespace korva {

PendingAtEnd EndOfInstructionPending = {0, 0};
int16_t HipEntry = -1;
uint16_t HipLevel = 0;
uint16_t HipKind = 0;
uint16_t HipVector = 0;
int32_t HipVectorAddress = 0;

}  // namespace korva
