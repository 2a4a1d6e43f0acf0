// CRT function key definition (.fky) files of any shape: a load takes the whole file or changes nothing.
#include "FuzzFile.h"
#include "terminal/CrtDefinition.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korva;
  ResetCrtDefinitions();
  // A new file each time: rewriting one in place makes the file system flush it at every close.
  unlink(fuzz::ScratchFile().c_str());
  const std::string& path = fuzz::WriteScratch(data, size);
  LoadFunctionKeysFile(path, 0);
  return 0;
}
