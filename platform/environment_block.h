#pragma once
// The process environment as Windows keeps it: a block of "NAME=value" entries, each ending in
// NUL, the block ending in an empty entry (so in two NULs). Plain logic, in UTF-16 as the system
// holds it, so that rebuilding the environment after the user changed a variable
// (services::RefreshEnvironmentFromLogon) is decided here and tested natively.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct EnvironmentVariable {
  std::u16string name;   // never empty; "=C:" style names start with '='
  std::u16string value;
};

// Length of a block in characters, its terminating empty entry included, reading at most
// `max_chars` characters from `block`: 0 when it does not end within them. For any 16-bit
// character type (wchar_t on Windows, char16_t in the tests).
template <typename Char>
std::size_t EnvironmentBlockLength(const Char* block, std::size_t max_chars) {
  if (!block) return 0;
  std::size_t i = 0;
  while (i < max_chars) {
    if (block[i] == 0) return i + 1;                   // the empty entry: the end
    while (i < max_chars && block[i] != 0) ++i;        // over one entry
    if (i == max_chars) return 0;
    ++i;                                               // over its NUL
  }
  return 0;
}

// The variables of a whole block (exactly up to its terminating empty entry, as measured by
// EnvironmentBlockLength), in its order. The name runs to the first '=' after the first
// character, so "=C:=C:\dir" is the variable "=C:". Nothing when the block does not end with
// its empty entry or an entry has no such '='.
std::optional<std::vector<EnvironmentVariable>> ParseEnvironmentBlock(std::u16string_view block);

// Whether the process keeps its own value of a variable whatever the composed block says:
// names starting with '=' (the current folder of each drive, the last exit code), and the
// variables WOW64 gives each process by its bitness (PROCESSOR_ARCHITECTURE,
// PROCESSOR_ARCHITEW6432, ProgramFiles, CommonProgramFiles), which the registry-composed block
// of a 32-bit process on 64-bit Windows may state for the other bitness.
bool ProcessKeepsVariable(std::u16string_view name);

struct EnvironmentChanges {
  std::vector<EnvironmentVariable> set;  // new or changed values
  std::vector<std::u16string> remove;    // names to delete
};

// What brings the process's `current` variables to the `composed` ones (the user's and the
// system's variables as Windows composes them now). Names compare as Windows compares them,
// without regard to case (A-Z only). Every composed variable whose value differs (or that is
// missing) is set; a current variable missing from `composed` is removed only when it was in
// `previously_composed` (the block composed at start-up or at the last rebuild): a variable
// Windows never composed came from whoever started the program (or, under Wine, from the Unix
// environment) and stays. Without a previous block (null), nothing is removed. Variables the
// process keeps (ProcessKeepsVariable) are neither set nor removed. An empty `composed` (a
// failed composition) changes nothing.
EnvironmentChanges MergeEnvironment(const std::vector<EnvironmentVariable>& current,
                                    const std::vector<EnvironmentVariable>& composed,
                                    const std::vector<EnvironmentVariable>* previously_composed);

}  // namespace platform
