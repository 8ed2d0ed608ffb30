#include "console/invocation.h"

#include "platform/paths.h"

namespace console {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads one parameter starting at `at`, which is not a blank; leaves `at` behind it.
std::string ReadParameter(const std::string& line, std::size_t& at) {
  std::string parameter;
  bool quoted = false;
  for (; at < line.size(); ++at) {
    const char c = line[at];
    if (c == '"') {
      quoted = !quoted;
    } else if (IsBlank(c) && !quoted) {
      break;
    } else {
      parameter += c;
    }
  }
  return parameter;
}

void SkipBlanks(const std::string& line, std::size_t& at) {
  while (at < line.size() && IsBlank(line[at])) ++at;
}

// Parameter `index` (1 = the first after the program itself), or nothing.
std::optional<std::string> Parameter(const std::string& command_line, int index) {
  std::size_t at = 0;
  SkipBlanks(command_line, at);
  (void)ReadParameter(command_line, at);  // the program itself
  for (int n = 1;; ++n) {
    SkipBlanks(command_line, at);
    if (at >= command_line.size()) return std::nullopt;
    std::string parameter = ReadParameter(command_line, at);
    if (n == index) return parameter;
  }
}

}  // namespace

std::optional<std::string> FirstParameter(const std::string& command_line) { return Parameter(command_line, 1); }

std::optional<std::string> SecondParameter(const std::string& command_line) { return Parameter(command_line, 2); }

Invocation SelectMode(const std::optional<std::string>& parameter,
                      const std::function<PathFacts(const std::string& path)>& facts_of) {
  if (!parameter) return {};
  if (*parameter == kStartMenuOption) return {Mode::StartMenu, ""};
  const PathFacts facts = facts_of(*parameter);
  if (!facts.exists) return {};
  if (facts.is_folder) return {Mode::EinzelVerzeichnis, platform::WithTrailingBackslash(*parameter)};
  if (facts.size > 0) return {Mode::EinzelDatei, *parameter};
  return {};
}

}  // namespace console
