// Small (16 x 16) shell icons of files and file types, and the generic document icon.
#include <windows.h>
#include <shellapi.h>

#include "platform/services.h"

namespace services {
namespace {

IconHandle AskShell(const std::string& path, DWORD attributes, UINT flags) {
  SHFILEINFOA info = {};
  if (!SHGetFileInfoA(path.c_str(), attributes, &info, sizeof info, flags)) return 0;
  return reinterpret_cast<IconHandle>(info.hIcon);
}

}  // namespace

IconHandle SmallFileIcon(const std::string& path) { return AskShell(path, 0, SHGFI_ICON | SHGFI_SMALLICON); }

IconHandle SmallTypeIcon(const std::string& dotted_extension) {
  // With SHGFI_USEFILEATTRIBUTES the shell answers from the name alone; no file is opened.
  return AskShell(dotted_extension, FILE_ATTRIBUTE_NORMAL, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON);
}

IconHandle GenericSmallIcon() {
  HICON small_icon = nullptr;
  const UINT extracted = ExtractIconExA("shell32.dll", 0, nullptr, &small_icon, 1);
  return extracted == 0 || extracted == UINT_MAX ? 0 : reinterpret_cast<IconHandle>(small_icon);
}

}  // namespace services
