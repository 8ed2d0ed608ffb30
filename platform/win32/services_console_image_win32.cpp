// The console helper's image, carried as an RCDATA resource of the program's own executable.
#include <windows.h>

#include "platform/console_helper_resource.h"
#include "platform/services.h"

namespace services {

std::string ConsoleHelperImage() {
  const LPCSTR kRcData = MAKEINTRESOURCEA(10);  // RT_RCDATA, spelled for the ANSI API
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(KV_CONSOLE_HELPER_RESOURCE), kRcData);
  if (!found) return "";
  HGLOBAL loaded = LoadResource(nullptr, found);
  const DWORD size = SizeofResource(nullptr, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return "";
  return std::string(static_cast<const char*>(bytes), size);
}

}  // namespace services
