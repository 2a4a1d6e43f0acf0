#include "shell/DropTarget.h"

#include <filesystem>
#include <system_error>

#include "disk/Dropzone.h"
#include "host/CodePage.h"
#include "host/Host.h"
#include "shell/PathHelpers.h"

namespace korva {

namespace {

// CP/M guests cannot take a file past 8 MB - 1.
constexpr int32_t MaxCpmDropSize = 0x7FFFFF;

bool IsPlainFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

// The guest name for one file by the drop format; empty when it is skipped.
std::string GuestNameFor(const std::string& path, int32_t size) {
  switch (DropFormat) {
    case 0:
      return Utf8ToCp1252(FileNameOf(path));
    case 1: case 2: case 3: case 4: {
      if (size < 0 || size > MaxCpmDropSize) return "";
      const std::string name = AskCpmName(path);
      return name.empty() ? "" : CheckCpmDropName(name);
    }
    case 5: {
      if (size < 0 || size > MaxCpmDropSize) return "";
      const std::string name = AskVdosName(path);
      return name.empty() ? "" : CheckVdosDropName(name);
    }
    default:
      return "";
  }
}

// Keeps the busy pointer for the lifetime of the drop, whatever path it leaves by.
struct BusyPointer {
  BusyPointer() { Host().BeginBusy(); }
  ~BusyPointer() { Host().EndBusy(); }
};

}  // namespace

const char* DropFormatCaption(int format) {
  static const char* const captions[] = {"Generic", "CPM 1", "CPM 2", "CPM 3", "CPM 68K", "VersaDOS"};
  return (format >= 0 && format <= 5) ? captions[format] : captions[4];
}

void DropFiles(const std::vector<std::string>& paths) {
  if (Dropzone.InUse()) {
    Host().MessageBox("Drop Zone is in USE", "Drop Zone", MsgButtons::OK, MsgIcon::Exclamation);
    return;
  }
  if (paths.empty()) return;
  BusyPointer busy;
  DropCount = 0;
  for (const std::string& path : paths) {
    if (DropCount >= MaxDropCount) {
      Host().MessageBox("Dropped Files Exceeds Maximum Allowed - " + std::to_string(MaxDropCount),
                        "Can NOT process any more files", MsgButtons::OK, MsgIcon::Exclamation);
      break;
    }
    if (!IsPlainFile(path)) {
      Host().MessageBox("Encountered directory - \r\n\r\n" + Utf8ToCp1252(path) + "\r\n\r\nPlease select files only",
                        "Can NOT process directories", MsgButtons::OK, MsgIcon::Exclamation);
      continue;
    }
    const int32_t size = GetFileSize(path);
    const std::string guestName = GuestNameFor(path, size);
    if (guestName.empty()) continue;
    DropList[++DropCount] = DropEntry{path, size, guestName};
  }
}

void ShowDropList() {
  const std::string caption = DropFormatCaption(DropFormat);
  if (DropCount < 1) {
    Host().MessageBox("Dropzone " + caption + " is Empty", "Dropzone", MsgButtons::OK, MsgIcon::Information);
    return;
  }
  std::string text;
  for (int32_t i = 1; i <= DropCount; ++i)
    text += Utf8ToCp1252(DropList[i].HostPath) + " (" + std::to_string(DropList[i].Size) + ") = " +
            DropList[i].GuestName + "\r\n";
  if (Dropzone.InUse()) {
    Host().MessageBox(text, "DropZone " + caption + " is in USE", MsgButtons::OK, MsgIcon::Information);
    return;
  }
  if (Host().MessageBox(text, "Dropzone " + caption + " - CANCEL to EMPTY", MsgButtons::OKCancel,
                        MsgIcon::Information) == MsgAnswer::Cancel)
    Dropzone.Init();
}

}  // namespace korva
