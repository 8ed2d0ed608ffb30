#pragma once
// Functions that older systems lack, looked up at run time.
#include <windows.h>

namespace services::win32 {

// A function exported by a loaded library, or null. The detour through void(*)() is the
// portable way to convert between function pointer types.
template <typename Function>
Function LibraryFunction(HMODULE library, const char* name) {
  if (!library) return nullptr;
  const FARPROC address = GetProcAddress(library, name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

}  // namespace services::win32
