// Registry: reading a value's raw bytes, whatever its type (the recent-documents index is binary).
#include <windows.h>

#include <algorithm>

#include "platform/services.h"

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

// The value's bytes in a buffer of their own size: the menu reads these at every opening, and a
// buffer of the largest size each time would leave the heap fragmented by the small blocks
// allocated while it is held. A value larger than `limit` is unreadable. One that grows
// between the size query and the read is asked again.
std::optional<std::vector<std::uint8_t>> ReadValue(HKEY opened, const std::string& name, DWORD limit) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD size = 0;
    if (RegQueryValueExA(opened, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    if (size > limit) return std::nullopt;
    // One byte more than the value so that the data pointer is never null: a null pointer
    // would turn the read into another size query.
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(size) + 1);
    const LONG status = RegQueryValueExA(opened, name.c_str(), nullptr, nullptr, buffer.data(), &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return std::nullopt;
    buffer.resize(std::min<DWORD>(size, limit));
    return buffer;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> RegistryReadBytes(RegistryRoot root, const std::string& key,
                                                           const std::string& name, std::size_t buffer_size) {
  if (buffer_size > MAXDWORD) return std::nullopt;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(RootKeyOf(root), key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::optional<std::vector<std::uint8_t>> bytes = ReadValue(opened, name, static_cast<DWORD>(buffer_size));
  RegCloseKey(opened);
  return bytes;
}

}  // namespace services
