// The one open/save file dialog of the program: the caller names a file kind,
// which picks the filter list, the default extension and the title's word, and
// the dialog opens where a file of that kind was last chosen. The directories
// are remembered per kind in settings section "Paths".
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "tables/Types.h"

namespace korva {

// A file kind: a code compared in upper case ("kbd" is "KBD"). "DRV00".."DRV03"
// are the image files of drives 0-3; any other text is a kind of its own.
using FileKind = std::string;

// What the last dialog left behind, as callers read it after a choice.
struct CommonDialogState {
  std::string FileName;   // the chosen path
  std::string FileTitle;  // its name without the folder
  int32_t Flags = 0;      // the flags it was shown with; bit 0 set when the read-only box was ticked
  bool CancelError = false;
};
extern CommonDialogState CommonDialog1;

// The remembered directories of this run (each "" or a folder ending in "/").
struct PathsRecordState {
  std::string StartDirectory;                // where a kind without its own opens
  std::map<std::string, std::string> ByKey;  // per "Paths" key
  std::array<std::string, 4> Drive;          // per drive 0-3
};
extern PathsRecordState PathsRecord;

// Shows the dialog and returns the chosen file's full path, or "" after a cancel
// or a failure (a failure is reported in a box titled "Error").
//   fileName: the name shown at the start; op: "OPEN", "SAVE" or "SAVEAS" in any
//   case (any other op shows nothing and returns fileName); extraFlags: ORed into
//   the op's own FileDialogFlags; title: "Default" keeps the kind's word, any
//   other text replaces it.
std::string OpenSaveDialog(const std::string& fileName, const std::string& op, const FileKind& kind, int32_t extraFlags,
                           const std::string& title);

// The read-only box of the last dialog was ticked.
inline VBool DialogReadOnly() { return ToVBool(CommonDialog1.Flags & 1); }

}  // namespace korva
