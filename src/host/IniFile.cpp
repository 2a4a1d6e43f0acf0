#include "host/IniFile.h"

#include <set>
#include <unordered_map>


namespace korva {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string Unquote(std::string_view v) {
  if (v.size() < 2 || v.front() != '"' || v.back() != '"') return std::string(v);
  std::string out;
  const std::string_view inner = v.substr(1, v.size() - 2);
  for (size_t i = 0; i < inner.size(); ++i) {
    const char c = inner[i];
    if (c != '\\' || i + 1 == inner.size()) {
      out += c;
      continue;
    }
    const char e = inner[++i];
    switch (e) {
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case '\\': case '"': out += e; break;
      default: out += '\\', out += e; break;
    }
  }
  return out;
}

bool NeedsQuotes(const std::string& v) {
  if (v.empty()) return false;
  if (IsBlank(v.front()) || IsBlank(v.back()) || v.front() == '"') return true;
  for (char c : v)
    if (c == '\n' || c == '\r') return true;
  return false;
}

std::string Quote(const std::string& v) {
  std::string out = "\"";
  for (char c : v) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      default: out += c; break;
    }
  }
  return out + "\"";
}

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Names cannot hold the characters that would end them or change the line's kind
// (a carriage return inside a line is just a character).
std::string CleanName(std::string_view name, bool isSection) {
  std::string out(Trim(name));
  for (char& c : out)
    if (c == '\n' || (isSection ? c == ']' : c == '=')) c = '_';
  if (!isSection && !out.empty() && (out.front() == '[' || out.front() == ';' || out.front() == '#')) out.front() = '_';
  return out;
}

}  // namespace

std::vector<IniEntry> ParseIni(std::string_view text) {
  std::vector<IniEntry> entries;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // UTF-8 byte-order mark
  std::string section;
  bool inSection = false;
  std::set<std::string> seen;  // section and key, lower case
  while (!text.empty()) {
    const size_t eol = text.find('\n');
    const std::string_view line = Trim(text.substr(0, eol));
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const size_t close = line.find(']');
      if (close == std::string_view::npos) continue;
      section = std::string(Trim(line.substr(1, close - 1)));
      inSection = true;
      continue;
    }
    const size_t eq = line.find('=');
    if (!inSection || eq == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, eq));
    if (key.empty()) continue;
    if (!seen.insert(LowerCase(section) + '\n' + LowerCase(key)).second) continue;
    entries.push_back({section, std::string(key), Unquote(Trim(line.substr(eq + 1)))});
  }
  return entries;
}

std::string SerializeIni(const std::vector<IniEntry>& entries) {
  // Entries grouped by section in one pass: a file of many sections is written
  // in time proportional to its size.
  std::vector<std::vector<const IniEntry*>> groups;
  std::unordered_map<std::string_view, size_t> index;
  for (const IniEntry& e : entries) {
    const auto [it, added] = index.try_emplace(e.Section, groups.size());
    if (added) groups.emplace_back();
    groups[it->second].push_back(&e);
  }
  std::string out;
  for (const auto& group : groups) {
    if (!out.empty()) out += '\n';
    out += "[" + CleanName(group.front()->Section, true) + "]\n";
    for (const IniEntry* e : group)
      out += CleanName(e->Key, false) + "=" + (NeedsQuotes(e->Value) ? Quote(e->Value) : e->Value) + "\n";
  }
  return out;
}

}  // namespace korva
