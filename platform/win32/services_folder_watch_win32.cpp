// Watches of single folders: the system's change notifications, one folder each.
#include <windows.h>

#include "platform/services.h"

namespace services {

namespace {

constexpr DWORD kWatched = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
                           FILE_NOTIFY_CHANGE_LAST_WRITE;

HANDLE HandleOf(WatchHandle watch) { return reinterpret_cast<HANDLE>(watch); }

}  // namespace

WatchHandle WatchFolder(const std::string& folder) {
  HANDLE watch = FindFirstChangeNotificationA(folder.c_str(), FALSE, kWatched);
  return watch == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<WatchHandle>(watch);
}

bool FolderChanged(WatchHandle watch) {
  if (watch == 0 || WaitForSingleObject(HandleOf(watch), 0) != WAIT_OBJECT_0) return false;
  FindNextChangeNotification(HandleOf(watch));
  return true;
}

void StopWatch(WatchHandle watch) {
  if (watch != 0) FindCloseChangeNotification(HandleOf(watch));
}

}  // namespace services
