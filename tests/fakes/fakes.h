#pragma once
// Fakes of the Windows services and of the user-interface runtime for the unit tests: tests set
// what a service returns and read what was asked of it. Reset() before each test.
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/services.h"
#include "ui/events.h"
#include "ui/image.h"
#include "ui/message_box.h"
#include "ui/window.h"

namespace fakes {

struct Services {
  std::map<int, std::string> special_folders;
  std::string program_path = "C:\\Programmes\\Kestrivalume\\Kestrivalume.exe";
  std::vector<std::string> created_folders;
  std::map<std::string, services::PathKind> path_kinds;  // everything else is missing
  std::set<char> network_drives;  // letters of the drives mapped to a share ('Z')
  std::vector<std::pair<std::string, std::string>> started_programs;  // (command line, folder)
  bool program_start_succeeds = false;
  std::vector<services::WindowHandle> switched_to;
  std::vector<int> taskbar_commands;
  services::CursorShape cursor_shape = services::CursorShape::Arrow;
  std::vector<services::CursorShape> cursor_shapes;
  bool wow64 = false;
  services::ProcessId current_process = 4242;
  std::vector<services::RunningProcess> processes;
  std::vector<std::pair<services::ProcessId, unsigned>> terminated;
  std::map<services::WindowHandle, std::string> image_paths;
  std::vector<std::string> mutexes;
  std::optional<services::ScreenInfo> screen = services::ScreenInfo{1920, 1080, 32};
  bool cursors_load = true;
  std::vector<services::TopLevelWindow> windows;
  bool full_screen_program = false;  // FullScreenProgramShown()
  std::map<std::tuple<services::RegistryRoot, std::string, std::string>, std::string> registry;
  std::vector<std::tuple<std::string, std::string, std::string, std::string>> shell_opened;
  std::string clipboard;
  std::int64_t now = 1000000;       // LocalSeconds: the wall clock, which may go back
  std::int64_t monotonic = 5000;    // MonotonicSeconds
  std::optional<unsigned> ended_at_once;  // EndProcessAtOnce's exit code
  std::int64_t slept_ms = 0;  // total of SleepMilliseconds
  int recent_documents_cleared = 0;  // calls of ClearRecentDocuments
  // Hidden helper processes: each run is recorded, then `hidden_output` is handed over piece by
  // piece and `during_hidden_run` is called before the run returns.
  struct HiddenRun {
    std::string executable, parameters;
    int stall_limit_ms;
  };
  std::vector<HiddenRun> hidden_runs;
  bool hidden_run_starts = true;
  std::vector<std::string> hidden_output;
  std::function<void()> during_hidden_run;
  bool hidden_programs_ended = false;  // EndHiddenPrograms was called: no run starts any more
  // Background threads: a started thread waits until the test runs it (fakes::RunThread).
  struct Thread {
    void (*body)();
    bool running, released;
  };
  std::vector<Thread> threads;  // handle = index + 1
  bool threads_start = true;
  std::vector<int> thread_waits;  // time-outs given to WaitForThread
  bool threads_run_at_once = false;  // a started thread runs to its end before the start returns
  // Small icons: answers by path and by ".ext" (0 when missing), and every question asked
  // ("file <path>", "type <.ext>", "generic"), from any thread.
  std::map<std::string, services::IconHandle> file_icons;
  std::map<std::string, services::IconHandle> type_icons;
  services::IconHandle generic_icon = 900;
  std::vector<std::string> icon_questions;
  int icon_answer_delay_us = 0;  // a slow shell, so that two threads overlap
  // Called inside each question, after it is recorded and outside the fake's own lock: a test
  // holds a question there (the shell busy with a file on an unreachable drive).
  std::function<void(const std::string& question)> during_icon_question;
  std::string console_helper_image = "MZ console helper image";  // ConsoleHelperImage()
  // Raw registry values (RegistryReadBytes): a value larger than the buffer asked for is not
  // read. Every read is recorded as (value name, buffer size).
  std::map<std::tuple<services::RegistryRoot, std::string, std::string>, std::vector<std::uint8_t>> registry_bytes;
  std::vector<std::pair<std::string, std::size_t>> registry_byte_reads;
  // RegistryValueNames lists the names of registry_bytes under the key, unless told it cannot.
  bool registry_names_unlistable = false;
  int registry_name_listings = 0;
  // Settings window: the dialogs' answers (nothing = cancelled) and what they were asked, the
  // wallpaper and folder listings by path.
  std::optional<std::uint32_t> chosen_colour;
  std::vector<std::uint32_t> colour_dialog_initials;
  std::optional<std::string> chosen_file;
  struct FileDialog {
    std::string title, filter_name, filter_patterns, start_folder;
  };
  std::vector<FileDialog> file_dialogs;
  std::string wallpaper;
  std::map<std::string, std::vector<services::FolderEntry>> folders;
  // Folder watches: a watch tells a change when the folder's listing differs from what it saw
  // last; folders named here cannot be watched. Every watch asked for is recorded.
  std::set<std::string> unwatchable_folders;
  int folder_listings = 0;  // calls of ListFolder
  struct Watch {
    std::string folder;
    std::vector<services::FolderEntry> seen;
    bool stopped = false;
  };
  std::vector<Watch> watches;  // handle = index + 1
  // String tables by module (as named, before any expansion); every module read is recorded.
  // ToSystemCodePage is Latin-1: what a Western European Windows mostly is.
  std::map<std::string, std::map<std::uint32_t, std::u16string>> module_strings;
  std::vector<std::string> module_reads;
};

struct Ui {
  std::map<int, ui::WindowShape> windows;                      // open windows by number
  std::vector<std::pair<std::string, std::string>> messages;  // (title, text) of message boxes
  std::map<int, int> window_alpha;
  struct Font {
    std::string face;
    int points;
    bool bold;
  };
  std::map<int, Font> fonts;
  bool builtin_images_stored = false;
  // The foreground: the program's window of that number, or with -1 another program's window
  // `other_foreground` (0: no window in the foreground).
  int focused_window = -1;
  std::uintptr_t other_foreground = 77;
  int refusals = 0;          // BringToFront refuses this many calls (-1: every call)
  int press_watch = -1;      // the window WatchPressesOutside watches for
  std::vector<int> retired;  // windows retired and not destroyed yet
  int cursor_x = 500, cursor_y = 500;
  bool cursor_readable = true;   // false: a secure desktop hides the pointer
  bool mouse_button_held = false;
  std::vector<int> kept_on_top;  // KeepOnTop calls
  std::function<void()> session_end;  // the handler given to SetSessionEndHandler
  int dpi = 96;  // of every window and monitor
  std::vector<ui::Event> events;  // returned by WaitEvent in order, then None
  int paused_ms = 0;              // total of Pause calls
  std::map<int, ui::Image> bitmaps;  // images stored with StoreBitmap, by number
  std::vector<ui::Answer> answers;  // given by the next message boxes in order, then Ok
  bool shift_down = false;          // ShiftWasDown()
  std::vector<int> message_owners;  // owner window of each message box
};

Services& FakeServices();
Ui& FakeUi();
bool& FatalErrorReportInstalled();

// Clears every fake to its initial state.
void Reset();

// Runs a started fake thread's body to its end on the calling thread.
void RunThread(services::ThreadHandle thread);

}  // namespace fakes
