// The fatal error report on Windows: an unhandled-exception filter that copies the report to the
// clipboard, asks the user in a message box and ends the process the way the user chose.
#include <windows.h>

#include <atomic>
#include <cstring>
#include <string_view>

#include "platform/fatal_error_report.h"
#include "platform/fatal_error_text.h"
#include "platform/location_marker.h"

namespace platform {
namespace {

struct Fault {
  std::uint32_t code = 0;
  std::uint64_t address = 0;
  std::uint32_t location = 0;
};

// Stack the installing thread keeps for the start of the report after a stack overflow.
constexpr ULONG kStackKeptForOverflow = 32 * 1024;
constexpr int kClipboardOpenAttempts = 10;  // another program may hold the clipboard for a moment
constexpr DWORD kClipboardRetryMs = 20;

// Install and Remove run on the main thread at start-up and at the end.
LPTOP_LEVEL_EXCEPTION_FILTER g_previous_filter = nullptr;
bool g_installed = false;
std::atomic<void (*)()> g_release_resources{nullptr};
DWORD g_installing_thread = 0;  // the GUI thread: the owner of what the end path releases
const ReportedProgram* g_reported_program = &kMainProgram;

// The thread that took the report (0: none yet) and what it reports; written once, by that thread.
std::atomic<DWORD> g_reporting_thread{0};
Fault g_fault;

HGLOBAL GlobalCopy(std::string_view text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!block) return nullptr;
  auto* bytes = static_cast<char*>(GlobalLock(block));
  if (!bytes) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  GlobalUnlock(block);
  return block;
}

bool OpenClipboardPatiently(HWND owner) {
  for (int attempt = 0; attempt < kClipboardOpenAttempts; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(kClipboardRetryMs);
  }
  return false;
}

// Replaces the clipboard's content. Failing is not fatal: the box shows the report anyway.
void CopyToClipboard(std::string_view text) {
  // Once emptied, the clipboard only accepts data from an owner window; a message-only one does.
  // It is left to the end of the process; the data stays on the clipboard after that.
  HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                               nullptr);
  if (!owner || !OpenClipboardPatiently(owner)) return;
  if (EmptyClipboard()) {
    HGLOBAL block = GlobalCopy(text);
    if (block && !SetClipboardData(CF_TEXT, block)) GlobalFree(block);  // the system owns it only on success
  }
  CloseClipboard();
}

[[noreturn]] void TerminateAtOnce() {
  TerminateProcess(GetCurrentProcess(), 0);
  ExitProcess(0);  // not reached; TerminateProcess on the own process does not return
}

// The release runs only on the thread that owns the windows: another thread can destroy none of
// them, and would free fonts and images under the GUI thread's feet. The system frees them all
// at the exit anyway.
[[noreturn]] void EndNormally() {
  auto release = g_release_resources.load();
  if (release && GetCurrentThreadId() == g_installing_thread) release();
  RemoveFatalErrorReport();
  ExitProcess(0);
}

// Shows the report and ends the process as the user chooses; a box that could not be shown
// ends it the normal way.
[[noreturn]] void ReportAndEnd() {
  const FatalErrorText text = BuildFatalErrorText(g_fault.code, g_fault.address, g_fault.location, *g_reported_program);
  CopyToClipboard(text.clipboard());
  const int answer = MessageBoxA(nullptr, text.text, kFatalErrorTitle, MB_YESNO | MB_SYSTEMMODAL | MB_SETFOREGROUND);
  if (answer == IDYES) TerminateAtOnce();
  EndNormally();
}

void WINAPI ReportFiber(void*) { ReportAndEnd(); }

// The report runs on the faulting thread, which owns the windows the end path releases, but on a
// fresh stack: after a stack overflow too little is left for a message box. Without a fiber it
// runs on what stack there is.
[[noreturn]] void ReportOnFreshStack() {
  const bool is_fiber = ConvertThreadToFiber(nullptr) || GetLastError() == ERROR_ALREADY_FIBER;
  void* fiber = is_fiber ? CreateFiber(0, ReportFiber, nullptr) : nullptr;
  if (fiber) SwitchToFiber(fiber);  // never comes back: the report ends the process
  ReportAndEnd();
}

// A fault while the report is under way. On the reporting thread (the report or the end path
// failed) nothing sensible is left but to end; any other thread waits for the report to end
// the process.
[[noreturn]] void HandleLaterFault(DWORD reporting_thread) {
  if (GetCurrentThreadId() == reporting_thread) TerminateAtOnce();
  for (;;) Sleep(INFINITE);
}

LONG WINAPI ReportFatalError(EXCEPTION_POINTERS* exception) {
  DWORD reporting_thread = 0;
  if (!g_reporting_thread.compare_exchange_strong(reporting_thread, GetCurrentThreadId())) {
    HandleLaterFault(reporting_thread);
  }
  g_fault.location = CurrentLocation();
  if (exception && exception->ExceptionRecord) {
    g_fault.code = exception->ExceptionRecord->ExceptionCode;
    g_fault.address = reinterpret_cast<std::uintptr_t>(exception->ExceptionRecord->ExceptionAddress);
  }
  ReportOnFreshStack();
}

}  // namespace

void InstallFatalErrorReport() {
  if (g_installed) return;
  // The report moves to a stack of its own, but getting there takes some stack too.
  ULONG reserve = kStackKeptForOverflow;
  SetThreadStackGuarantee(&reserve);
  g_previous_filter = SetUnhandledExceptionFilter(ReportFatalError);
  g_installing_thread = GetCurrentThreadId();
  g_installed = true;
}

void RemoveFatalErrorReport() {
  if (!g_installed) return;
  SetUnhandledExceptionFilter(g_previous_filter);
  g_installed = false;
}

void SetReportedProgram(const ReportedProgram& program) { g_reported_program = &program; }

void SetNormalEndPath(void (*release_resources)()) { g_release_resources.store(release_resources); }

}  // namespace platform
