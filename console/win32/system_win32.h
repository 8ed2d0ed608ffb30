#pragma once
// The console helper's Windows side: files and folders, the shell link object, standard output
// and timing, bound together into a console::System.
#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "console/folder_walk.h"
#include "console/invocation.h"
#include "console/system.h"

namespace console {

PathFacts PathFactsOf(const std::string& path);
DirectoryListing ListFolder(const std::string& folder);
SpecialFolders ResolveSpecialFolders();

// The shell link object, created once per run; COM lives as long as the reader.
class ShellLinkReader {
 public:
  ShellLinkReader() = default;
  ShellLinkReader(const ShellLinkReader&) = delete;
  ShellLinkReader& operator=(const ShellLinkReader&) = delete;
  ~ShellLinkReader();

  // Initialises COM, creates the link object and gets its file interface; false on failure.
  bool Open();
  std::optional<ShortcutTarget> Read(const std::string& path);

 private:
  bool com_initialised_ = false;
  IShellLinkA* link_ = nullptr;
  IPersistFile* file_ = nullptr;
};

// Standard output, either a console or a pipe or file; each call is one write.
class StandardOutput {
 public:
  StandardOutput();
  void Write(const std::string& bytes) const;

 private:
  HANDLE handle_;
  bool is_console_;
};

// The listing's pause: 10 ms at 1 ms timer resolution.
void PauseBeforeEntry();
std::uint64_t MonotonicMilliseconds();

// The system of a real run (`pause` may be replaced, e.g. by a benchmark).
System MakeSystem(ShellLinkReader& reader, const StandardOutput& output);

}  // namespace console
