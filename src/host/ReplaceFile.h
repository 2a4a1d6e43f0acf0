// The save that writes a new file beside its target and renames it over the
// target, so a failed save leaves the old file as it was.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace korva {

// Faults a test asks of one save.
struct ReplaceFaults {
  int64_t FailAfter = -1;  // bytes written before the write fails with EIO (-1: none)
  int InPlaceOfRename = 0;  // error number met, once the temporary is written, in place of the rename (0: none)
};

// Writes size bytes to a temporary in the target's folder (with the mode a plain
// create would give it), flushes it and renames it over path. Returns 0 or the
// error number; on an error the temporary is removed.
int ReplaceFileBytes(const std::string& path, const void* data, size_t size, const ReplaceFaults& faults = {});

}  // namespace korva
