#pragma once
// Finding a running program in the current catalogue, for the window scan.
#include <optional>
#include <string>

#include "shell/program_hooks.h"
#include "sources/catalogue.h"

namespace sources {

// The program entry whose target, in lower case, is `lower_path`: the first such entry without
// arguments, else the last one. Nothing without a match or while no catalogue exists.
std::optional<shell::ProgramMatch> FindInCatalogue(const Catalogue& catalogue, const std::string& lower_path);
std::optional<shell::ProgramMatch> FindByProgramPath(const std::string& lower_path);

}  // namespace sources
