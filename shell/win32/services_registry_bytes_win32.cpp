// Registry: reading a value's raw bytes, whatever its type (the recent-documents index is binary).
#include <windows.h>

#include <algorithm>

#include "shell/services.h"

namespace services {
namespace {

HKEY RootKeyOf(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::CurrentUser: break;
  }
  return HKEY_CURRENT_USER;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> RegistryReadBytes(RegistryRoot root, const std::string& key,
                                                           const std::string& name, std::size_t buffer_size) {
  if (buffer_size > MAXDWORD) return std::nullopt;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(RootKeyOf(root), key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // One byte more is allocated than offered so that the data pointer is never null: a null
  // pointer would turn the read into a size query that "succeeds" for any value.
  std::vector<std::uint8_t> buffer(buffer_size + 1);
  DWORD size = static_cast<DWORD>(buffer_size);
  // A value larger than the buffer gives ERROR_MORE_DATA: treated as unreadable.
  const LONG status = RegQueryValueExA(opened, name.c_str(), nullptr, nullptr, buffer.data(), &size);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS) return std::nullopt;
  buffer.resize(std::min<std::size_t>(size, buffer_size));
  return buffer;
}

}  // namespace services
