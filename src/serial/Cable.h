// The sixteen-port virtual cable between the board channels and the console
// windows.
//
// Stand-in: no port holds data yet.
#pragma once
#include <cstdint>

namespace korva {

class classCable {
 public:
  // Empties the sixteen console receive queues; the modem lines are unchanged.
  void Reset() { ++ResetCount; }

  uint32_t ResetCount = 0;
};

extern classCable Cable;

}  // namespace korva
