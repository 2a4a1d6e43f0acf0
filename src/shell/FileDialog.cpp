#include "shell/FileDialog.h"

#include <filesystem>
#include <string_view>

#include "host/CodePage.h"
#include "host/Host.h"
#include "host/Settings.h"

namespace korva {

CommonDialogState CommonDialog1;
PathsRecordState PathsRecord;

namespace {

// Filter lists shared by several kinds.
constexpr char kMemoryLoad1[] =
    "All Memory Files (*.bin;*.hex;*.ihx;*.mx;*.S19;*.SR;*.LO;*.SY;*.com)|*.bin;*.hex;*.ihx;*.mx;*.S19;*.SR;*.LO;*.SY;"
    "*.com|Binary File (*.bin)|*.bin|i-Hex File (*.hex;*.ihx)|*.hex;*.ihx|S-rec File (*.mx;*.S19;*.SR)|*.mx;*.S19;"
    "*.SR|Load Module (*.LO;*.SY)|*.LO;*.SY|com File (*.com)|*.com|All Files (*.*)|*.*";
constexpr char kMemoryLoad2[] =
    "All Memory Files (*.bin;*.hex;*.ihx;*.mx;*.S19;*.SR;*.LO;*.SY;*.68K;*.SYS)|*.bin;*.hex;*.ihx;*.mx;*.S19;*.SR;"
    "*.LO;*.SY;*.68k;*.sys|Binary File (*.bin)|*.bin|i-Hex File (*.hex;*.ihx)|*.hex;*.ihx|S-rec File (*.mx;*.S19;"
    "*.SR)|*.mx;*.S19;*.SR|Load Module (*.LO;*.SY)|*.LO;*.SY|CPM Command File (*.68k;*.sys)|*.68k;*.sys|All Files "
    "(*.*)|*.*";
constexpr char kMemorySave[] =
    "All Memory Files (*.bin;*.hex;*.ihx;*.mx;*.S19;*.SR;*.LO;*.SY;*.com;*.dasm;*.dlst;*.dump)|*.bin;*.hex;*.ihx;*.mx;"
    "*.S19;*.SR;*.LO;*.SY;*.com;*.dasm;*.dlst;*.dump|Disassembled Files (*.dasm;*.dlst)|*.dasm;*.dlst|Disassembled "
    "Source File (*.dasm)|*.dasm|Disassembled List File (*.dlst)|*.dlst|Binary File (*.bin)|*.bin|i-Hex File "
    "(*.hex;*.ihx)|*.hex;*.ihx|S-rec File (*.mx;*.S19)|*.mx;*.S19|com File (*.com)|*.com|dump File (*.dump)|*.dump|"
    "All Files (*.*)|*.*";
constexpr char kDiskImage[] =
    "All Disk Image Files (*.img;*.dsk;*.raw;*.imd)|*.img;*.dsk;*.raw;*.imd|Image File (*.img)|*.img|Disk File "
    "(*.dsk)|*.dsk|RAW File (*.raw)|*.raw|IMD File (*.imd)|*.imd|All Files (*.*)|*.*";
constexpr char kAllFiles[] = "All Files (*.*)|*.*";

struct KindEntry {
  std::string_view Code;  // upper case
  const char* Filter;
  const char* Extension;
  const char* Word;  // the title's word
  const char* Key;   // the "Paths" key
};

const KindEntry kKinds[] = {
    {"", kAllFiles, "", "", "ELSE"},
    {"BIN", "Binary File (*.bin)|*.bin|All Files (*.*)|*.*", "bin", "Binary", "BIN"},
    {"COM", "Command File (*.com)|*.com|All Files (*.*)|*.*", "com", "Command", "COM"},
    {"DEF", "Definition File (*.def)|*.def|All Files (*.*)|*.*", "def", "Definitions", "DEF"},
    {"DASM", "Disassembled Files (*.dasm;*.dlst)|*.dasm;*.dlst|All Files (*.*)|*.*", "dasm", "Disassembled Source",
     "DAS"},
    {"CLR", "Colors File (*.clr)|*.clr|All Files (*.*)|*.*", "clr", "Colors", "CLR"},
    {"RWE", "Memory Attributes File (*.rwe)|*.rwe|All Files (*.*)|*.*", "rwe", "Memory Attributes", "RWE"},
    {"FONTFILES", kMemoryLoad1, "S19", "Initial Font", "Font"},
    {"ROMFILES", kMemoryLoad1, "S19", "Initial Rom", "Rom"},
    {"BOOTFILES", kMemoryLoad2, "S19", "Boot", "Boot"},
    {"SRECBOOTFILES", kMemoryLoad2, "S19", "S-rec Boot", "SrecBoot"},
    {"CPMBOOTFILES", kMemoryLoad2, "SYS", "CPM file Boot", "CpmBoot"},
    {"VDOSBOOTFILES", kMemoryLoad2, "SY", "VDOS Boot", "VdosBoot"},
    {"LOADFILES", kMemoryLoad2, "S19", "Load Memory", "Load"},
    {"SAVEFILES", kMemorySave, "S19", "Save Memory", "Save"},
    {"ULOAD", kAllFiles, "", "\"Upload to Host System\"", "ULoad"},
    {"DLOAD", kAllFiles, "", "\"Download into Emulator\"", "DLoad"},
    {"IMG", kDiskImage, "img", "Disk Image", "IMG"},
    {"ECS", "IMD File (*.imd)|*.imd|All Files (*.*)|*.*", "imd", "Image Disk File", "ECS"},
    {"IMD", kDiskImage, "imd", "Disk Image", "IMD"},
    {"DRV", kDiskImage, "img", "Drive-", ""},  // word and key take the drive number
    {"FMT", "Disk Format Files  (*.fmt)|*.fmt|All Files (*.*)|*.*", "fmt", "Disk Image Format", "FMT"},
    {"PRN", "Printer File (*.prn)|*.prn|All Files (*.*)|*.*", "prn", "Printer", "PRN"},
    {"IOREMAPFILES", "IO map Files (*.iom;*.iomap)|*.iom;*.iomap", "iom", "I/O Remap Definition", "IOM"},
    {"IOPANELS", "IO Panel Files (*.iop;*.iopanel)|*.iop;*.iopanel", "iop", "I/O Panel Definition", "IOP"},
    {"PIO", "IO Properties Files  (*.pio)|*.pio|All Files (*.*)|*.*", "pio", "IO Properties", "PIO"},
    {"CASSETTE", "Cassette Tape(*.cas)|*.cas|All Files (*.*)|*.*", "cas", "Cassette", "CAS"},
    {"DAD", "Data Definition File (*.dad)|*.dad|All Files (*.*)|*.*", "dad", "Data Area Definition", "DAD"},
    {"TAB", "Terminal Abilities File (*.tab)|*.tab|All Files (*.*)|*.*", "tab", "Terminal Abilities", "TAB"},
    {"FKY", "Function Key Definition File (*.fky)|*.fky|All Files (*.*)|*.*", "fky", "Function Keys", "FKY"},
    {"KBD", "KeyBoard Definition File (*.kbd)|*.kbd|All Files (*.*)|*.*", "kbd", "Keyboard Definitions", "KBD"},
    {"TXT", "Text File (*.txt)|*.txt|All Files (*.*)|*.*", "txt", "Text", "TXT"},
    {"RTF", "Rich Text File (*.rtf)|*.rtf|All Files (*.*)|*.*", "rtf", "Rich Text", "RTF"},
    {"IRS", "Interrupt Reset Settings (*.irs)|*.irs|All Files (*.*)|*.*", "irs", "Interrupt Reset Settings", "IRS"},
    {"IDA", "Interrupt Device Assignments (*.ida)|*.ida|All Files (*.*)|*.*", "ida", "Interrupt Device Assignments",
     "IDA"},
};

// The "Paths" keys other than the drives', in the order they are read afresh.
const char* const kPathKeys[] = {"ELSE",    "BIN",      "COM", "DEF",  "DAS",  "CLR",  "RWE",   "Boot",  "SrecBoot",
                                 "CpmBoot", "VdosBoot", "Rom", "Font", "Load", "Save", "ULoad", "DLoad", "IMG",
                                 "IMD",     "ECS",      "FMT", "PRN",  "IOM",  "IOP",  "PIO",   "CAS",   "DAD",
                                 "TAB",     "FKY",      "KBD", "IRS",  "IDA",  "TXT",  "RTF"};

constexpr int32_t kOpenFlags = FileDialogFlags::LongNames | FileDialogFlags::FileMustExist;
constexpr int32_t kSaveFlags = FileDialogFlags::LongNames | FileDialogFlags::NoReadOnlyReturn |
                               FileDialogFlags::PathMustExist | FileDialogFlags::HideReadOnly |
                               FileDialogFlags::OverwritePrompt;

std::string UpperCase(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string DriveKey(int drive) { return "DRIVE0" + std::to_string(drive); }

// The current directory, ending in "/".
std::string CurrentDirectory() {
  std::error_code ec;
  std::string dir = std::filesystem::current_path(ec).string();
  if (ec || dir.empty()) return "";
  return dir.back() == '/' ? dir : dir + "/";
}

// The path up to and including its last "/", or "".
std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void ReadRememberedDirectories(int drive) {
  std::string& driveDir = PathsRecord.Drive[static_cast<size_t>(drive)];
  driveDir = GetSettingPath("Paths", DriveKey(drive), "");
  if (driveDir.empty()) driveDir = PathsRecord.StartDirectory;
  for (const char* key : kPathKeys) PathsRecord.ByKey[key] = GetSettingPath("Paths", key, "");
}

}  // namespace

std::string OpenSaveDialog(const std::string& fileName, const std::string& op, const FileKind& kind, int32_t extraFlags,
                           const std::string& title) {
  std::string code = UpperCase(kind);
  int drive = 0;
  if (code.size() == 5 && code.starts_with("DRV0") && code[4] >= '0' && code[4] <= '3') {
    drive = code[4] - '0';
    code = "DRV";
  }
  if (PathsRecord.StartDirectory.empty()) PathsRecord.StartDirectory = CurrentDirectory();
  ReadRememberedDirectories(drive);

  FileDialogRequest request;
  request.InitialDirectory = PathsRecord.StartDirectory;
  std::string word, key = "ELSE";
  const KindEntry* entry = nullptr;
  for (const KindEntry& k : kKinds)
    if (k.Code == code) entry = &k;
  if (entry) {
    request.Filter = entry->Filter;
    request.DefaultExtension = entry->Extension;
    word = entry->Word;
    if (code == "DRV") word += std::to_string(drive);
    key = code == "DRV" ? DriveKey(drive) : entry->Key;
  } else {  // a code of its own: a filter built from the code as the caller wrote it
    request.Filter = "File (*." + kind + ")|*." + kind + "|All Files (*.*)|*.*";
    request.DefaultExtension = kind;
  }
  std::string& remembered = code == "DRV" ? PathsRecord.Drive[static_cast<size_t>(drive)] : PathsRecord.ByKey[key];
  if (!remembered.empty()) request.InitialDirectory = remembered;
  if (title != "Default") word = title;

  CommonDialog1.CancelError = true;
  request.FilterIndex = 1;
  request.FileName = fileName;
  const std::string upperOp = UpperCase(op);
  std::string result = fileName;
  if (upperOp == "OPEN" || upperOp == "SAVE" || upperOp == "SAVEAS") {
    request.Save = upperOp != "OPEN";
    request.Title = (request.Save ? "Save " : "Open ") + word + (upperOp == "SAVEAS" ? " File As" : " File");
    request.Flags = extraFlags | (request.Save ? kSaveFlags : kOpenFlags);
    const FileDialogResult answer = Host().FileDialog(request);
    if (answer.What != FileDialogResult::Outcome::Chosen) {
      if (answer.What == FileDialogResult::Outcome::Failed)
        Host().MessageBox(answer.ErrorSource + " generated  Error # " + std::to_string(answer.ErrorNumber) + "\r\n" +
                              answer.ErrorDescription,
                          "Error", MsgButtons::OK, MsgIcon::None);
      CommonDialog1.CancelError = false;
      return "";
    }
    result = answer.Path;
    CommonDialog1.FileTitle = answer.FileTitle;
    CommonDialog1.Flags = request.Flags | (answer.ReadOnly ? FileDialogFlags::ReadOnly : 0);
  } else {  // no dialog: the name passed in counts as chosen, with no read-only tick
    CommonDialog1.FileTitle = result.substr(DirectoryOf(result).size());
    CommonDialog1.Flags = 0;
  }
  CommonDialog1.FileName = result;

  const std::string dir = DirectoryOf(result);
  remembered = dir;
  Host().SaveSetting("Paths", key, dir);
  PathsRecord.StartDirectory = dir;
  return result;
}

}  // namespace korva
