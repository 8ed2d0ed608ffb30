#pragma once
// What one run of the console helper does, decided by its first command-line parameter alone.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/console_helper_options.h"

namespace console {

enum class Mode {
  None,               // nothing to do: no parameter, a path naming nothing, an empty file
  StartMenu,          // "-startmenu": every Start-menu folder
  EinzelVerzeichnis,  // one folder tree
  EinzelDatei,        // one shortcut file
};

using platform::kNoPauseOption;
using platform::kStartMenuOption;

struct PathFacts {
  bool exists = false;
  bool is_folder = false;
  std::uint64_t size = 0;
};

struct Invocation {
  Mode mode = Mode::None;
  std::string path;  // EinzelVerzeichnis: ends with "\"; EinzelDatei: as given
  bool paced = true;  // a listing pauses before each directory entry
};

// The first parameter of a whole Windows command line (the program name comes first and is
// skipped). Parameters are separated by blanks; double quotes group blanks into a parameter and
// are dropped. Backslashes are plain characters, so "C:\Start Menu\" keeps its last "\".
// Nothing when the line holds no parameter.
std::optional<std::string> FirstParameter(const std::string& command_line);
// The same for the second parameter.
std::optional<std::string> SecondParameter(const std::string& command_line);

// The mode for the first parameter; `facts_of` tells what a path names. Pacing is left on.
Invocation SelectMode(const std::optional<std::string>& parameter,
                      const std::function<PathFacts(const std::string& path)>& facts_of);

}  // namespace console
