// Host files opened by number for the disk images: positioned reads and writes
// (pread/pwrite), the length, and a flush when the file is closed. Numbers run
// from 1 to 255; 0 means "no file".
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace korva {

// A failed host operation: the host's error number and its description.
struct HostError {
  int32_t Number = 0;
  std::string Description;
};

// The error number that stands for "the host refused this access" (permissions,
// a read-only file system): a file that cannot be opened for writing.
constexpr int32_t PathFileAccessError = 75;
// A read that met the end of the file before the whole range was read.
constexpr int32_t ReadPastEndError = 62;

constexpr int16_t MaxHostFiles = 255;

// The lowest unused file number, or 0 when all are in use.
int16_t FreeFile();
// Opens path as a byte file for reading, or for reading and writing. On failure
// err holds the host's error; a refused access gives PathFileAccessError.
bool OpenHostFile(int16_t number, const std::string& path, bool writable, HostError& err);
// Writes out what the host still holds and closes the file. Nothing when not open.
void CloseHostFile(int16_t number);
bool IsHostFileOpen(int16_t number);
// The file's length in bytes, or -1 with err set.
int64_t HostFileLength(int16_t number, HostError& err);
// Reads len bytes at offset; a range that ends past the end of the file fails
// (ReadPastEndError) and buf holds what could be read.
bool ReadHostFile(int16_t number, int64_t offset, void* buf, size_t len, HostError& err);
// As ReadHostFile, but bytes past the end of the file read as 0 and are no error.
bool ReadHostFileZeroFill(int16_t number, int64_t offset, void* buf, size_t len, HostError& err);
bool WriteHostFile(int16_t number, int64_t offset, const void* buf, size_t len, HostError& err);
// Hands the written data to the disk (fsync).
bool FlushHostFile(int16_t number);

// Tests only: when set, called before every open; a non-zero result is taken as the
// host's errno for that open (for example EACCES for the writable open of a file).
extern int (*HostFileOpenFault)(const std::string& path, bool writable);

}  // namespace korva
