#pragma once
// What the console helper needs from the system, as plain function objects: the listing logic
// runs the same against Windows and against the fakes of the unit tests.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace console {

struct DirectoryEntry {
  std::string name;
  bool is_folder = false;
};

using DirectoryListing = std::optional<std::vector<DirectoryEntry>>;

// What a loaded shortcut points to; `target` is empty for a shell item that is not a file.
struct ShortcutTarget {
  std::string target;
  std::string arguments;
};

struct System {
  // Every entry of a folder ("." and ".." included), or nothing when the folder cannot be
  // opened. The folder path ends with "\".
  std::function<DirectoryListing(const std::string& folder)> list_folder;
  // Loads a shortcut file; nothing when it cannot be loaded.
  std::function<std::optional<ShortcutTarget>(const std::string& path)> read_shortcut;
  // Writes one whole line, CR LF included, with a single write.
  std::function<void(const std::string& line)> write_line;
  // The pause before each directory entry of the listing (10 ms).
  std::function<void()> pause;
  // A monotonic clock in milliseconds.
  std::function<std::uint64_t()> now_ms;
};

}  // namespace console
