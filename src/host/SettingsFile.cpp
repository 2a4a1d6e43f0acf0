#include "host/SettingsFile.h"

#include <cstdint>

#include "host/UserFiles.h"

namespace korva {

namespace {

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

}  // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) { Load(); }

void SettingsFile::Load() {
  // Nothing there is a first run on defaults. A dangling link is not written
  // through either (see Write).
  FileRead file = ReadUserFile(path_, SIZE_MAX);
  if (file.Missing) return;
  if (file.Problem) {
    refused_ = true;
    loadProblem_ = file.Problem->Reason;
    return;
  }
  for (IniEntry& e : ParseIni(file.Bytes)) {
    const std::string lower = LowerCase(e.Section);
    auto [it, added] = sectionIndex_.try_emplace(lower, sections_.size());
    if (added) sections_.push_back({e.Section, {}, {}});
    Section& s = sections_[it->second];
    // ParseIni drops repeated keys of a section; sections spelled in two cases merge here.
    if (s.Keys.try_emplace(LowerCase(e.Key), s.Entries.size()).second) s.Entries.push_back(std::move(e));
  }
}

const std::string* SettingsFile::Find(const std::string& section, const std::string& key) const {
  const auto s = sectionIndex_.find(LowerCase(section));
  if (s == sectionIndex_.end()) return nullptr;
  const Section& sec = sections_[s->second];
  const auto k = sec.Keys.find(LowerCase(key));
  return k == sec.Keys.end() ? nullptr : &sec.Entries[k->second].Value;
}

void SettingsFile::Set(const std::string& section, const std::string& key, const std::string& value) {
  auto [s, addedSection] = sectionIndex_.try_emplace(LowerCase(section), sections_.size());
  if (addedSection) sections_.push_back({section, {}, {}});
  Section& sec = sections_[s->second];
  auto [k, addedKey] = sec.Keys.try_emplace(LowerCase(key), sec.Entries.size());
  if (addedKey) {
    sec.Entries.push_back({sec.Name, key, value});
  } else {
    std::string& stored = sec.Entries[k->second].Value;
    if (stored == value) return;
    stored = value;
  }
  dirty_ = true;
}

std::string SettingsFile::Text() const {
  std::vector<IniEntry> entries;
  for (const Section& s : sections_)
    for (const IniEntry& e : s.Entries) entries.push_back({s.Name, e.Key, e.Value});
  return SerializeIni(entries);
}

bool SettingsFile::Fail(const std::string& why) {
  saveProblem_ = why;
  return false;
}

bool SettingsFile::Write() {
  if (!dirty_) return true;
  if (refused_) return false;  // the load said why; the file stays as it is
  const std::string text = Text();
  if (const auto problem = ReplaceUserFile(path_, text.data(), text.size())) return Fail(problem->Reason);
  dirty_ = false;
  saveProblem_.clear();
  return true;
}

}  // namespace korva
