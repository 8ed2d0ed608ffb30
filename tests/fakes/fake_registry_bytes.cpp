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

}  // namespace services
