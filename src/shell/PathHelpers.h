// Host path helpers shared by the windows: the parts of a path, a file's length
// and deleting a file with a report. Paths are host paths: "/" separates the
// folders.
#pragma once
#include <cstdint>
#include <string>

#include "tables/Types.h"

namespace korva {

// The name after the last "/" (the whole text when there is none).
std::string FileNameOf(const std::string& path);
// The text after the name's last "."; empty when the name has none or starts
// with its only "." (".rc" has no extension).
std::string ExtensionOf(const std::string& path);
// The name without its extension and its last ".".
std::string BaseNameOf(const std::string& path);

// The file's length in bytes; -1 when it cannot be read or does not fit 31 bits,
// after a box titled "Error Getting File Size".
int32_t GetFileSize(const std::string& path);
// Deletes the file when it exists: True when it is gone (also when there was
// nothing to delete); False after a box titled " Error Deleting file".
VBool DeleteFileChecked(const std::string& path);

}  // namespace korva
