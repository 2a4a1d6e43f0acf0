// The printer page as files: plain text (the page's bytes in Windows-1252, CR
// LF line ends) and rich text (RTF 1 with font and colour tables), and the
// save that writes a file beside its target and renames it over it, so that a
// failed save leaves the old file as it was.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "serial/PrinterPage.h"

namespace korva {

std::string PageAsText(const PrinterPage& page);
// extraFonts: names put in the font table even when no character uses them
// (the job font), after the fonts of the page.
std::string PageAsRtf(const PrinterPage& page, const std::vector<std::string>& extraFonts = {});

struct PrinterFileError {
  int32_t Number = 0;
  std::string Description;  // Windows-1252
};

// Writes bytes to a temporary file beside path, then renames it over path, or
// over the regular file a link at path leads to (the link stays); the file
// keeps its mode, and a read-only or non-regular target is refused
// (host/UserFiles.h). The error's description names the file.
std::optional<PrinterFileError> ReplaceFileWith(const std::string& path, const std::string& bytes);

// Tests: the next save fails with this error number once its temporary file
// is written, in place of the rename (0: none). Reset by every save.
extern int32_t PrinterSaveFailure;

}  // namespace korva
