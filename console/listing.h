#pragma once
// Writing the listing: one group per folder (folders with the same relative path merged into one
// group), each a header line followed by its entries sorted by name.
#include <cstdint>
#include <string>
#include <vector>

#include "console/folder_walk.h"
#include "console/invocation.h"
#include "console/system.h"

namespace console {

// Longest stretch without a written line that the listing still spends pausing.
constexpr std::uint64_t kPauseBudgetMs = 1000;

// Paces the listing: a pause before each directory entry keeps the scan gentle on the disk, but
// a group is written only once all its folders are scanned, and the reader gives up after 3 s
// without a line. Once kPauseBudgetMs have passed since the last line (or since the start), the
// scan goes on without pausing until the next line is out.
class Throttle {
 public:
  Throttle(const System& system, bool paced) : system_(system), paced_(paced), last_line_ms_(system.now_ms()) {}
  void BeforeEntry();
  void LineWritten() { last_line_ms_ = system_.now_ms(); }

 private:
  const System& system_;
  bool paced_;
  std::uint64_t last_line_ms_;
};

// Scans and writes the groups of `folders` (sorted by relative path).
void ListFolders(const std::vector<FolderRecord>& folders, const System& system, Throttle& throttle);

// One shortcut: at most one entry line, no header, no pause.
void ListSingleFile(const std::string& path, const System& system);

// Does what the invocation asks; `folders` matter for StartMenu only.
void Run(const Invocation& invocation, const SpecialFolders& folders, const System& system);

}  // namespace console
