// kvtool: runs one command given on the command line; see usage() and README.md.
#include "kvtool.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>

namespace {

using Command = int (*)(const kvtool::Args&);

struct Entry {
  const char* name;
  Command run;
};

constexpr Entry kCommands[] = {
    {"lnk", kvtool::cmd_lnk},
    {"readlnk", kvtool::cmd_readlnk},
    {"url", kvtool::cmd_url},
    {"regset", kvtool::cmd_regset},
    {"regget", kvtool::cmd_regget},
    {"regdel", kvtool::cmd_regdel},
    {"find", kvtool::cmd_find},
    {"post", kvtool::cmd_post},
    {"send", kvtool::cmd_send},
    {"dump", kvtool::cmd_dump},
    {"accessible", kvtool::cmd_accessible},
    {"accessible-do", kvtool::cmd_accessible_do},
    {"accessible-at", kvtool::cmd_accessible_at},
    {"number", kvtool::cmd_number},
    {"wait-number", kvtool::cmd_wait_number},
    {"wait-build", kvtool::cmd_wait_build},
    {"answer-watch", kvtool::cmd_answer_watch},
    {"windows", kvtool::cmd_windows},
    {"wait-window", kvtool::cmd_wait_window},
    {"wait-gone", kvtool::cmd_wait_gone},
    {"pid", kvtool::cmd_pid},
    {"state", kvtool::cmd_state},
    {"zorder", kvtool::cmd_zorder},
    {"alive", kvtool::cmd_alive},
    {"wait-exit", kvtool::cmd_wait_exit},
    {"process-counts", kvtool::cmd_process_counts},
    {"clipboard", kvtool::cmd_clipboard},
    {"setclipboard", kvtool::cmd_setclipboard},
    {"wallpaper", kvtool::cmd_wallpaper},
    {"broadcast-environment", kvtool::cmd_broadcast_environment},
    {"display-mode", kvtool::cmd_display_mode},
    {"monitors", kvtool::cmd_monitors},
    {"msgbox-text", kvtool::cmd_msgbox_text},
    {"msgbox-click", kvtool::cmd_msgbox_click},
};

constexpr const char* kUsage =
    "usage: kvtool <command> [arguments]    exit 0 = success, 1 = failure (message on stderr)\n"
    "\n"
    "Shortcuts\n"
    "  lnk <file.lnk> <target> [arguments] [workdir]   create a shell link\n"
    "  readlnk <file.lnk> [--workdir]                  print target TAB arguments [TAB workdir]\n"
    "  url <file.url> <address>                        write an Internet shortcut\n"
    "Registry (<root> = HKCU|HKLM|HKCR, <name> @ = default value)\n"
    "  regset <root> <key> <name> sz|expand_sz <text>\n"
    "  regset <root> <key> <name> dword <decimal|0xhex>\n"
    "  regset <root> <key> <name> binary-hex <hex bytes, e.g. 0a1b or 0a,1b>\n"
    "  regset <root> <key> <name> mruex <comma-separated indices>\n"
    "  regset <root> <key> <name> recentdoc <document name> <shortcut name>\n"
    "  regget [--type] <root> <key> <name>             print the value (dword decimal, binary hex)\n"
    "  regdel [--missing-ok] <root> <key> [name]       delete a value, or the key tree without name\n"
    "Windows\n"
    "  find <window>                                   print the handles of matching windows\n"
    "  post <window> close | command <id> | message <msg> <wparam> <lparam>\n"
    "                | registered <message name> <wparam> <lparam>\n"
    "  send <window> close | command <id> | message <msg> <wparam> <lparam>   print the result\n"
    "  dump <window>                                   window geometry, styles and child controls\n"
    "  accessible <window>                             the client object's children, as a screen reader reads them\n"
    "  accessible-at <window> <x> <y>                  the child at a screen point (accHitTest): id, 0 the window, -1 none\n"
    "  accessible-do <window> <child id> [--after-close]  performs a child's default action (accDoDefaultAction);\n"
    "                                                  then what the object answers once the window is gone\n"
    "  number <window> <property>                      a number the program published on its window\n"
    "  wait-number <window> <property> <least> <ms>    wait until that number is at least <least>\n"
    "  wait-build <window> <build> <ms>                wait until the window is shown from a later build\n"
    "                                                  and its thread answers; print its build\n"
    "  answer-watch <window> <threshold ms> <stop file>  WM_NULL every 50 ms until the file exists;\n"
    "                                                  print the slowest answer and each one over threshold\n"
    "  windows                                         visible top-level windows\n"
    "  wait-window <window> <ms>                       wait until a matching window exists\n"
    "  wait-gone <window> <ms>                         wait until no matching window exists\n"
    "  pid <window>                                    print the owning process id\n"
    "  state <window>                                  visible, iconic, foreground and topmost, 0 or 1\n"
    "  zorder <window> topmost|notopmost               put the window in or out of the topmost band\n"
    "  msgbox-text <window>                            print static and button texts of a dialog\n"
    "  msgbox-click <window> <button text>             press a dialog button\n"
    "Session\n"
    "  alive <pid>                                     exit 0 if the process is running\n"
    "  wait-exit <pid> <ms>                            waits for the process to end; prints its exit code\n"
    "  process-counts <pid>                            windows, GDI objects, memory and handles it holds\n"
    "  clipboard                                       print the clipboard text exactly\n"
    "  setclipboard <text>                             put text on the clipboard\n"
    "  wallpaper [file]                                set the wallpaper, or print it\n"
    "  broadcast-environment                           tell every top-level window the environment\n"
    "                                                  variables changed (WM_SETTINGCHANGE \"Environment\")\n"
    "  display-mode <width> <height>                   change the primary display's resolution\n"
    "  monitors                                        count, primary rectangle, virtual desktop size\n"
    "\n";

void print_usage(std::FILE* stream) {
  std::fputs(kUsage, stream);
  std::fputs(kvtool::kWindowSelectorHelp, stream);
  std::fputs("\n", stream);
}

}  // namespace

int main(int argc, char** argv) {
  // Scripts read our output: no CR before each LF, and clipboard bytes unchanged.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  if (argc < 2) {
    print_usage(stderr);
    return 1;
  }
  if (std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0) {
    print_usage(stdout);
    return 0;
  }
  const kvtool::Args args(argv + 2, argv + argc);
  for (const auto& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) {
      const int code = command.run(args);
      std::fflush(stdout);
      return code;
    }
  }
  std::fprintf(stderr, "kvtool: unknown command '%s' (run kvtool help)\n", argv[1]);
  return 1;
}
