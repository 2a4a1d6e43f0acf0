// CRT function key definition (.fky) files of any shape: a load takes the whole file or changes nothing.
#include "FuzzFile.h"
#include "terminal/CrtDefinition.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korva;
  ResetCrtDefinitions();
  const std::string& path = fuzz::WriteNewScratch(data, size);
  LoadFunctionKeysFile(path, 0);
  return 0;
}
