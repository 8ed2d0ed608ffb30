// Files and folders as the console helper sees them: what a path names, folder listings and the
// Start-menu special folders.
#include "console/win32/system_win32.h"

#include "platform/paths.h"

namespace console {

PathFacts PathFactsOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {};
  PathFacts facts;
  facts.exists = true;
  facts.is_folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  facts.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return facts;
}

DirectoryListing ListFolder(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return std::nullopt;
  std::vector<DirectoryEntry> entries;
  do {
    data.cFileName[MAX_PATH - 1] = '\0';
    entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return entries;
}

namespace {

std::string SpecialFolderPath(int csidl) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items) return "";
  char path[MAX_PATH] = {};
  const BOOL found = SHGetPathFromIDListA(items, path);
  CoTaskMemFree(items);
  path[MAX_PATH - 1] = '\0';
  return found ? platform::WithTrailingBackslash(path) : "";
}

}  // namespace

SpecialFolders ResolveSpecialFolders() {
  SpecialFolders folders;
  folders.common_start_menu = SpecialFolderPath(kCommonStartMenuCsidl);
  folders.user_start_menu = SpecialFolderPath(kStartMenuCsidl);
  folders.common_programs = SpecialFolderPath(kCommonProgramsCsidl);
  folders.user_programs = SpecialFolderPath(kProgramsCsidl);
  return folders;
}

}  // namespace console
