#pragma once
// Functions that older systems lack, and libraries loaded only when first needed, looked up at
// run time.
#include <windows.h>

#include <string>

namespace services::win32 {

// A function exported by a loaded library, or null. The detour through void(*)() is the
// portable way to convert between function pointer types.
template <typename Function>
Function LibraryFunction(HMODULE library, const char* name) {
  if (!library) return nullptr;
  const FARPROC address = GetProcAddress(library, name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

// A library of the system folder, loaded (once per process: the system counts the loads), never
// a copy of the same name beside the program or in the working folder; null when it cannot be.
inline HMODULE SystemLibrary(const char* name) {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return LoadLibraryA((std::string(folder, length) + "\\" + name).c_str());
}

}  // namespace services::win32
