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

FileProblem SystemProblem(int err) {
  if (!err) err = EIO;
  return {err, std::strerror(err)};
}

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

FileRead ReadUserFile(const std::string& path, size_t maxBytes) {
  FileRead r;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    // Nothing there, or nothing that could be there.
    if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG)
      r.Missing = true;
    else
      r.Problem = SystemProblem(errno);
    return r;
  }
  // A FIFO would block the open, a device would feed endless bytes, a folder
  // holds no bytes at all: none of them is opened.
  if (!S_ISREG(st.st_mode)) {
    r.Problem = Refusal(kNotRegular);
    return r;
  }
  Fd in;
  in.fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (in.fd < 0) {
    r.Problem = SystemProblem(errno);
    return r;
  }
  // The name may have been given to something else since the look above.
  if (::fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    r.Problem = Refusal(kNotRegular);
    return r;
  }
  if (st.st_size > 0) r.Bytes.reserve(std::min(static_cast<size_t>(st.st_size), std::min<size_t>(maxBytes, 1 << 24)));
  char buffer[65536];
  for (;;) {
    // Once the limit is reached, one byte more tells a longer file.
    const size_t room = maxBytes - r.Bytes.size();
    const size_t want = room == 0 ? 1 : std::min(sizeof buffer, room);
    const ssize_t n = ::read(in.fd, buffer, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      r.Problem = SystemProblem(errno);
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

std::optional<FileProblem> ReplaceUserFile(const std::string& path, const void* data, size_t size,
                                           const ReplaceFaults& faults) {
  // Where the bytes go: the path itself, or the regular file a link leads to
  // (the link stays). Nothing but a regular file, or nothing at all, is replaced.
  std::string target = path;
  struct stat st {};
  bool exists = true;
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno != ENOENT) return SystemProblem(errno);
    exists = false;
  } else if (S_ISLNK(st.st_mode)) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return errno == ENOENT ? Refusal("it is a link to nothing") : SystemProblem(errno);
    target = real;
    std::free(real);
    if (::stat(target.c_str(), &st) != 0) return SystemProblem(errno);
  }
  if (exists) {
    if (!S_ISREG(st.st_mode)) return Refusal(kNotRegular);
    if (ReadOnly(target, st)) return Refusal(kReadOnly);
  }

  // The new bytes beside the target, in a name of their own.
  const size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash == 0 ? 1 : slash);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  static std::atomic<unsigned> serial{0};
  Fd out;
  std::string temp;
  for (int attempt = 0; attempt < 100 && out.fd < 0; ++attempt) {
    temp = dir + "/." + name.substr(0, 200) + "." + std::to_string(::getpid()) + "." + std::to_string(serial++);
    out.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (out.fd < 0 && errno != EEXIST) break;
  }
  if (out.fd < 0) return SystemProblem(errno);
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
    return SystemProblem(err);
  }
  return std::nullopt;
}

NewFile CreateUserFile(const std::string& path, const std::function<bool()>& remove) {
  NewFile f;
  struct stat st {};
  bool keepMode = false;
  if (::lstat(path.c_str(), &st) == 0) {
    if (S_ISREG(st.st_mode)) {
      if (ReadOnly(path, st)) {
        f.Problem = Refusal(kReadOnly);
        return f;
      }
      keepMode = true;
    } else if (!S_ISLNK(st.st_mode)) {
      f.Problem = Refusal(kNotRegular);
      return f;
    }
    if (!remove()) return f;
  } else if (errno != ENOENT) {
    f.Problem = SystemProblem(errno);
    return f;
  }
  // Only a new file: should anything have come back to the name, the open fails.
  f.Fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (f.Fd < 0) {
    f.Problem = SystemProblem(errno);
    return f;
  }
  if (keepMode) {
    (void)::fchmod(f.Fd, st.st_mode & 07777);
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) (void)!::fchown(f.Fd, st.st_uid, st.st_gid);
  }
  return f;
}

}  // namespace korva
