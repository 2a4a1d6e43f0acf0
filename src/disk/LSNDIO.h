// The emulator's logical-sector disk port (F1A400-F1A41F): a guest driver writes
// the address of a parameter block and a command into three word registers, and
// the device moves a run of 256-byte logical sectors between a drive and guest
// memory before the third write returns. Word accesses only; register index
// (address >> 1) AND 3; every register reads as the status.
#pragma once
#include <cstdint>

namespace korva {

class classLSNDIO {
 public:
  static constexpr uint16_t kRead = 16;
  static constexpr uint16_t kWrite = 17;
  // Error codes, in the status word's high byte.
  static constexpr uint8_t kDriveError = 1;
  static constexpr uint8_t kBlockError = 6;
  static constexpr uint8_t kMemoryError = 9;

  uint16_t Reg(uint32_t /*index*/) const { return Status; }
  void Reg(uint32_t index, uint16_t value);

  uint16_t Status = 0;

 private:
  void ExecuteCommand();
  void ReadParamBlock();
  void ReadBlocks();
  void WriteBlocks();
  void PostStatus();
  void Fail(uint8_t code) { Status = static_cast<uint16_t>(code << 8); }

  uint32_t blockAddress_ = 0;
  uint16_t command_ = 0;
  bool haveHigh_ = false, haveLow_ = false, haveCommand_ = false;
  // The parameter block as read from guest memory.
  uint8_t drive_ = 0;
  uint32_t buffer_ = 0;
  uint32_t firstLsn_ = 0;
  uint32_t count_ = 0;
};

extern classLSNDIO LsnDio;

}  // namespace korva
