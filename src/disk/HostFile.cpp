#include "disk/HostFile.h"
#include <sys/stat.h>
#include <unistd.h>
#include <array>
#include <cerrno>
#include <cstring>
#include "host/UserFiles.h"

namespace korva {

int (*HostFileOpenFault)(const std::string& path, bool writable) = nullptr;

namespace {

struct OpenFile {
  int Fd = -1;
  bool Writable = false;
  bool Dirty = false;  // written since the last flush
};

// Every file still open at program exit is flushed and closed.
struct FileTable {
  std::array<OpenFile, MaxHostFiles + 1> Files{};
  ~FileTable() {
    for (int16_t n = 1; n <= MaxHostFiles; ++n) CloseHostFile(n);
  }
};
FileTable Table;

OpenFile* Lookup(int16_t number) {
  if (number < 1 || number > MaxHostFiles || Table.Files[number].Fd < 0) return nullptr;
  return &Table.Files[number];
}

void SetError(HostError& err, int number) {
  err.Number = number;
  err.Description = std::strerror(number);
}

bool NotOpen(HostError& err) {
  err.Number = EBADF;
  err.Description = "Bad file name or number";
  return false;
}

// Reads what the file holds of [offset, offset + len); returns the byte count, or -1.
int64_t ReadAvailable(int fd, int64_t offset, uint8_t* buf, size_t len, HostError& err) {
  size_t done = 0;
  while (done < len) {
    const ssize_t n = pread(fd, buf + done, len - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (n < 0) {
      if (errno == EINTR) continue;
      SetError(err, errno);
      return -1;
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<int64_t>(done);
}

}  // namespace

int16_t FreeFile() {
  for (int16_t n = 1; n <= MaxHostFiles; ++n)
    if (Table.Files[n].Fd < 0) return n;
  return 0;
}

bool OpenHostFile(int16_t number, const std::string& path, bool writable, HostError& err) {
  if (number < 1 || number > MaxHostFiles || Table.Files[number].Fd >= 0) {
    err.Number = 55;
    err.Description = "File already open";
    return false;
  }
  // Only a regular file: a FIFO, a character or a block device is refused
  // unopened, with the reason, so that nothing hangs in the open and no device
  // is read or written as an image.
  OpenedFile opened;
  if (const int fault = HostFileOpenFault ? HostFileOpenFault(path, writable) : 0)
    opened.Problem = SystemFileProblem(fault);
  else
    opened = OpenUserFile(path, writable);
  if (opened.Fd < 0) {
    const FileProblem problem = opened.Problem.value_or(SystemFileProblem(ENOENT));
    err.Number = problem.Number;
    err.Description = problem.Reason;
    if (err.Number == EACCES || err.Number == EPERM || err.Number == EROFS || err.Number == ETXTBSY)
      err.Number = PathFileAccessError;
    return false;
  }
  const int fd = opened.Fd;
  Table.Files[number] = OpenFile{fd, writable};
  return true;
}

void CloseHostFile(int16_t number) {
  OpenFile* f = Lookup(number);
  if (!f) return;
  if (f->Dirty) fsync(f->Fd);
  close(f->Fd);
  *f = OpenFile{};
}

bool IsHostFileOpen(int16_t number) { return Lookup(number) != nullptr; }

int64_t HostFileLength(int16_t number, HostError& err) {
  OpenFile* f = Lookup(number);
  if (!f) return NotOpen(err), -1;
  struct stat st {};
  if (fstat(f->Fd, &st) != 0) {
    SetError(err, errno);
    return -1;
  }
  return static_cast<int64_t>(st.st_size);
}

bool ReadHostFile(int16_t number, int64_t offset, void* buf, size_t len, HostError& err) {
  OpenFile* f = Lookup(number);
  if (!f) return NotOpen(err);
  if (offset < 0) return SetError(err, EINVAL), false;
  const int64_t n = ReadAvailable(f->Fd, offset, static_cast<uint8_t*>(buf), len, err);
  if (n < 0) return false;
  if (static_cast<size_t>(n) < len) {
    err.Number = ReadPastEndError;
    err.Description = "Input past end of file";
    return false;
  }
  return true;
}

bool ReadHostFileZeroFill(int16_t number, int64_t offset, void* buf, size_t len, HostError& err) {
  OpenFile* f = Lookup(number);
  if (!f) return NotOpen(err);
  if (offset < 0) return SetError(err, EINVAL), false;
  const int64_t n = ReadAvailable(f->Fd, offset, static_cast<uint8_t*>(buf), len, err);
  if (n < 0) return false;
  std::memset(static_cast<uint8_t*>(buf) + n, 0, len - static_cast<size_t>(n));
  return true;
}

bool WriteHostFile(int16_t number, int64_t offset, const void* buf, size_t len, HostError& err) {
  OpenFile* f = Lookup(number);
  if (!f) return NotOpen(err);
  if (!f->Writable) return SetError(err, EBADF), false;
  if (offset < 0) return SetError(err, EINVAL), false;
  const auto* p = static_cast<const uint8_t*>(buf);
  f->Dirty = true;
  size_t done = 0;
  while (done < len) {
    const ssize_t n = pwrite(f->Fd, p + done, len - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (n < 0) {
      if (errno == EINTR) continue;
      SetError(err, errno);
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool FlushHostFile(int16_t number) {
  OpenFile* f = Lookup(number);
  if (!f) return false;
  if (!f->Dirty) return true;
  f->Dirty = false;
  return fsync(f->Fd) == 0;
}

}  // namespace korva
