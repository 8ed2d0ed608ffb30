// Folders and files: special folders, the program's own path, folder creation.
#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "platform/paths.h"
#include "platform/services.h"

namespace services {

std::string SpecialFolder(int csidl) {
  LPITEMIDLIST folder = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &folder)) || !folder) return "";
  char path[MAX_PATH] = {};
  const BOOL resolved = SHGetPathFromIDListA(folder, path);
  CoTaskMemFree(folder);
  if (!resolved) return "";
  return platform::WithTrailingBackslash(std::string(path, strnlen(path, sizeof path)));  // "" stays ""
}

std::string ProgramFilePath() {
  constexpr DWORD kCapacity = 1000;
  char path[kCapacity] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, kCapacity);
  // A full buffer means the path was cut short (and older systems leave it unterminated):
  // a truncated path would name some other file.
  if (length == 0 || length >= kCapacity) return "";
  return std::string(path, length);
}

void CreateFolder(const std::string& path) {
  CreateDirectoryA(path.c_str(), nullptr);  // an existing folder is as good as a new one
}

}  // namespace services
