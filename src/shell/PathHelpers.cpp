#include "shell/PathHelpers.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/CodePage.h"
#include "host/Host.h"

namespace korva {

namespace {

// Index of the name's first character.
size_t NameStart(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

// Index of the extension's ".", or npos when the name has no extension.
size_t ExtensionDot(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot <= NameStart(path)) return std::string::npos;
  return dot;
}

std::string ErrorText(int error) { return Utf8ToCp1252(std::strerror(error)); }

}  // namespace

std::string FileNameOf(const std::string& path) { return path.substr(NameStart(path)); }

std::string ExtensionOf(const std::string& path) {
  const size_t dot = ExtensionDot(path);
  return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string BaseNameOf(const std::string& path) {
  const size_t start = NameStart(path), dot = ExtensionDot(path);
  return path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
}

int32_t GetFileSize(const std::string& path) {
  struct stat st {};
  int error = 0;
  if (stat(path.c_str(), &st) != 0)
    error = errno;
  else if (S_ISDIR(st.st_mode))
    error = EISDIR;
  else if (st.st_size > INT32_MAX)
    error = EFBIG;
  if (error == 0) return static_cast<int32_t>(st.st_size);
  Host().MessageBox(GeneratedErrorText(error, ErrorText(error), "\r\n"),
                    "Error Getting File Size", MsgButtons::OK, MsgIcon::None);
  return -1;
}

VBool DeleteFileChecked(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return True;  // nothing to delete
  if (std::remove(path.c_str()) == 0) return True;
  const int error = errno;
  Host().MessageBox(" Error number " + std::to_string(error) + "\r\n\r\n " + ErrorText(error) + "\r\n\r\n File = " +
                        Utf8ToCp1252(path) + "\r\n\r\nProbably Spaces in file/path - delete manually (bug in KILL)",
                    " Error Deleting file", MsgButtons::OK, MsgIcon::None);
  return False;
}

}  // namespace korva
