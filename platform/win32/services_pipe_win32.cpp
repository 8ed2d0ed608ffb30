// Hidden helper processes: a program started without a window, its standard output read
// through a pipe in 10 ms polls, given up on when it stalls, and ended in any case. At the
// program's end every one still running is ended from the GUI thread, so that the thread
// reading it returns by itself and never has to be killed.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include "platform/services.h"

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

bool StartHidden(const std::string& executable, const std::string& parameters, HANDLE output,
                 PROCESS_INFORMATION* started) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  std::string command_line = "\"" + executable + "\"";
  if (!parameters.empty()) command_line += " " + parameters;
  return CreateProcessA(executable.c_str(), &command_line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        started) != FALSE;
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
