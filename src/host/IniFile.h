// The text of a settings file: sections of "key=value" lines, as a user would
// write them by hand. No section name is special, values are plain text (a
// backslash is just a backslash), blanks around names and values are ignored and
// ";" or "#" starts a comment line. A value that would not survive that (leading
// or trailing blanks, line breaks, a leading double quote) is written between
// double quotes with \" \\ \n \r \t escapes.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace korva {

struct IniEntry {
  std::string Section;
  std::string Key;
  std::string Value;
};

// Entries in file order. Lines outside any section, lines without "=" and lines
// with an empty key are skipped; of two entries with the same section and key
// (compared without regard to case) the first counts.
std::vector<IniEntry> ParseIni(std::string_view text);
// One "[Section]" block per section in order of first appearance, a blank line
// between blocks, LF line ends.
std::string SerializeIni(const std::vector<IniEntry>& entries);

}  // namespace korva
