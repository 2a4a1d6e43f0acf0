// One profile's settings file, held in memory: read once, looked up by section
// and key through maps (names compared without regard to case, stored in the
// spelling first met), and written back whole only when a value changed.
//
// The file is the user's, read and written as every file the user names
// (host/UserFiles.h): it is read only when the path leads to a regular file,
// and written only over a regular, writable file or where nothing is. A new text
// is written beside the file and renamed over it when complete, so a failed
// write never leaves half a file; the file keeps its mode and owner, and a
// symbolic link keeps pointing at it.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "host/IniFile.h"

namespace korva {

class SettingsFile {
 public:
  // Reads the file at path. Nothing there (or a name too long to exist) gives an
  // empty store. Anything else that cannot be read (a folder, a FIFO, a device,
  // a link to one of these, a file that fails to read) is left alone: the store
  // starts empty, is never written back, and LoadProblem says why.
  explicit SettingsFile(std::string path);

  const std::string& Path() const { return path_; }
  // The stored value, or nullptr.
  const std::string* Find(const std::string& section, const std::string& key) const;
  // Stores a value, creating section and key when needed; a key that exists
  // keeps its spelling. A change makes the store dirty.
  void Set(const std::string& section, const std::string& key, const std::string& value);
  bool Dirty() const { return dirty_; }

  // Writes the file when it is dirty. False when it could not be written: the
  // store stays dirty and SaveProblem says why (a store refused at load fails
  // without a new reason: LoadProblem has it).
  bool Write();

  const std::string& LoadProblem() const { return loadProblem_; }
  const std::string& SaveProblem() const { return saveProblem_; }

  // The text the file would get: sections and keys in the order first met.
  std::string Text() const;

 private:
  struct Section {
    std::string Name;
    std::vector<IniEntry> Entries;
    std::unordered_map<std::string, size_t> Keys;  // lower-case key -> entry
  };
  void Load();
  bool Fail(const std::string& why);

  std::string path_;
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> sectionIndex_;  // lower-case name -> section
  bool dirty_ = false;
  bool refused_ = false;
  std::string loadProblem_, saveProblem_;
};

}  // namespace korva
