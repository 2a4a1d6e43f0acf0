// The commands that show VersaDOS structures, the crash-save block, the system
// control module and the address map: each appends its display's text as it is.
#include "debugger/DebuggerCore.h"
#include "debugger/ScmDisplays.h"
#include "debugger/VdosDisplays.h"

namespace korva {

namespace {

uint32_t Address1() { return static_cast<uint32_t>(CommandArgs[1].LongValue); }

void DoSyspar() {
  if (!CommandArgs[1].Present) {
    FindVdosSYSPAR();
    if (SysparAddress < 0) return AppendOutput(" usage SYSPAR[ <SYSPARaddress>]  -- SYSPAR Address NOT found");
    return AppendOutput(DisplaySYSPAR(static_cast<uint32_t>(SysparAddress)));
  }
  if (!CommandArgs[1].LongOK) return AppendOutput(" usage SYSPAR[ <SYSPARaddress>]");
  AppendOutput(DisplaySYSPAR(Address1()));
}

void DoCcb() {
  if (!CheckArguments({{ArgLong}})) return AppendOutput(" usage CCB[ <CCBAddress>]");
  AppendOutput(DisplayCCB(Address1()));
}

constexpr double kCrashSaveBlock = 0xA00;

void DoCrashSave() {
  if (!CheckArguments({{ArgLong, kCrashSaveBlock}})) return AppendOutput(" usage CrashSave[ <CrashsaveAddress>]");
  AppendOutput(DisplayCrashSave(Address1()));
}

void DoCrashSave3() {
  if (!CheckArguments({{ArgLong, kCrashSaveBlock}})) return AppendOutput(" usage CrashSave3[ <CrashsaveAddress>]\r\n");
  AppendOutput(DisplayCrashSave3(Address1()));
}

void DoCrashSave5() {
  if (!CheckArguments({{ArgLong, kCrashSaveBlock}})) return AppendOutput(" usage CrashSave5[ <CrashsaveAddress>]\r\n");
  AppendOutput(DisplayCrashSave5(Address1()));
}

void DoScm() { AppendOutput(DisplaySCM()); }
void DoGram() { AppendOutput(DisplayCharGenRam()); }
void DoAram() { AppendOutput(DisplayCharAttrRam()); }
void DoDram() { AppendOutput(DisplayCharDispRam(CommandArgs[1].ByteOK ? CommandArgs[1].ByteValue : 0)); }
void DoAddresses() { AppendOutput(DisplayAddresses()); }

const DebugCommand kStructureCommands[] = {
    {"SYSPAR", &DoSyspar},
    {"CCB", &DoCcb},
    {"CS CRASHSAVE", &DoCrashSave},
    {"CS3 CRASHSAVE3", &DoCrashSave3},
    {"CS5 CRASHSAVE5", &DoCrashSave5},
    {"SCM", &DoScm},
    {"GRAM", &DoGram},
    {"ARAM", &DoAram},
    {"DRAM", &DoDram},
    {"ADDRESSES ADDR ADDRESS", &DoAddresses},
};

}  // namespace

extern const CommandTable StructureCommands{kStructureCommands};

}  // namespace korva
