// Settings files are edited by hand: any text must parse, and what is written
// back must parse to the same entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "host/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto entries = korva::ParseIni(text);
  const auto again = korva::ParseIni(korva::SerializeIni(entries));
  if (again.size() != entries.size()) std::abort();
  return 0;
}
