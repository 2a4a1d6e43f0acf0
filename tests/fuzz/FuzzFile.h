// Shared by the loader fuzz targets: the loaders read host files, so every input
// is written to one scratch file first; memory is one plain RAM map, so that
// writes anywhere reach no device.
#pragma once
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bus/BusState.h"
#include "bus/Memory.h"

namespace korva::fuzz {

inline const std::string& ScratchFile() {
  static std::string path;
  if (path.empty()) {
    char name[] = "/tmp/korva-fuzz-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) std::abort();
    close(fd);
    path = name;
    std::atexit([] { unlink(ScratchFile().c_str()); });
  }
  return path;
}

inline const std::string& WriteScratch(const uint8_t* data, size_t size) {
  const std::string& path = ScratchFile();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
  return path;
}

// The same in a new file each time, for loaders that read many small files:
// rewriting one in place makes the file system flush it at every close.
inline const std::string& WriteNewScratch(const uint8_t* data, size_t size) {
  unlink(ScratchFile().c_str());
  return WriteScratch(data, size);
}

inline void PlainRamMap() {
  static bool done = false;
  if (done) return;
  for (auto& c : RamArray) c = MemoryCell{0, DcRam, 0};
  done = true;
}

// The loaders must leave the bus fault flags as they were.
inline void CheckFaultFlagsClear() {
  if (FaultFlag || BusErrorFlag || AddressErrorFlag || MmuFaultFlag) std::abort();
}

}  // namespace korva::fuzz
