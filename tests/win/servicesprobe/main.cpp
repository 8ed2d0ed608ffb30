// Test program for the Windows services under Wine: each run performs one service named on the
// command line and prints its result on stdout, so an end-to-end test can compare it with
// what kvtool and Wine's own tools report.
//   folder <csidl>                 special folder path
//   program                        own executable path
//   wow64                          "true" or "false"
//   pid                            own process id
//   processes                      "self <pid>", then one "<pid> TAB <file name>" line per process
//   terminate <pid> [exit code]    "true" or "false"
//   imagepath <0xhwnd>             executable of the window's process ("" when unknown)
//   screen                         "<right> <bottom> <depth> <BITSPIXEL of the screen DC>" or "none"
//   cursors                        "1" when all three pointers loaded, else "0"
//   windows                        "<0xhwnd> TAB <visible> TAB <tool> TAB <pid> TAB <title>" lines
//   regread hkcu|hkcr|hklm <key> <name>   the text (exit 1 when missing)
//   regwrite <key> <name> <text>   exit 0 on success
//   regdelete <key> <name>         exit 0 on success
//   clipboard <text>               exit 0 on success
//   seconds                        local wall-clock seconds since 1970
//   mutex <name>                   holds the mutex, prints "held", sleeps 3 s
//   mutexexists <name>             "true" when a mutex of that name exists
//   strings <module> <id>...       each string of the module's table in the code page, "-" for none
// A registry or value name "@" stands for "" (the default value).
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"

namespace {

using Args = std::vector<std::string>;

const char* YesNo(bool value) { return value ? "true" : "false"; }

std::string ValueName(const std::string& text) { return text == "@" ? std::string() : text; }

bool ParseNumber(const std::string& text, unsigned long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = std::strtoul(text.c_str(), &end, 0);
  return *end == '\0';
}

int Usage() {
  std::fprintf(stderr, "servicesprobe: bad command line (see main.cpp)\n");
  return 2;
}

int PrintProcesses() {
  std::printf("self %lu\n", static_cast<unsigned long>(services::CurrentProcessId()));
  for (const auto& process : services::RunningProcesses()) {
    std::printf("%lu\t%s\n", static_cast<unsigned long>(process.id), process.file_name.c_str());
  }
  return 0;
}

int PrintScreen() {
  const auto screen = services::MeasureScreen();
  if (!screen) {
    std::printf("none\n");
    return 1;
  }
  HDC dc = GetDC(nullptr);
  const int bits = dc ? GetDeviceCaps(dc, BITSPIXEL) : 0;
  if (dc) ReleaseDC(nullptr, dc);
  std::printf("%d %d %d %d\n", screen->right, screen->bottom, screen->depth, bits);
  return 0;
}

int PrintWindows() {
  for (const auto& window : services::TopLevelWindows()) {
    std::printf("0x%lx\t%d\t%d\t%lu\t%s\n", static_cast<unsigned long>(window.handle), window.visible ? 1 : 0,
                window.tool_window ? 1 : 0, static_cast<unsigned long>(window.process), window.title.c_str());
  }
  return 0;
}

int ReadRegistry(const Args& args) {
  if (args.size() != 4) return Usage();
  services::RegistryRoot root = services::RegistryRoot::CurrentUser;
  if (args[1] == "hkcr") {
    root = services::RegistryRoot::ClassesRoot;
  } else if (args[1] == "hklm") {
    root = services::RegistryRoot::LocalMachine;
  } else if (args[1] != "hkcu") {
    return Usage();
  }
  const auto text = services::RegistryReadText(root, args[2], ValueName(args[3]));
  if (!text) return 1;
  std::printf("%s\n", text->c_str());
  return 0;
}

int HoldMutex(const std::string& name) {
  services::HoldNamedMutex(name);
  std::printf("held\n");
  std::fflush(stdout);
  services::SleepMilliseconds(3000);
  return 0;
}

int MutexExists(const std::string& name) {
  HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
  if (mutex) CloseHandle(mutex);
  std::printf("%s\n", YesNo(mutex != nullptr));
  return 0;
}

int Terminate(const Args& args) {
  unsigned long id = 0;
  unsigned long code = 1;
  if (args.size() < 2 || args.size() > 3 || !ParseNumber(args[1], &id)) return Usage();
  if (args.size() == 3 && !ParseNumber(args[2], &code)) return Usage();
  const bool ended = services::TerminateProcessById(static_cast<services::ProcessId>(id), static_cast<unsigned>(code));
  std::printf("%s\n", YesNo(ended));
  return 0;
}

// Each string of the module's table, in the code page, or "-" where there is none (or it has
// no place in the code page).
int ModuleStrings(const Args& args) {
  std::vector<std::uint32_t> ids;
  for (std::size_t i = 2; i < args.size(); ++i) {
    unsigned long id = 0;
    if (!ParseNumber(args[i], &id)) return Usage();
    ids.push_back(static_cast<std::uint32_t>(id));
  }
  for (const std::optional<std::u16string>& text : services::ModuleStrings(args[1], ids)) {
    const std::optional<std::string> shown = text ? services::ToSystemCodePage(*text) : std::nullopt;
    std::printf("%s\n", shown ? shown->c_str() : "-");
  }
  return 0;
}

int Run(const Args& args) {
  const std::string& command = args[0];
  const std::size_t count = args.size();
  unsigned long number = 0;
  if (command == "folder" && count == 2 && ParseNumber(args[1], &number)) {
    std::printf("%s\n", services::SpecialFolder(static_cast<int>(number)).c_str());
  } else if (command == "program" && count == 1) {
    std::printf("%s\n", services::ProgramFilePath().c_str());
  } else if (command == "wow64" && count == 1) {
    std::printf("%s\n", YesNo(services::Is32BitOn64BitWindows()));
  } else if (command == "pid" && count == 1) {
    std::printf("%lu\n", static_cast<unsigned long>(services::CurrentProcessId()));
  } else if (command == "processes" && count == 1) {
    return PrintProcesses();
  } else if (command == "terminate") {
    return Terminate(args);
  } else if (command == "imagepath" && count == 2 && ParseNumber(args[1], &number)) {
    std::printf("%s\n", services::ProcessImagePath(static_cast<services::WindowHandle>(number)).c_str());
  } else if (command == "screen" && count == 1) {
    return PrintScreen();
  } else if (command == "cursors" && count == 1) {
    const bool loaded = services::LoadCursors();
    services::ShowCursorShape(services::CursorShape::Wait);
    services::ShowCursorShape(services::CursorShape::Arrow);
    std::printf("%d\n", loaded ? 1 : 0);
  } else if (command == "windows" && count == 1) {
    return PrintWindows();
  } else if (command == "regread") {
    return ReadRegistry(args);
  } else if (command == "regwrite" && count == 4) {
    return services::RegistryWriteText(args[1], ValueName(args[2]), args[3]) ? 0 : 1;
  } else if (command == "regdelete" && count == 3) {
    return services::RegistryDeleteValue(args[1], ValueName(args[2])) ? 0 : 1;
  } else if (command == "clipboard" && count == 2) {
    return services::SetClipboardText(args[1]) ? 0 : 1;
  } else if (command == "seconds" && count == 1) {
    std::printf("%s\n", std::to_string(services::LocalSeconds()).c_str());
  } else if (command == "mutex" && count == 2) {
    return HoldMutex(args[1]);
  } else if (command == "mutexexists" && count == 2) {
    return MutexExists(args[1]);
  } else if (command == "strings" && count >= 3) {
    return ModuleStrings(args);
  } else {
    return Usage();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // scripts compare the bytes: no CR before LF
  if (argc < 2) return Usage();
  const int code = Run(Args(argv + 1, argv + argc));
  std::fflush(stdout);
  return code;
}
