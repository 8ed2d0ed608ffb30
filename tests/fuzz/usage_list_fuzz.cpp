// Usage-list files of any bytes: the list read from them is written and read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/usage_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const settings::UsageList list = settings::ParseUsageList(bytes);
  const std::string saved = settings::FormatUsageList(list);
  if (settings::FormatUsageList(settings::ParseUsageList(saved)) != saved) std::abort();
  return 0;
}
