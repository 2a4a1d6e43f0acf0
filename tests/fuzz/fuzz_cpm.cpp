// CP/M-68K command files of any shape: into memory and into the ROM image.
#include "FuzzFile.h"
#include "bus/Loaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korva;
  fuzz::PlainRamMap();
  const std::string& path = fuzz::WriteScratch(data, size);
  for (VBool toRom : {False, True}) {
    const VBool loaded = LoadCpmCommandFile(path, toRom);
    fuzz::CheckFaultFlagsClear();
    if (loaded && (LoadStartValid != True || LoadStartAddress > 0xFFFFFF)) std::abort();
  }
  return 0;
}
