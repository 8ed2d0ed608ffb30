// Registry: reading text values, and writing and deleting the program's own values under
// HKEY_CURRENT_USER.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/services.h"

namespace services {
namespace {

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::CurrentUser: break;
  }
  return HKEY_CURRENT_USER;
}

}  // namespace

std::optional<std::string> RegistryReadText(RegistryRoot root, const std::string& key, const std::string& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
  char data[255] = {};
  DWORD size = sizeof data;
  DWORD type = REG_NONE;
  // A value longer than the buffer gives ERROR_MORE_DATA and is treated as missing: the
  // values read here are short, and a cut-off text would be a wrong one.
  const LONG status = RegQueryValueExA(opened, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
  // The stored size normally counts a terminating zero, but values written by other programs
  // may lack it or hold several: the text ends at the first zero within the data.
  const std::size_t stored = std::min<std::size_t>(size, sizeof data);
  return std::string(data, strnlen(data, stored));
}

bool RegistryWriteText(const std::string& key, const std::string& name, const std::string& text) {
  if (text.size() >= MAXDWORD) return false;
  HKEY opened = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &opened, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
  const LONG status = RegSetValueExA(opened, name.c_str(), 0, REG_SZ, bytes, static_cast<DWORD>(text.size() + 1));
  RegCloseKey(opened);
  return status == ERROR_SUCCESS;
}

bool RegistryDeleteValue(const std::string& key, const std::string& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return false;
  const LONG status = RegDeleteValueA(opened, name.c_str());
  RegCloseKey(opened);
  return status == ERROR_SUCCESS;
}

}  // namespace services
