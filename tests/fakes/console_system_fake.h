#pragma once
// A fake file system, shortcut reader, output and clock for the console helper's listing logic.
// Folders are paths ending in "\"; adding a folder or file also lists it in its parent folder
// (when that parent was added). Every folder lists "." and ".." first, as Windows does.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "console/system.h"

namespace fakes {

class ConsoleSystem {
 public:
  void AddFolder(const std::string& folder) {
    folders_[folder];
    AddToParent(folder.substr(0, folder.size() - 1), true);
  }
  void AddFile(const std::string& path) { AddToParent(path, false); }
  void AddShortcut(const std::string& path, const std::string& target, const std::string& arguments = "") {
    AddFile(path);
    shortcuts_[path] = console::ShortcutTarget{target, arguments};
  }
  // A folder that is listed in its parent but cannot be opened itself.
  void MakeUnopenable(const std::string& folder) { unopenable_.insert(folder); }

  // What a run wrote, and when (the fake clock at each line).
  std::string output;
  std::vector<std::uint64_t> line_times;
  std::vector<std::string> read_shortcuts;
  int pauses = 0;
  std::uint64_t clock_ms = 0;
  std::uint64_t pause_ms = 10;        // how far one pause moves the clock
  std::uint64_t shortcut_cost_ms = 0; // how far reading one shortcut moves it

  console::System MakeSystem() {
    console::System system;
    system.list_folder = [this](const std::string& folder) -> console::DirectoryListing {
      auto found = folders_.find(folder);
      if (found == folders_.end() || unopenable_.count(folder) != 0) return std::nullopt;
      std::vector<console::DirectoryEntry> entries{{".", true}, {"..", true}};
      entries.insert(entries.end(), found->second.begin(), found->second.end());
      return entries;
    };
    system.read_shortcut = [this](const std::string& path) -> std::optional<console::ShortcutTarget> {
      read_shortcuts.push_back(path);
      clock_ms += shortcut_cost_ms;
      auto found = shortcuts_.find(path);
      if (found == shortcuts_.end()) return std::nullopt;
      return found->second;
    };
    system.write_line = [this](const std::string& line) {
      output += line;
      line_times.push_back(clock_ms);
    };
    system.pause = [this] {
      ++pauses;
      clock_ms += pause_ms;
    };
    system.now_ms = [this] { return clock_ms; };
    return system;
  }

 private:
  void AddToParent(const std::string& path, bool is_folder) {
    const std::size_t separator = path.find_last_of('\\');
    if (separator == std::string::npos) return;
    auto parent = folders_.find(path.substr(0, separator + 1));
    if (parent != folders_.end()) parent->second.push_back({path.substr(separator + 1), is_folder});
  }

  std::map<std::string, std::vector<console::DirectoryEntry>> folders_;
  std::map<std::string, console::ShortcutTarget> shortcuts_;
  std::set<std::string> unopenable_;
};

}  // namespace fakes
