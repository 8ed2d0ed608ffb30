// Test program for the menu's two live sources under Wine: runs the steps named on the command
// line in order and prints what the program would list.
//   recentprobe <step>...
//   maximum <n>     RecentDocsMaximum for the following reads
//   all             AllDocumentsShown on for the following reads
//   documents       ReadRecentDocuments: "document TAB display name TAB shortcut name TAB extension" lines
//   windows         creates four windows of its own ("recentprobe first" and "recentprobe second",
//                   visible, the second above the first; "recentprobe tool", a visible tool window;
//                   "recentprobe hidden"; and a visible one without title), then prints
//                   EnumerateRunningPrograms as "window TAB 0x<handle> TAB title" lines
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "menu/view_state.h"
#include "settings/settings.h"
#include "sources/recent_documents.h"
#include "sources/running_programs.h"

namespace {

using Args = std::vector<std::string>;

void PrintDocuments() {
  sources::ReadRecentDocuments(menu::View().AllDocumentsShown);
  for (const sources::RecentDocument& document : sources::RecentDocuments()) {
    std::printf("document\t%s\t%s\t%s\n", document.DisplayName.c_str(), document.ShortcutName.c_str(),
                document.Extension.c_str());
  }
}

HWND CreateTestWindow(const char* title, DWORD style, DWORD ex_style) {
  return CreateWindowExA(ex_style, "RecentProbeWindow", title, style, 100, 100, 300, 200, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void PrintWindows() {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "RecentProbeWindow";
  RegisterClassA(&window_class);
  CreateTestWindow("recentprobe hidden", WS_OVERLAPPEDWINDOW, 0);
  CreateTestWindow("", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0);
  CreateTestWindow("recentprobe tool", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_TOOLWINDOW);
  CreateTestWindow("recentprobe first", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0);
  CreateTestWindow("recentprobe second", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0);
  for (const sources::RunningProgram& program : sources::EnumerateRunningPrograms()) {
    std::printf("window\t0x%lx\t%s\n", static_cast<unsigned long>(program.Window), program.Title.c_str());
  }
}

// Runs the step at args[i]; returns how many arguments it used, 0 for a bad step.
std::size_t RunStep(const Args& args, std::size_t i) {
  const std::string& step = args[i];
  if (step == "maximum" && i + 1 < args.size()) {
    settings::Current().RecentDocsMaximum = std::atoi(args[i + 1].c_str());
    return 2;
  }
  if (step == "all") return menu::View().AllDocumentsShown = true, 1;
  if (step == "documents") return PrintDocuments(), 1;
  if (step == "windows") return PrintWindows(), 1;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // scripts compare the bytes: no CR before LF
  const Args args(argv + 1, argv + argc);
  if (args.empty()) {
    std::fprintf(stderr, "recentprobe: bad command line (see main.cpp)\n");
    return 2;
  }
  for (std::size_t i = 0; i < args.size();) {
    const std::size_t used = RunStep(args, i);
    if (used == 0) {
      std::fprintf(stderr, "recentprobe: bad step '%s'\n", args[i].c_str());
      return 2;
    }
    i += used;
  }
  return 0;
}
