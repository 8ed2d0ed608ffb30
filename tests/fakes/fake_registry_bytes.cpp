#include "platform/services.h"
#include "tests/fakes/fakes.h"

namespace services {

std::optional<std::vector<std::uint8_t>> RegistryReadBytes(RegistryRoot root, const std::string& key,
                                                           const std::string& name, std::size_t buffer_size) {
  fakes::FakeServices().registry_byte_reads.emplace_back(name, buffer_size);
  const auto& values = fakes::FakeServices().registry_bytes;
  const auto found = values.find({root, key, name});
  if (found == values.end() || found->second.size() > buffer_size) return std::nullopt;
  return found->second;
}

std::optional<std::vector<std::string>> RegistryValueNames(RegistryRoot root, const std::string& key,
                                                           std::size_t max_names) {
  ++fakes::FakeServices().registry_name_listings;
  if (fakes::FakeServices().registry_names_unlistable) return std::nullopt;
  std::vector<std::string> names;
  for (const auto& [place, bytes] : fakes::FakeServices().registry_bytes) {
    if (std::get<0>(place) == root && std::get<1>(place) == key) names.push_back(std::get<2>(place));
  }
  if (names.empty() || names.size() > max_names) return std::nullopt;  // no key, or too many
  return names;
}

}  // namespace services
