// VersaDOS load modules of any shape: into memory and into the ROM image.
// An input starting with 'V' is the whole file; any other input is the load
// table and data behind a plain header of LIB format (first byte AND 1), so
// that the table and the loading are reached without first finding the header.
#include <vector>
#include "FuzzFile.h"
#include "bus/Loaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korva;
  fuzz::PlainRamMap();
  std::vector<uint8_t> file;
  if (size > 0 && data[0] == 'V') {
    file.assign(data + 1, data + size);
  } else {
    file.assign(176, 0);
    if (size > 0) {
      file[32] = data[0] & 1;
      file.insert(file.end(), data + 1, data + size);
    }
  }
  const std::string& path = fuzz::WriteScratch(file.data(), file.size());
  for (VBool toRom : {False, True}) {
    const VBool loaded = LoadVersadosLoadModule(path, toRom);
    fuzz::CheckFaultFlagsClear();
    // A module loads only when its whole header and every loaded byte were there.
    if (loaded && file.size() < 256) std::abort();
  }
  return 0;
}
