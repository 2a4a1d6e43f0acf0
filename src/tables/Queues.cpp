#include "tables/Queues.h"

namespace korva {

void classCircusL::Create(int32_t size) {
  if (size < 1 || size > MaxSize) return;
  Buffer.assign(static_cast<std::size_t>(size), 0);
  SizeValue = size;
  MaxIndex = size - 1;
  CountValue = HeadIndex = 0;
}

}  // namespace korva
