// The files a user names (settings, terminal definitions, colours, printer
// pages, the print file), read and written under one set of rules:
//
// - A file is read only when its path leads, itself or through links, to a
//   regular file, and never beyond the most bytes its reader can use: a FIFO
//   would block the program in the open, a device would feed it endless bytes.
//   No open blocks. Readers that stream (the memory-image loaders, the
//   download and drop files, the IMD expander) and disk images, read and
//   written in place, open under the same rule.
// - A save writes the whole new content beside the file and renames it over
//   it, so a failed save leaves the old file as it was and no temporary behind.
//   It replaces only a regular file its owner left writable, or nothing; through
//   a link it replaces the link's regular target (the link stays). The file
//   keeps its mode and, where the system lets it, its owner.
// - A file made anew (the print file, the upload file, new disk images) takes
//   the place of a regular writable file or of a link (the link itself goes,
//   its target stays), never of a FIFO, device or folder.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace korva {

// Why a file was not read or written.
struct FileProblem {
  // The system's error number, or RefusedFileError when the file itself was refused.
  int Number = 0;
  // UTF-8: the system's text, or "it is not a regular file", "the file is
  // read-only", "it is a link to nothing".
  std::string Reason;
};

// The number a refusal carries: the one the boxes have always given a file
// that cannot be opened as asked ("Path/File access error").
constexpr int RefusedFileError = 75;

// The system's error number err (EIO for 0) with its text.
FileProblem SystemFileProblem(int err);

// A user's file open for reading, or for reading and writing in place.
struct OpenedFile {
  int Fd = -1;           // the caller closes it
  bool Missing = false;  // nothing has that name (a link to nothing included)
  std::optional<FileProblem> Problem;  // set whenever Fd is -1
};
// Opens the regular file path leads to; anything else is refused unopened.
OpenedFile OpenUserFile(const std::string& path, bool forWriting = false);

struct FileRead {
  bool Missing = false;  // nothing has that name (a link to nothing included)
  std::optional<FileProblem> Problem;
  std::string Bytes;    // the first bytes of the file, at most maxBytes
  bool Longer = false;  // the file holds more than maxBytes
};
FileRead ReadUserFile(const std::string& path, size_t maxBytes);

// Faults a test asks of one save.
struct ReplaceFaults {
  int64_t FailAfter = -1;   // bytes written before the write fails with EIO (-1: none)
  int InPlaceOfRename = 0;  // error number met, once the temporary is written, in place of the rename (0: none)
};

// Replaces the file at path (or the regular file a link at path leads to) with
// size bytes, or makes it when nothing is there.
std::optional<FileProblem> ReplaceUserFile(const std::string& path, const void* data, size_t size,
                                           const ReplaceFaults& faults = {});

// Why a new file may not take the place of what is at path; nothing when it
// may: nothing there, a regular file the user may write, or a link.
std::optional<FileProblem> NewFileRefused(const std::string& path);

// Makes a new, empty file in path's folder under a name of its own (never an
// existing name, never through a link), open for writing. Returns its
// descriptor and sets temp to its path, or returns -1 with errno set.
int CreateFileBeside(const std::string& path, std::string& temp);

// A new file open for writing.
struct NewFile {
  int Fd = -1;
  std::optional<FileProblem> Problem;  // neither a descriptor nor a problem: remove gave up
};
// Makes a new, empty regular file at path, open for writing. What is at path
// first goes through remove (the caller's delete, which says itself why it
// failed and then returns false): a regular file the user may write, whose mode
// the new file takes, or a link. Anything else is refused untouched.
NewFile CreateUserFile(const std::string& path, const std::function<bool()>& remove);

// Writes all size bytes to fd. Returns 0 or the error number.
int WriteAllBytes(int fd, const void* data, size_t size);

}  // namespace korva
