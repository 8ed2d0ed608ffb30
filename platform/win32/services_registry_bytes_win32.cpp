// Registry: reading a value's raw bytes, whatever its type (the recent-documents index is binary),
// and listing a key's value names.
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

// The value names of an opened key; a name that does not fit the system's longest (16,383
// characters: the key changed while it was listed) ends the listing as a failure.
std::optional<std::vector<std::string>> ListValueNames(HKEY opened, std::size_t max_names) {
  DWORD count = 0;
  if (RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS ||
      count > max_names) {
    return std::nullopt;
  }
  std::vector<std::string> names;
  names.reserve(count);
  std::vector<char> name(16384);
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    const LONG status = RegEnumValueA(opened, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return names;
    if (status != ERROR_SUCCESS || names.size() >= max_names) return std::nullopt;
    names.emplace_back(name.data(), std::min<std::size_t>(length, name.size() - 1));
  }
}

bool OpenForQuery(RegistryRoot root, const std::string& key, HKEY* opened) {
  return RegOpenKeyExA(RootKeyOf(root), key.c_str(), 0, KEY_QUERY_VALUE, opened) == ERROR_SUCCESS;
}

}  // namespace

std::optional<std::vector<std::string>> RegistryValueNames(RegistryRoot root, const std::string& key,
                                                           std::size_t max_names) {
  HKEY opened = nullptr;
  if (!OpenForQuery(root, key, &opened)) return std::nullopt;
  std::optional<std::vector<std::string>> names = ListValueNames(opened, max_names);
  RegCloseKey(opened);
  return names;
}

std::optional<std::vector<std::uint8_t>> RegistryReadBytes(RegistryRoot root, const std::string& key,
                                                           const std::string& name, std::size_t buffer_size) {
  if (buffer_size > MAXDWORD) return std::nullopt;
  HKEY opened = nullptr;
  if (!OpenForQuery(root, key, &opened)) return std::nullopt;
  std::optional<std::vector<std::uint8_t>> bytes = ReadValue(opened, name, static_cast<DWORD>(buffer_size));
  RegCloseKey(opened);
  return bytes;
}

}  // namespace services
