#include "platform/environment_block.h"

#include <algorithm>

namespace platform {

namespace {

char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

// The first variable of that name, or null.
const EnvironmentVariable* Find(const std::vector<EnvironmentVariable>& variables, std::u16string_view name) {
  for (const EnvironmentVariable& variable : variables) {
    if (SameName(variable.name, name)) return &variable;
  }
  return nullptr;
}

}  // namespace

std::optional<std::vector<EnvironmentVariable>> ParseEnvironmentBlock(std::u16string_view block) {
  std::vector<EnvironmentVariable> variables;
  std::size_t start = 0;
  while (start < block.size()) {
    const std::size_t end = block.find(u'\0', start);
    if (end == std::u16string_view::npos) return std::nullopt;  // an entry without its NUL
    if (end == start) return end + 1 == block.size() ? std::optional(variables) : std::nullopt;
    const std::u16string_view entry = block.substr(start, end - start);
    const std::size_t equals = entry.find(u'=', 1);
    if (equals == std::u16string_view::npos) return std::nullopt;
    variables.push_back({std::u16string(entry.substr(0, equals)), std::u16string(entry.substr(equals + 1))});
    start = end + 1;
  }
  return std::nullopt;  // no terminating empty entry
}

bool ProcessKeepsVariable(std::u16string_view name) {
  if (name.empty() || name[0] == u'=') return true;
  for (const char16_t* kept : {u"PROCESSOR_ARCHITECTURE", u"PROCESSOR_ARCHITEW6432", u"ProgramFiles",
                               u"CommonProgramFiles"}) {
    if (SameName(name, kept)) return true;
  }
  return false;
}

EnvironmentChanges MergeEnvironment(const std::vector<EnvironmentVariable>& current,
                                    const std::vector<EnvironmentVariable>& composed,
                                    const std::vector<EnvironmentVariable>* previously_composed) {
  EnvironmentChanges changes;
  if (composed.empty()) return changes;
  for (std::size_t i = 0; i < composed.size(); ++i) {
    const EnvironmentVariable& variable = composed[i];
    if (ProcessKeepsVariable(variable.name) || Find(composed, variable.name) != &variable) continue;
    const EnvironmentVariable* now = Find(current, variable.name);
    if (!now || now->value != variable.value) changes.set.push_back(variable);
  }
  if (!previously_composed) return changes;
  for (const EnvironmentVariable& variable : current) {
    if (ProcessKeepsVariable(variable.name) || Find(composed, variable.name)) continue;
    if (!Find(*previously_composed, variable.name)) continue;
    const bool listed = std::any_of(changes.remove.begin(), changes.remove.end(),
                                    [&](const std::u16string& name) { return SameName(name, variable.name); });
    if (!listed) changes.remove.push_back(variable.name);
  }
  return changes;
}

}  // namespace platform
