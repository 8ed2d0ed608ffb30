#pragma once
// The Windows services the program's logic relies on, one function per service. The Windows
// build implements them in platform/win32/; the unit tests link fakes in their place. Every
// service may fail; the results say how, and no failure is reported to the user here.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace services {

// A top-level window handle, kept as a number (window handles fit in 32 bits on every
// Windows, 64-bit included).
using WindowHandle = std::uint32_t;
using ProcessId = std::uint32_t;

// Special folders (CSIDL numbers).
constexpr int kFolderDocuments = 0x05;
constexpr int kFolderRecent = 0x08;
constexpr int kFolderAppData = 0x1A;
constexpr int kFolderStartMenu = 0x0B;
constexpr int kFolderCommonStartMenu = 0x16;
constexpr int kFolderWindows = 0x24;
constexpr int kFolderPrograms = 0x02;
constexpr int kFolderCommonPrograms = 0x17;

enum class RegistryRoot { CurrentUser, ClassesRoot, LocalMachine };
enum class CursorShape { Arrow, Wait, AppStarting };

struct ScreenInfo {
  int right = 0;   // right edge of the primary monitor (its width; it starts at 0, 0)
  int bottom = 0;  // bottom edge (height)
  int depth = 0;   // bits per pixel of the primary display
  int dpi = 96;    // resolution of the primary display (96 is 100 %)
};

struct TopLevelWindow {
  WindowHandle handle = 0;
  bool visible = false;      // WS_VISIBLE
  bool tool_window = false;  // WS_EX_TOOLWINDOW
  std::string title;         // at most 255 characters
  ProcessId process = 0;
  bool owned = false;        // has an owner window (a dialog or palette of another window)
  bool app_window = false;   // WS_EX_APPWINDOW: shown on the taskbar even when owned
  bool cloaked = false;      // hidden by the desktop window manager (another virtual desktop, a suspended app)
  bool desktop = false;      // the desktop's own window (the shell window)
};

struct RunningProcess {
  ProcessId id = 0;
  std::string file_name;  // executable file name without folder, e.g. "notepad.exe"
};

// --- folders and files ---
// Path of a special folder ending in "\", or "" when Windows cannot resolve it.
std::string SpecialFolder(int csidl);
// Full path of the program's own executable ("" on failure).
std::string ProgramFilePath();
// Creates one folder level; an existing folder or a failure is ignored.
void CreateFolder(const std::string& path);
enum class PathKind { Missing, File, Folder };
// What a path names now (GetFileAttributes).
PathKind KindOfPath(const std::string& path);
// True when the drive of this letter ('Z') is mapped to a network share, connected or not
// (GetDriveType); the drive itself is not asked anything.
bool IsNetworkDrive(char letter);

// --- text written by others (desktop.ini files, string tables of other modules) ---
// The UTF-16 text in the system's 8-bit code page, or nothing when a character has no place in
// it (no look-alike stands in for it).
std::optional<std::string> ToSystemCodePage(const std::u16string& units);
// Strings of a module's string table by number, each nothing when missing or empty; where the
// module has language resource files, their strings for the user's language. The module is a
// path as written (its %VARIABLES% expanded) and is mapped as data only: none of its code runs,
// whoever wrote the file that names it. All nothing when it cannot be read.
std::vector<std::optional<std::u16string>> ModuleStrings(const std::string& module,
                                                         const std::vector<std::uint32_t>& ids);

// --- processes ---
// True when a 32-bit process runs on 64-bit Windows (IsWow64Process, looked up at run time;
// false when the function is missing).
bool Is32BitOn64BitWindows();
ProcessId CurrentProcessId();
// Ends a process with the given exit code; false when it cannot be opened or ended.
bool TerminateProcessById(ProcessId id, unsigned exit_code);
// The processes running now, in the system's order.
std::vector<RunningProcess> RunningProcesses();
// Full executable path of the process owning a window, or "": asked with the least rights
// (QueryFullProcessImageNameA, looked up at run time), so that elevated programs answer too;
// where that function is missing, GetModuleFileNameExA (also looked up).
std::string ProcessImagePath(WindowHandle window);
// Creates the named mutex, initially owned, held until the process ends.
void HoldNamedMutex(const std::string& name);
// Ends the program's own process at once with the exit code: nothing of the program runs after
// it. For an end where another thread may still hold a lock that the normal end would wait for.
void EndProcessAtOnce(unsigned exit_code);

// --- environment ---
// Notes the variables Windows composes for the user now (CreateEnvironmentBlock, looked up at
// run time in userenv.dll): what a later rebuild may remove. At start-up.
void RememberLogonEnvironment();
// Rebuilds the process's environment from the user's and the system's variables as Windows
// composes them now, so that the programs started from here get a variable the user changed
// (an installer's new PATH, setx) as those Explorer starts do: changed and new ones are set,
// ones Windows composed before but no longer are removed, the rest (the "=C:" entries, the
// variables the program was started with) stay; see platform::MergeEnvironment. Any failure
// leaves the environment as it is.
void RefreshEnvironmentFromLogon();

// --- screen, pointer, windows ---
std::optional<ScreenInfo> MeasureScreen();
// Loads the arrow, wait and app-starting cursors; true only if all three loaded.
bool LoadCursors();
void ShowCursorShape(CursorShape shape);
// Top-level windows in Z order, from the top.
std::vector<TopLevelWindow> TopLevelWindows();
// Whether the user is in a full-screen program (a game, a presentation, a video) or otherwise
// busy, as the shell tells it (SHQueryUserNotificationState, looked up at run time: false where
// it is missing).
bool FullScreenProgramShown();

// --- registry ---
// Text of a value ("" names the default value), or nothing when the key or value is missing.
std::optional<std::string> RegistryReadText(RegistryRoot root, const std::string& key, const std::string& name);
// Sets a text value under HKEY_CURRENT_USER, creating the key; false on failure.
bool RegistryWriteText(const std::string& key, const std::string& name, const std::string& text);
// Deletes a value under HKEY_CURRENT_USER; false when it was not there or could not be deleted.
bool RegistryDeleteValue(const std::string& key, const std::string& name);
// Raw bytes of a value of any type, at most `buffer_size` of them (the key opened for query
// only, then closed), or nothing when the key or value is missing or the value is larger.
std::optional<std::vector<std::uint8_t>> RegistryReadBytes(RegistryRoot root, const std::string& key,
                                                           const std::string& name, std::size_t buffer_size);
// Names of the values of a key (opened for query only, then closed), in the system's order, or
// nothing when the key is missing or holds more than `max_names` values. One listing costs what
// one value read does, however many of the names are asked about afterwards.
std::optional<std::vector<std::string>> RegistryValueNames(RegistryRoot root, const std::string& key,
                                                           std::size_t max_names);

// --- shell ---
// COM on the calling thread, as ShellExecute and the shell's icon calls need (the GUI thread,
// once at start; the background thread has its own).
void PrepareShellCalls();
// Opens a file, folder or address through the shell (ShellExecute, normal window); an empty
// verb means the default verb. Nothing is reported when it fails.
void ShellOpen(const std::string& file, const std::string& verb, const std::string& parameters,
               const std::string& folder);
// Starts a program from a complete command line (normal window and priority, no handles
// inherited) in the working folder, or the program's own when it is empty. False when
// Windows cannot start it (it is not an executable file).
bool StartProgram(const std::string& command_line, const std::string& working_folder);
// Restores a minimised window and brings it to the foreground, without waiting for its program
// (which may not answer).
void SwitchToWindow(WindowHandle window);
// Posts a command to the taskbar window ("Shell_TrayWnd"), without waiting for it; nothing when
// there is none.
void SendTaskbarCommand(int command);
// Empties Windows' own list of recently used documents (SHAddToRecentDocs with no document).
void ClearRecentDocuments();

// --- clipboard and clock ---
// Replaces the clipboard's content with plain text; false when the clipboard cannot be opened.
bool SetClipboardText(const std::string& text);
// Seconds from 1970-01-01 00:00:00 to the local wall-clock date and time (no time-zone conversion).
std::int64_t LocalSeconds();
// Whole seconds on a clock that only goes forward (the system's tick count since it started):
// periods are measured on it, so a wall clock set back or forward neither holds work off nor
// bunches it up.
std::int64_t MonotonicSeconds();
void SleepMilliseconds(int milliseconds);

// --- hidden helper processes ---
// Starts `executable` with `parameters` as its command-line arguments, its window hidden and
// its standard output on a pipe (standard input and error inherited), in the program's own
// working folder. Hands what it writes to `on_output` as it arrives, polling every 10 ms, until
// it has ended and everything is read, or until it has written nothing for more than
// `stall_limit_ms`; then ends the process in any case. False when it cannot be started.
bool RunHiddenWithOutput(const std::string& executable, const std::string& parameters, int stall_limit_ms,
                         const std::function<void(const std::string& bytes)>& on_output);
// Ends every hidden program still running, so that the reads of RunHiddenWithOutput return at
// once, and starts none afterwards (the runs then report false). For the end of the program.
void EndHiddenPrograms();

// --- background thread ---
// A thread handle kept as a number; 0 stands for none.
using ThreadHandle = std::uintptr_t;
// Runs `body` on a new thread at below-normal priority, with COM initialised on that thread for
// the shell calls it makes; 0 when the thread cannot be started.
ThreadHandle StartBackgroundThread(void (*body)());
bool ThreadRunning(ThreadHandle thread);
// Waits up to `timeout_ms` for the thread to end; true when it has ended.
bool WaitForThread(ThreadHandle thread, int timeout_ms);
// Releases the handle (the thread itself runs on if it has not ended).
void ReleaseThread(ThreadHandle thread);

// --- shell icons ---
// An icon handle kept as a number; 0 stands for no icon. Icons are never destroyed. Each is
// asked for at the size it is drawn at, `side` x `side` pixels (16 at 96 DPI).
using IconHandle = std::uintptr_t;
// The shell's icon of an existing file, or 0.
IconHandle FileIcon(const std::string& path, int side);
// The shell's icon of a file type (".txt"), found without touching the disk, or 0.
IconHandle TypeIcon(const std::string& dotted_extension, int side);
// The first icon of shell32.dll, the generic document icon, or 0.
IconHandle GenericIcon(int side);

// --- console helper ---
// The console helper's executable image that the program carries, or "" when it is missing.
std::string ConsoleHelperImage();

// --- settings window and catalogue: dialogs, the desktop wallpaper, folder listing ---
// The system colour dialog in its basic form, owned by the active window, with `initial`
// (0x00BBGGRR) preselected and in the first custom-colour slot; the chosen colour, or nothing
// when the dialog was cancelled.
std::optional<std::uint32_t> ChooseColour(std::uint32_t initial);
// The system file-open dialog owned by the active window, with one filter (its name and
// patterns such as "*.jpg;*.bmp"), starting in `start_folder`; the chosen file's full path, or
// nothing when cancelled. The program's working folder is left as it was.
std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& filter_name,
                                            const std::string& filter_patterns, const std::string& start_folder);
// File name of the current desktop wallpaper (SystemParametersInfo, at most 260 characters),
// "" when there is none.
std::string DesktopWallpaper();
struct FolderEntry {
  std::string name;
  bool is_folder = false;
  std::uint64_t size = 0;        // bytes (0 for a folder)
  std::uint64_t last_write = 0;  // the system's time stamp of the last change
};
// The entries of a folder (path ending in "\") in the order the system lists them, "." and
// ".." included when the system lists them; empty when the folder cannot be listed.
std::vector<FolderEntry> ListFolder(const std::string& folder);

// --- folder watches ---
// A watch of one folder's own entries (not those of its sub-folders): names, sizes, last-write
// times; 0 stands for none (the folder cannot be watched).
using WatchHandle = std::uintptr_t;
WatchHandle WatchFolder(const std::string& folder);
// True when something changed in the folder since the watch began or since it last said so;
// the watch goes on.
bool FolderChanged(WatchHandle watch);
void StopWatch(WatchHandle watch);

}  // namespace services
