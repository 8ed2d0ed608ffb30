#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "platform/services.h"
#include "platform/win32/library_function_win32.h"

namespace services {

namespace {

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

using QueryNotificationStateFunction = HRESULT(WINAPI*)(int*);
// QUERY_USER_NOTIFICATION_STATE values that older headers lack.
constexpr int kBusy = 2, kFullScreenDirect3D = 3, kPresentationMode = 4;

}  // namespace

void PrepareShellCalls() {
  // Single-threaded, as the shell's extensions expect; without OLE1's DDE, which ShellExecute
  // would otherwise run through the thread's messages. Already initialised is fine.
  (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
}

bool FullScreenProgramShown() {
  static const QueryNotificationStateFunction query = win32::LibraryFunction<QueryNotificationStateFunction>(
      GetModuleHandleA("shell32.dll"), "SHQueryUserNotificationState");
  int state = 0;
  if (!query || FAILED(query(&state))) return false;
  return state == kBusy || state == kFullScreenDirect3D || state == kPresentationMode;
}

void ShellOpen(const std::string& file, const std::string& verb, const std::string& parameters,
               const std::string& folder) {
  ShellExecuteA(nullptr, OrNull(verb), file.c_str(), OrNull(parameters), OrNull(folder), SW_SHOWNORMAL);
}

}  // namespace services
