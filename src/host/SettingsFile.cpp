#include "host/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace korva {

namespace {

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string ErrorText(int err) { return std::strerror(err ? err : EIO); }

// Closes a descriptor when it goes out of scope.
struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) { Load(); }

void SettingsFile::Load() {
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0) {
    // Nothing there, or nothing that could be there: a first run on defaults.
    // A dangling link is not written through either (see Write).
    if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG) return;
    refused_ = true;
    loadProblem_ = ErrorText(errno);
    return;
  }
  // A FIFO would block the open, a device would feed it endless bytes; a folder
  // or such is no settings text. None of them is opened.
  if (!S_ISREG(st.st_mode)) {
    refused_ = true;
    loadProblem_ = "it is not a regular file";
    return;
  }
  Fd in;
  in.fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (in.fd < 0 || ::fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    refused_ = true;
    loadProblem_ = in.fd < 0 ? ErrorText(errno) : "it is not a regular file";
    return;
  }
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(in.fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      refused_ = true;
      loadProblem_ = ErrorText(errno);
      return;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  for (IniEntry& e : ParseIni(text)) {
    const std::string lower = LowerCase(e.Section);
    auto [it, added] = sectionIndex_.try_emplace(lower, sections_.size());
    if (added) sections_.push_back({e.Section, {}, {}});
    Section& s = sections_[it->second];
    // ParseIni drops repeated keys of a section; sections spelled in two cases merge here.
    if (s.Keys.try_emplace(LowerCase(e.Key), s.Entries.size()).second) s.Entries.push_back(std::move(e));
  }
}

const std::string* SettingsFile::Find(const std::string& section, const std::string& key) const {
  const auto s = sectionIndex_.find(LowerCase(section));
  if (s == sectionIndex_.end()) return nullptr;
  const Section& sec = sections_[s->second];
  const auto k = sec.Keys.find(LowerCase(key));
  return k == sec.Keys.end() ? nullptr : &sec.Entries[k->second].Value;
}

void SettingsFile::Set(const std::string& section, const std::string& key, const std::string& value) {
  auto [s, addedSection] = sectionIndex_.try_emplace(LowerCase(section), sections_.size());
  if (addedSection) sections_.push_back({section, {}, {}});
  Section& sec = sections_[s->second];
  auto [k, addedKey] = sec.Keys.try_emplace(LowerCase(key), sec.Entries.size());
  if (addedKey) {
    sec.Entries.push_back({sec.Name, key, value});
  } else {
    std::string& stored = sec.Entries[k->second].Value;
    if (stored == value) return;
    stored = value;
  }
  dirty_ = true;
}

std::string SettingsFile::Text() const {
  std::vector<IniEntry> entries;
  for (const Section& s : sections_)
    for (const IniEntry& e : s.Entries) entries.push_back({s.Name, e.Key, e.Value});
  return SerializeIni(entries);
}

bool SettingsFile::Fail(const std::string& why) {
  saveProblem_ = why;
  return false;
}

bool SettingsFile::Write() {
  if (!dirty_) return true;
  if (refused_) return false;  // the load said why; the file stays as it is

  // Where the text goes: the path itself, or the regular file a link leads to
  // (the link stays). Nothing but a regular file, or nothing at all, is replaced.
  std::string target = path_;
  struct stat st {};
  bool exists = true;
  if (::lstat(path_.c_str(), &st) != 0) {
    if (errno != ENOENT) return Fail(ErrorText(errno));
    exists = false;
  } else if (S_ISLNK(st.st_mode)) {
    char* real = ::realpath(path_.c_str(), nullptr);
    if (!real) return Fail(errno == ENOENT ? "it is a link to nothing" : ErrorText(errno));
    target = real;
    std::free(real);
    if (::stat(target.c_str(), &st) != 0) return Fail(ErrorText(errno));
  }
  if (exists) {
    if (!S_ISREG(st.st_mode)) return Fail("it is not a regular file");
    // A file without write permission is kept as its owner made it, even by a
    // user (root) whom the system would let write it.
    if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) return Fail("the file is read-only");
  }

  // The new text beside the target, in a name of its own.
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
  if (out.fd < 0) return Fail(ErrorText(errno));
  int err = 0;
  if (exists) {
    if (::fchmod(out.fd, st.st_mode & 07777) != 0) err = errno;
    if (!err && (st.st_uid != ::geteuid() || st.st_gid != ::getegid()))
      (void)!::fchown(out.fd, st.st_uid, st.st_gid);  // best effort: only root may give a file away
  }
  const std::string text = Text();
  if (!err && !WriteAll(out.fd, text)) err = errno;
  if (!err && ::fsync(out.fd) != 0) err = errno;
  if (!err) {
    const int fd = out.fd;
    out.fd = -1;
    if (::close(fd) != 0) err = errno;
  }
  if (!err && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
  if (err) {
    ::unlink(temp.c_str());
    return Fail(ErrorText(err));
  }
  dirty_ = false;
  saveProblem_.clear();
  return true;
}

}  // namespace korva
