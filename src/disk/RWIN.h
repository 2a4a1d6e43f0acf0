// The winchester and floppy disk controller (byte registers F1C0D1-F1C0DF).
// The guest writes a six-byte command block into R0, watches the status in R1,
// moves sector data through the FIFO at R4to7 and reads ten sense bytes back
// from R0. Its four logical units are the four drives: LUN 0 and 1 the
// winchesters HD00 and HD01, LUN 2 and 3 the floppies FD02 and FD03. Commands
// complete RwinPollInterval + 1 instruction fetches after they are armed.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "disk/DiskImage.h"

namespace korva {

// One logical unit as the controller knows it.
struct RwinLunEntry {
  uint8_t LUN = 0;
  bool Reset = false;     // from controller reset until the unit's parameters are set
  bool Ready = false;     // the drive has an image mounted
  bool SeekComp = false;  // the last positioning succeeded
  bool WritProt = false;  // the drive is read-only
  bool Track0 = false;    // the image stands at cylinder 0
  uint8_t MaxHead = 0;
  uint32_t MaxCYL = 0;
  uint8_t Precomp = 0;
  uint32_t MaxLSN = 0;
  uint8_t SPT0 = 0, SPT = 0;
  uint16_t SectorSize0 = 0, SectorSize = 0;
  // Floppy sectors per track: FM128, MFM128, FM256, MFM256, FM512, MFM512,
  // FM1024, MFM1024 (entry 2 x size code + MFM).
  std::array<uint16_t, 8> FloppySpt = {16, 32, 8, 16, 4, 8, 2, 4};
};

class classRWIN {
 public:
  // Sense codes.
  static constexpr uint8_t kNoError = 0, kOutOfRange = 3, kNotReady = 4, kSectorFailed = 6,
                           kInvalidCommand = 12, kWriteProtected = 14, kBadDensity = 42, kMediumMismatch = 43;
  static constexpr uint32_t kFifoSize = 262144;

  int32_t CalcMaxLSN(uint8_t lun);
  int32_t CalcLSN(uint8_t lun, int32_t cylinder, uint8_t head, uint8_t sector);

  uint8_t R0();
  void R0(uint8_t v);
  uint8_t R1() const;
  void R1(uint8_t v);
  uint8_t R2() const { return 0; }
  void R2(uint8_t) { Reset(); }
  uint8_t R3() const { return 0; }
  void R3(uint8_t) {}
  uint8_t R4to7();
  void R4to7(uint8_t v);

  // Ends the armed command: busy cleared, the command interrupt by CIE.
  void DoCmdComplete();
  // I/O-channel lines (1-4) of the data (source 0) and command (source 1)
  // interrupts. A change moves a pending request to the new line.
  uint8_t DataIRQ() const { return dataIrq_; }
  void DataIRQ(uint8_t line);
  uint8_t CmdIRQ() const { return cmdIrq_; }
  void CmdIRQ(uint8_t line);
  void Reset();

  std::string DisplayRWIN() const;
  std::string DisplayDrives() const;

  const RwinLunEntry& Lun(int lun) const { return luns_[static_cast<size_t>(lun & 3)]; }
  uint32_t FifoCount() const { return fifoCount_; }

 private:
  // Status and interrupts.
  void SetCmdInterrupt(bool on);
  void SetDataRequest(bool on);
  void ArmCompletion();
  // Sense bytes.
  void SetDriveSense();
  void SetJumperSense();
  void SetAddressSense(uint32_t lsn, uint32_t count);
  void SetPositionSense();
  // Commands.
  void ExecuteCommand();
  void FinishWrite();
  void Succeed();
  void SucceedAt(uint32_t lsn, uint32_t count);
  void Fail(uint8_t code);
  void FailAt(uint8_t code, uint32_t lsn, uint32_t count);
  void OpenDataPhase(bool read);
  void CheckDriveReady(uint8_t lun);
  uint8_t CheckSeek(uint8_t lun, uint32_t lsn, bool format);
  uint32_t TransferLength() const;
  uint32_t FloppySpt(uint8_t lun) const;
  bool LsnToChs(uint8_t lun, uint32_t lsn, int32_t& cylinder, int32_t& head, int32_t& sector) const;
  bool PlaceSector(uint8_t lun, uint32_t lsn, DiskImage*& image, int32_t& size);
  bool ReadSector(uint8_t lun, uint32_t lsn, bool toFifo);
  bool WriteSector(uint8_t lun, uint32_t lsn);
  uint8_t ReadSectors(uint32_t lsn, uint32_t count, bool toFifo);
  uint8_t WriteSectors(uint32_t lsn, uint32_t count);
  void ReadTrackIds(uint32_t lsn);
  void SetupFloppyParameters(uint8_t lun);
  void GetImageSptTable(uint8_t lun);
  // Image geometry seen through a unit; 0 without an image.
  DiskImage* UnitImage(uint8_t lun) const;
  int32_t ImageHeads(uint8_t lun) const;
  int32_t ImageCylinders(uint8_t lun) const;
  int32_t ImageSpt(uint8_t lun, int32_t track) const;
  int32_t ImageSectorSize(uint8_t lun, int32_t track) const;
  int32_t ImageDensity(uint8_t lun, int32_t track) const;
  void SetImageCylinder0(uint8_t lun);
  // FIFO.
  void FifoClear() { fifoHead_ = fifoCount_ = 0; }
  void FifoPush(uint8_t b);
  uint8_t FifoPop();

  // Status flags.
  bool cb_ = false, ci_ = false, flt_ = false, di_ = false, drq_ = false, cie_ = false, dma_ = false, die_ = false;
  bool commandPhase_ = false, sensePhase_ = false;
  int cmdIndex_ = 0, senseIndex_ = 0;
  bool readData_ = false, writeData_ = false, loopback_ = false;
  std::array<uint8_t, 6> cmd_ = {};
  std::array<uint8_t, 10> sense_ = {};
  // The decoded command block.
  uint8_t class_ = 0, opcode_ = 0, lun_ = 0;
  uint32_t lsn_ = 0;
  uint16_t count_ = 0;
  bool bit7_ = false, bit6_ = false, mfm_ = false, twoSided_ = false;
  uint8_t sizeCode_ = 0;
  uint8_t headField_ = 0;
  uint32_t cylinderField_ = 0;
  uint8_t precomp_ = 0;
  uint32_t transferLength_ = 0;
  uint8_t dataIrq_ = 3, cmdIrq_ = 3;
  std::array<RwinLunEntry, 4> luns_{};
  std::array<uint8_t, kFifoSize> fifo_{};
  uint32_t fifoHead_ = 0, fifoCount_ = 0;
};

extern classRWIN Rwin;

}  // namespace korva
