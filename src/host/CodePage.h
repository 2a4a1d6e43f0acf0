// The machine's texts are bytes in the Windows-1252 code page; the desktop speaks
// UTF-8. These convert at the boundary between the two.
#pragma once
#include <string>
#include <string_view>

namespace korva {

std::string Cp1252ToUtf8(std::string_view text);
// Characters without a Windows-1252 byte, and malformed UTF-8, become "?".
std::string Utf8ToCp1252(std::string_view text);

// ASCII case-insensitive comparison (section and key names of the settings).
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace korva
