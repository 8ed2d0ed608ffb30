#include <windows.h>

#include "platform/services.h"

namespace services {

namespace {
// A folder with more entries than this is listed only this far.
constexpr std::size_t kMaxEntries = 100000;
}  // namespace

std::vector<FolderEntry> ListFolder(const std::string& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA found = {};
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    found.cFileName[sizeof found.cFileName - 1] = '\0';
    FolderEntry entry;
    entry.name = found.cFileName;
    entry.is_folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.size = (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
    entry.last_write = (std::uint64_t{found.ftLastWriteTime.dwHighDateTime} << 32) | found.ftLastWriteTime.dwLowDateTime;
    entries.push_back(std::move(entry));
  } while (entries.size() < kMaxEntries && FindNextFileA(search, &found));
  FindClose(search);
  return entries;
}

}  // namespace services
