#pragma once
// Which program opens a type of file, as the registry's file associations say.
#include <string>

namespace platform {

// The program that opens files with this extension (no dot), from the registry's file
// associations: the bare path up to ".exe" without quotes, the whole command when it names no
// ".exe", or "" when there is no association. Keeps no state; safe on any thread.
std::string AssociationLookup(const std::string& extension);

// The command text reduced as above (exposed for tests).
std::string ProgramOfCommand(const std::string& command);

}  // namespace platform
