#include "host/UserFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace korva {

namespace {

FileProblem Refusal(const char* why) { return {RefusedFileError, why}; }

constexpr char kNotRegular[] = "it is not a regular file";
constexpr char kReadOnly[] = "the file is read-only";

// A file without write permission is kept as its owner made it, even from a
// user (root) whom the system would let write it.
bool ReadOnly(const std::string& path, const struct stat& st) {
  return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// Closes a descriptor when it goes out of scope.
struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

int WriteAllBytes(int fd, const void* data, size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno ? errno : EIO;
    if (n == 0) return EIO;
    done += static_cast<size_t>(n);
  }
  return 0;
}

FileProblem SystemFileProblem(int err) {
  if (!err) err = EIO;
  return {err, std::strerror(err)};
}

OpenedFile OpenUserFile(const std::string& path, bool forWriting) {
  OpenedFile f;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    // Nothing there, or nothing that could be there.
    const int err = errno;
    f.Missing = err == ENOENT || err == ENOTDIR || err == ENAMETOOLONG;
    f.Problem = SystemFileProblem(err);
    return f;
  }
  // A FIFO would block the open, a device would feed endless bytes (and its
  // open alone may act on the device), a folder holds no bytes at all: none of
  // them is opened.
  if (!S_ISREG(st.st_mode)) {
    f.Problem = Refusal(kNotRegular);
    return f;
  }
  Fd file;
  file.fd = ::open(path.c_str(), (forWriting ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (file.fd < 0) {
    f.Problem = SystemFileProblem(errno);
    return f;
  }
  // The name may have been given to something else since the look above.
  if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    f.Problem = Refusal(kNotRegular);
    return f;
  }
  // O_NONBLOCK only guarded the open: a regular file's reads never wait.
  const int flags = ::fcntl(file.fd, F_GETFL);
  if (flags >= 0) (void)::fcntl(file.fd, F_SETFL, flags & ~O_NONBLOCK);
  f.Fd = file.fd;
  file.fd = -1;
  return f;
}

FileRead ReadUserFile(const std::string& path, size_t maxBytes) {
  FileRead r;
  const OpenedFile opened = OpenUserFile(path);
  if (opened.Fd < 0) {
    r.Missing = opened.Missing;
    if (!r.Missing) r.Problem = opened.Problem;
    return r;
  }
  Fd in;
  in.fd = opened.Fd;
  struct stat st {};
  if (::fstat(in.fd, &st) != 0) st.st_size = 0;
  if (st.st_size > 0) r.Bytes.reserve(std::min(static_cast<size_t>(st.st_size), std::min<size_t>(maxBytes, 1 << 24)));
  char buffer[65536];
  for (;;) {
    // Once the limit is reached, one byte more tells a longer file.
    const size_t room = maxBytes - r.Bytes.size();
    const size_t want = room == 0 ? 1 : std::min(sizeof buffer, room);
    const ssize_t n = ::read(in.fd, buffer, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      r.Problem = SystemFileProblem(errno);
      r.Bytes.clear();
      return r;
    }
    if (n == 0) break;
    const size_t keep = std::min(static_cast<size_t>(n), maxBytes - r.Bytes.size());
    r.Bytes.append(buffer, keep);
    if (keep < static_cast<size_t>(n)) {
      r.Longer = true;
      break;
    }
  }
  return r;
}

int CreateFileBeside(const std::string& path, std::string& temp) {
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  static std::atomic<unsigned> serial{0};
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = dir + "/." + name.substr(0, 200) + "." + std::to_string(::getpid()) + "." + std::to_string(serial++);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  return fd;
}

std::optional<FileProblem> ReplaceUserFile(const std::string& path, const void* data, size_t size,
                                           const ReplaceFaults& faults) {
  // Where the bytes go: the path itself, or the regular file a link leads to
  // (the link stays). Nothing but a regular file, or nothing at all, is replaced.
  std::string target = path;
  struct stat st {};
  bool exists = true;
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno != ENOENT) return SystemFileProblem(errno);
    exists = false;
  } else if (S_ISLNK(st.st_mode)) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return errno == ENOENT ? Refusal("it is a link to nothing") : SystemFileProblem(errno);
    target = real;
    std::free(real);
    if (::stat(target.c_str(), &st) != 0) return SystemFileProblem(errno);
  }
  if (exists) {
    if (!S_ISREG(st.st_mode)) return Refusal(kNotRegular);
    if (ReadOnly(target, st)) return Refusal(kReadOnly);
  }

  // The new bytes beside the target, in a name of their own.
  Fd out;
  std::string temp;
  out.fd = CreateFileBeside(target, temp);
  if (out.fd < 0) return SystemFileProblem(errno);
  int err = 0;
  if (exists) {
    if (::fchmod(out.fd, st.st_mode & 07777) != 0) err = errno;
    if (!err && (st.st_uid != ::geteuid() || st.st_gid != ::getegid()))
      (void)!::fchown(out.fd, st.st_uid, st.st_gid);  // best effort: only root may give a file away
  }
  if (!err) {
    size_t n = size;
    if (faults.FailAfter >= 0 && static_cast<uint64_t>(faults.FailAfter) < size) n = static_cast<size_t>(faults.FailAfter);
    err = WriteAllBytes(out.fd, data, n);
    if (!err && n < size) err = EIO;
  }
  if (!err && ::fsync(out.fd) != 0) err = errno;
  if (!err) {
    const int fd = out.fd;
    out.fd = -1;
    if (::close(fd) != 0) err = errno;
  }
  if (!err && faults.InPlaceOfRename) err = faults.InPlaceOfRename;
  if (!err && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
  if (err) {
    ::unlink(temp.c_str());
    return SystemFileProblem(err);
  }
  return std::nullopt;
}

std::optional<FileProblem> NewFileRefused(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? std::nullopt : std::optional(SystemFileProblem(errno));
  if (S_ISLNK(st.st_mode)) return std::nullopt;
  if (!S_ISREG(st.st_mode)) return Refusal(kNotRegular);
  if (ReadOnly(path, st)) return Refusal(kReadOnly);
  return std::nullopt;
}

NewFile CreateUserFile(const std::string& path, const std::function<bool()>& remove) {
  NewFile f;
  if (auto refused = NewFileRefused(path)) {
    f.Problem = std::move(refused);
    return f;
  }
  struct stat st {};
  bool keepMode = false;
  if (::lstat(path.c_str(), &st) == 0) {
    keepMode = S_ISREG(st.st_mode);
    if (!remove()) return f;
  }
  // Only a new file: should anything have come back to the name, the open fails.
  f.Fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (f.Fd < 0) {
    f.Problem = SystemFileProblem(errno);
    return f;
  }
  if (keepMode) {
    (void)::fchmod(f.Fd, st.st_mode & 07777);
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) (void)!::fchown(f.Fd, st.st_uid, st.st_gid);
  }
  return f;
}

}  // namespace korva
