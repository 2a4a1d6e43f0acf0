// The emulator's simple disk controller (F1A300-F1A31F): the guest selects a
// drive, a cylinder, a head and a sector and moves one whole sector between the
// image and memory with one command write. 16-bit registers at even offsets;
// only word writes reach them.
#pragma once
#include <cstdint>
#include <vector>

#include "disk/SectorController.h"

namespace korva {

class classSimpleDiskController : public SectorController {
 public:
  static constexpr uint16_t kReadSector = 1;
  static constexpr uint16_t kWriteSector = 2;

  uint16_t Reg(uint32_t offset);
  void Reg(uint32_t offset, uint16_t value);

 private:
  bool SelectDrive();
  void ReadCommand();
  void WriteCommand();

  std::vector<uint8_t> buffer_;
};

extern classSimpleDiskController SimpleDC;

}  // namespace korva
