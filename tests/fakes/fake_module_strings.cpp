#include "tests/fakes/fakes.h"
#include "tests/test_text.h"

namespace services {

using fakes::FakeServices;

std::optional<std::string> ToSystemCodePage(const std::u16string& units) { return test_text::Latin1(units); }

std::vector<std::optional<std::u16string>> ModuleStrings(const std::string& module,
                                                         const std::vector<std::uint32_t>& ids) {
  FakeServices().module_reads.push_back(module);
  std::vector<std::optional<std::u16string>> strings(ids.size());
  const auto table = FakeServices().module_strings.find(module);
  if (table == FakeServices().module_strings.end()) return strings;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const auto found = table->second.find(ids[i]);
    if (found != table->second.end() && !found->second.empty()) strings[i] = found->second;
  }
  return strings;
}

}  // namespace services
