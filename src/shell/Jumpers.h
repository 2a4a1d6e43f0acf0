// The jumper dialog's values: the system control module's switches, the serial
// and parallel boards' interrupt lines and baud-rate switches, and the disk
// controller's interrupt lines, floppy types and J16 jumpers. The dialog is a
// holder of values: the main window fills Fields, calls ShowJumpers and, when
// DialogResult is 1, takes the fields back; the dialog itself touches no board.
#pragma once
#include <array>
#include <cstdint>

#include "tables/Types.h"

namespace korva {

// Interrupt lines are the I/O-channel lines 1-4; floppy types 0-4; baud indexes 0-7.
struct JumperFields {
  VBool SrSW0 = False, SrSW1 = False, SrSW2 = False, SrIOchEN = False;
  int16_t M400C0N7201Int = 1, M400C0IRQAInt = 1, M400C0IRQBInt = 1;
  int16_t M400C1N7201Int = 1, M400C1IRQAInt = 1, M400C1IRQBInt = 1;
  int16_t M410P1IRQAInt = 1, M410P1IRQBInt = 1, M410P2IRQAInt = 1, M410P2IRQBInt = 1;
  int16_t RWINDATAInt = 1, RWINCMDInt = 1;
  VBool RwinDiskAuto2 = False, RwinDiskAuto3 = False;
  int16_t RwinDiskType2 = 0, RwinDiskType3 = 0;
  uint8_t M400C0BaudA = 0, M400C0BaudB = 0, M400C1BaudA = 0, M400C1BaudB = 0;
  VBool J16TPI48or96A0 = False, J16Size5or8A1 = False;
  VBool J16TPI48or96 = False, J16Size5or8 = False, J16FSR1 = False, J16FSR0 = False;
  VBool J16FixOrCartW1 = False, J16BuffOrUnbuffW1 = False, J16FixOrCartW0 = False, J16BuffOrUnbuffW0 = False;

  bool operator==(const JumperFields&) const = default;
};

// The baud-rate switch texts, index = switch value, and the floppy types.
constexpr std::array<const char*, 8> BaudRateTexts = {"  110", "  300", " 1200", " 2400",
                                                      " 4800", " 7200", " 9600", "19200"};
constexpr std::array<const char*, 5> FloppyTypeTexts = {"8", "5 dd", "5 hd", "3 dd", "3 hd"};

// The number of settings keys SaveJumperSettings writes.
constexpr int JumperKeyCount = 34;

// Writes every field under its own name: section "SCM" the four switches,
// "IOC" the lines and baud indexes, "RWIN" the controller's values; booleans as
// "True" / "False", numbers in decimal.
void SaveJumperSettings(const JumperFields& f);

// The machine's live values (the main window's "Set Switches ..." step 1) and
// their return (step 3). Applying writes each board property through its
// property write, so a line change moves a pending request to the new line.
JumperFields JumperFieldsFromMachine();
// Returns true when SrSW1 changed (the screen must be merged again).
bool ApplyJumperFields(const JumperFields& f);

// The dialog as the main window drives it.
class JumperDialog {
 public:
  virtual ~JumperDialog() = default;
  // Opens on tab (1 "SCM" .. 5 "RWIN") and returns when the dialog is hidden;
  // DialogResult is then 1 after OK (Fields updated and saved), 0 after Cancel or
  // the close box (Fields as they were).
  virtual void ShowJumpers(int32_t tab) = 0;
  JumperFields Fields;
  int16_t DialogResult = 0;
  int16_t CurrentTab = 0;
};

}  // namespace korva
