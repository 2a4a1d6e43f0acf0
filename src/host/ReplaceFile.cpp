#include "host/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace korva {

int ReplaceFileBytes(const std::string& path, const void* data, size_t size, const ReplaceFaults& faults) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return errno;
  // The new file gets the mode a plain create would give it.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  int error = 0;
  size_t done = 0;
  while (done < size) {
    size_t n = size - done;
    if (faults.FailAfter >= 0) {
      if (done >= static_cast<size_t>(faults.FailAfter)) {
        error = EIO;
        break;
      }
      n = std::min(n, static_cast<size_t>(faults.FailAfter) - done);
    }
    const ssize_t w = write(fd, bytes + done, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    done += static_cast<size_t>(w);
  }
  if (!error && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && !error) error = errno;
  if (!error && faults.InPlaceOfRename) error = faults.InPlaceOfRename;
  if (!error && std::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error) unlink(temp.c_str());
  return error;
}

}  // namespace korva
