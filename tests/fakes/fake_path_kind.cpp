#include "platform/services.h"
#include "tests/fakes/fakes.h"

namespace services {

PathKind KindOfPath(const std::string& path) {
  auto found = fakes::FakeServices().path_kinds.find(path);
  return found == fakes::FakeServices().path_kinds.end() ? PathKind::Missing : found->second;
}

bool IsNetworkDrive(char letter) { return fakes::FakeServices().network_drives.count(letter) > 0; }

}  // namespace services
