// The drop zone (F1A060-F1A06F, the host files dropped on the main window) and
// the upload/download port (F1A070-F1A07B, the download and upload files the
// user opens from the File menu): two byte-stream devices of one object through
// which guest software exchanges files with the host without a disk image.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "shell/ShellSettings.h"
#include "tables/Types.h"

namespace korva {

// One dropped host file.
struct DropEntry {
  std::string HostPath;   // full host path (UTF-8, as the desktop names it)
  int32_t Size = 0;       // byte count, -1 when it could not be read
  std::string GuestName;  // the name the guest sees (Windows-1252 bytes)
};

constexpr int32_t MaxDropCount = 255;
// Files occupy 1..DropCount; entry 0 holds none.
extern DropEntry DropList[MaxDropCount + 1];
extern int32_t DropCount;

// The naming rule of the drop target: 0 "Generic", 1 "CPM 1", 2 "CPM 2",
// 3 "CPM 3", 4 "CPM 68k", 5 "VersaDOS"; DropFormatName is its text.
extern std::string DropFormatName;  // DropFormat itself is a setting (shell/ShellSettings.h)

// The download and upload files. The File menu opens and closes them; the
// port reads the one and appends to the other.
extern std::string DloadFilePath, DloadFileTitle;
extern VBool DloadFileOpen;
extern int32_t DloadFileLength;
extern std::string UloadFilePath, UloadFileTitle;
extern VBool UloadFileOpen;

// Opens the download file for reading (a regular file only); on failure shows
// "Error Opening Dload File" and leaves it closed.
bool OpenDloadFile(const std::string& path, const std::string& title);
// Opens the upload file, made anew and empty: an existing file or link of that
// name is deleted first (a link's target stays as it was), a FIFO, device,
// folder or read-only file is refused. On failure shows a box titled "Error"
// (or the delete's own box) and leaves it closed.
bool OpenUloadFile(const std::string& path, const std::string& title);
void CloseDloadFile();
void CloseUloadFile();  // flushes what the guest appended

class classDropzone {
 public:
  ~classDropzone();

  // Drop-zone window: offset = address AND 15.
  uint16_t RegDZ(uint32_t offset, VBool isByte);
  void RegDZ(uint32_t offset, VBool isByte, uint16_t data);
  // Port window: reads decode offsets 0-15, writes 0-7.
  uint16_t RegUD(uint32_t offset, VBool isByte);
  void RegUD(uint32_t offset, VBool isByte, uint16_t data);

  // True from a guest selection until Init: drops are refused meanwhile.
  VBool InUse() const { return inUse_; }
  VBool FileOpen() const { return dropFile_ != nullptr; }
  // Empty the list and release the zone.
  void Init();
  // True when an entry 1..DropCount has exactly this guest name.
  bool FileInList(const std::string& guestName) const;

  // Port operations behind the registers.
  uint8_t ReadINP();
  uint8_t StatusINP();
  void ControlInp(uint8_t value);
  void ControlOUT(uint8_t value);
  uint8_t StatusOut();
  void WriteOUT(uint8_t value);

 private:
  void OpenDropFile();
  void CloseDropFile();
  uint8_t ReadDropByte();
  uint8_t DropFileStatus();
  uint8_t NextNameChar(const std::string& text, uint32_t& position);
  int32_t SelectedSize() const;

  std::FILE* dropFile_ = nullptr;
  VBool inUse_ = False;
  uint16_t selected_ = 0;
  uint32_t hostPos_ = 1;
  uint32_t guestPos_ = 1;
  bool dropError_ = false;
  std::string hostBytes_;  // the selected host path as the guest reads it
};

extern classDropzone Dropzone;

// Guest names for the CP/M formats (1-4) and VersaDOS (5). Make* builds the
// fixed-width name and tells whether the host name was valid as it stands;
// Ask* proposes it and asks for a valid one until given or skipped (an empty
// result); Check* makes it unique within the list (empty when skipped).
bool MakeCpmName(std::string& out, const std::string& name);
bool MakeVdosName(std::string& out, const std::string& name);
std::string AskCpmName(const std::string& hostPath);
std::string AskVdosName(const std::string& hostPath);
std::string CheckCpmDropName(const std::string& name);
std::string CheckVdosDropName(const std::string& name);

}  // namespace korva
