// Hidden helper processes: a program started without a window, its standard output read
// through a pipe in 10 ms polls, given up on when it stalls, and ended in any case. At the
// program's end every one still running is ended from the GUI thread, so that the thread
// reading it returns by itself and never has to be killed. Each helper inherits only its own
// standard handles (never a file another thread has open just then) and lives in a job the
// program holds, so that it ends with the program even when the program is killed.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include "platform/services.h"
#include "platform/win32/library_function_win32.h"

namespace services {
namespace {

constexpr DWORD kPollMs = 10;
constexpr DWORD kReadChunk = 4096;

// The hidden programs running now, shared by the threads that run them and the program's end.
struct Running {
  std::mutex lock;
  std::vector<HANDLE> processes;
  std::atomic<bool> ending{false};
};

Running& RunningPrograms() {
  static Running running;
  return running;
}

// False once the program's end has begun: the process is then ended at once instead.
bool Register(HANDLE process) {
  Running& running = RunningPrograms();
  std::lock_guard<std::mutex> held(running.lock);
  if (running.ending) {
    TerminateProcess(process, 1);
    return false;
  }
  running.processes.push_back(process);
  return true;
}

void Unregister(HANDLE process) {
  Running& running = RunningPrograms();
  std::lock_guard<std::mutex> held(running.lock);
  running.processes.erase(std::remove(running.processes.begin(), running.processes.end(), process),
                          running.processes.end());
}

struct Pipe {
  HANDLE read = nullptr;
  HANDLE write = nullptr;
};

// Our end must not be inherited: a child holding it would keep the pipe open after the helper ends.
bool CreateOutputPipe(Pipe* pipe) {
  SECURITY_ATTRIBUTES inheritable = {};
  inheritable.nLength = sizeof inheritable;
  inheritable.bInheritHandle = TRUE;
  if (!CreatePipe(&pipe->read, &pipe->write, &inheritable, 0)) return false;
  if (SetHandleInformation(pipe->read, HANDLE_FLAG_INHERIT, 0)) return true;
  CloseHandle(pipe->read);
  CloseHandle(pipe->write);
  return false;
}

// The helpers' job: closing its last handle ends every process in it, so the helpers end with
// the program even when it is killed. One for the process's lifetime, made on first use; null
// where the system has none or refuses the limit.
HANDLE HelperJob() {
  static const HANDLE job = [] {
    const HANDLE made = CreateJobObjectA(nullptr, nullptr);  // no security attributes: not inherited
    if (!made) return HANDLE{nullptr};
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits, sizeof limits)) return made;
    CloseHandle(made);
    return HANDLE{nullptr};
  }();
  return job;
}

// The process-and-thread attribute functions (Vista and later), looked up at run time.
struct AttributeFunctions {
  using Initialize = BOOL(WINAPI*)(LPPROC_THREAD_ATTRIBUTE_LIST, DWORD, DWORD, PSIZE_T);
  using Update = BOOL(WINAPI*)(LPPROC_THREAD_ATTRIBUTE_LIST, DWORD, DWORD_PTR, PVOID, SIZE_T, PVOID, PSIZE_T);
  using Delete = VOID(WINAPI*)(LPPROC_THREAD_ATTRIBUTE_LIST);
  Initialize initialize = nullptr;
  Update update = nullptr;
  Delete remove = nullptr;
  bool Present() const { return initialize && update && remove; }
};

const AttributeFunctions& Attributes() {
  static const AttributeFunctions functions = [] {
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    AttributeFunctions found;
    found.initialize = win32::LibraryFunction<AttributeFunctions::Initialize>(kernel, "InitializeProcThreadAttributeList");
    found.update = win32::LibraryFunction<AttributeFunctions::Update>(kernel, "UpdateProcThreadAttribute");
    found.remove = win32::LibraryFunction<AttributeFunctions::Delete>(kernel, "DeleteProcThreadAttributeList");
    return found;
  }();
  return functions;
}

// Console handles of systems before Windows 8 are not handles of the kernel (their low two bits
// are set): the console gives them their meaning in a process attached to it, not inheritance.
bool IsConsolePseudoHandle(HANDLE handle) { return (reinterpret_cast<ULONG_PTR>(handle) & 3) == 3; }

bool IsInheritableHandle(HANDLE handle) {
  if (!handle || handle == INVALID_HANDLE_VALUE || IsConsolePseudoHandle(handle)) return false;
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) && (flags & HANDLE_FLAG_INHERIT) != 0;
}

// The standard handles and the only handles the helper inherits: the pipe's writing end, and the
// program's own input and error where they can be inherited. Any other handle in STARTUPINFO
// would name nothing in the helper (or something else), so it gets none instead; a console
// pseudo-handle stays, as it means the same in the console the helper shares.
struct HelperHandles {
  HANDLE input = nullptr;
  HANDLE output = nullptr;
  HANDLE error = nullptr;
  std::vector<HANDLE> inherited;
};

HANDLE Offered(HANDLE handle, std::vector<HANDLE>* inherited) {
  if (IsConsolePseudoHandle(handle)) return handle;
  if (!IsInheritableHandle(handle)) return nullptr;
  // The attribute refuses a handle listed twice.
  if (std::find(inherited->begin(), inherited->end(), handle) == inherited->end()) inherited->push_back(handle);
  return handle;
}

HelperHandles HandlesForHelper(HANDLE output) {
  HelperHandles handles;
  handles.output = output;
  handles.inherited.push_back(output);
  handles.input = Offered(GetStdHandle(STD_INPUT_HANDLE), &handles.inherited);
  handles.error = Offered(GetStdHandle(STD_ERROR_HANDLE), &handles.inherited);
  return handles;
}

std::string CommandLine(const std::string& executable, const std::string& parameters) {
  std::string command_line = "\"" + executable + "\"";
  if (!parameters.empty()) command_line += " " + parameters;
  return command_line;
}

STARTUPINFOA HiddenStartup() {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  return startup;
}

// Started suspended, inheriting only the handles listed; false when the system lacks the
// attribute list or refuses it (the caller then starts it as older systems do).
bool StartInheritingOnly(const std::string& executable, const std::string& parameters, HelperHandles handles,
                         PROCESS_INFORMATION* started) {
  const AttributeFunctions& functions = Attributes();
  if (!functions.Present()) return false;
  SIZE_T size = 0;
  functions.initialize(nullptr, 1, 0, &size);  // fails by design, telling the size
  if (size == 0) return false;
  std::vector<unsigned char> storage(size);
  const auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
  if (!functions.initialize(list, 1, 0, &size)) return false;
  bool ok = functions.update(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles.inherited.data(),
                             handles.inherited.size() * sizeof(HANDLE), nullptr, nullptr) != FALSE;
  if (ok) {
    STARTUPINFOEXA startup = {};
    startup.StartupInfo = HiddenStartup();
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.hStdInput = handles.input;
    startup.StartupInfo.hStdOutput = handles.output;
    startup.StartupInfo.hStdError = handles.error;
    startup.lpAttributeList = list;
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    std::string command_line = CommandLine(executable, parameters);
    ok = CreateProcessA(executable.c_str(), &command_line[0], nullptr, nullptr, TRUE,
                        CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr, &startup.StartupInfo,
                        started) != FALSE;
  }
  functions.remove(list);
  return ok;
}

// Without the attribute list the helper inherits every inheritable handle the program holds.
bool StartInheritingAll(const std::string& executable, const std::string& parameters, HANDLE output,
                        PROCESS_INFORMATION* started) {
  STARTUPINFOA startup = HiddenStartup();
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::string command_line = CommandLine(executable, parameters);
  return CreateProcessA(executable.c_str(), &command_line[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, started) != FALSE;
}

// Started suspended and put in the helpers' job before it runs a single instruction, so that it
// never runs outside it; where there is no job, or the system refuses it (a process already in
// a job that forbids nesting), it runs as it is.
bool StartHidden(const std::string& executable, const std::string& parameters, HANDLE output,
                 PROCESS_INFORMATION* started) {
  if (!StartInheritingOnly(executable, parameters, HandlesForHelper(output), started) &&
      !StartInheritingAll(executable, parameters, output, started))
    return false;
  const HANDLE job = HelperJob();
  if (job) AssignProcessToJobObject(job, started->hProcess);
  ResumeThread(started->hThread);
  return true;
}

bool StillRunning(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

// Reads what the pipe holds now, without blocking. False once the pipe is broken and empty.
bool ReadAvailable(HANDLE pipe, std::string* bytes) {
  bytes->clear();
  DWORD available = 0;
  if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return false;
  if (available == 0) return true;
  char chunk[kReadChunk];
  DWORD read = 0;
  if (!ReadFile(pipe, chunk, available < kReadChunk ? available : kReadChunk, &read, nullptr)) return false;
  bytes->assign(chunk, read);
  return true;
}

void ReadUntilEndOrStall(HANDLE process, HANDLE pipe, DWORD stall_limit_ms,
                         const std::function<void(const std::string&)>& on_output) {
  DWORD last_output = GetTickCount();
  std::string bytes;
  for (;;) {
    // Sampled before reading: output written before the end is in the pipe by then.
    const bool running = StillRunning(process);
    const bool pipe_open = ReadAvailable(pipe, &bytes);
    if (!bytes.empty()) {
      on_output(bytes);
      last_output = GetTickCount();
      continue;  // more may be waiting: a full pipe holds the writer up until it is emptied
    }
    if (!running || !pipe_open || RunningPrograms().ending) return;
    // Unsigned subtraction stays right when the tick count wraps.
    if (GetTickCount() - last_output > stall_limit_ms) return;
    Sleep(kPollMs);
  }
}

}  // namespace

bool RunHiddenWithOutput(const std::string& executable, const std::string& parameters, int stall_limit_ms,
                         const std::function<void(const std::string& bytes)>& on_output) {
  Pipe pipe;
  if (!CreateOutputPipe(&pipe)) return false;
  PROCESS_INFORMATION started = {};
  const bool ok = StartHidden(executable, parameters, pipe.write, &started);
  // Only the child may hold the writing end, so the pipe breaks when the child is gone.
  CloseHandle(pipe.write);
  if (!ok) {
    CloseHandle(pipe.read);
    return false;
  }
  CloseHandle(started.hThread);
  const bool registered = Register(started.hProcess);
  if (registered) {
    ReadUntilEndOrStall(started.hProcess, pipe.read, stall_limit_ms > 0 ? static_cast<DWORD>(stall_limit_ms) : 0,
                        on_output);
    Unregister(started.hProcess);
  }
  TerminateProcess(started.hProcess, 1);  // harmless when it has ended already
  CloseHandle(started.hProcess);
  CloseHandle(pipe.read);
  return registered && !RunningPrograms().ending;
}

void EndHiddenPrograms() {
  Running& running = RunningPrograms();
  std::lock_guard<std::mutex> held(running.lock);
  running.ending = true;
  for (HANDLE process : running.processes) TerminateProcess(process, 1);
}

}  // namespace services
