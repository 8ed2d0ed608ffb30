#pragma once
// Finding a running program in the current catalogue, for the window scan.
#include <optional>
#include <string>

#include "sources/catalogue.h"

namespace sources {

// A program entry of the Start-menu catalogue.
struct ProgramMatch {
  std::string name;    // shortcut file name, e.g. "Bloc-notes.lnk"
  std::string folder;  // its folder, ending in "\"
  std::string target;  // the program it points to
  std::string label;   // what its row shows
};

// The program entry whose target, in lower case, is `lower_path`: the first such entry without
// arguments, else the last one. Nothing without a match or while no catalogue exists.
std::optional<ProgramMatch> FindInCatalogue(const Catalogue& catalogue, const std::string& lower_path);
std::optional<ProgramMatch> FindByProgramPath(const std::string& lower_path);

// What the row of the current catalogue's entry opening `launch_path` (letter case aside)
// shows; nothing when no entry opens it or while no catalogue exists.
std::optional<std::string> LabelOfLaunchPath(const std::string& launch_path);

}  // namespace sources
