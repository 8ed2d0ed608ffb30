// The system's common dialogs: colour chooser and file-open. Their library is loaded at the
// first dialog: with it come the printing libraries, several megabytes the program would
// otherwise carry from start to end for a dialog most sessions never open.
#include <windows.h>
#include <commdlg.h>

#include "platform/services.h"
#include "platform/win32/library_function_win32.h"

namespace services {
namespace {

HMODULE DialogLibrary() {
  static const HMODULE library = win32::SystemLibrary("comdlg32.dll");
  return library;
}

}  // namespace

std::optional<std::uint32_t> ChooseColour(std::uint32_t initial) {
  static COLORREF custom_colours[16] = {};
  custom_colours[0] = initial;
  CHOOSECOLORA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.rgbResult = initial;
  dialog.lpCustColors = custom_colours;
  dialog.Flags = CC_RGBINIT;  // the basic form: the custom part stays folded
  static const auto choose = win32::LibraryFunction<BOOL(WINAPI*)(CHOOSECOLORA*)>(DialogLibrary(), "ChooseColorA");
  if (!choose || !choose(&dialog)) return std::nullopt;
  return static_cast<std::uint32_t>(dialog.rgbResult & 0xFFFFFF);
}

std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& filter_name,
                                            const std::string& filter_patterns, const std::string& start_folder) {
  // Name and patterns, each ending in NUL, then an empty entry.
  std::string filter = filter_name;
  filter += '\0';
  filter += filter_patterns;
  filter += '\0';
  filter += '\0';
  char file[MAX_PATH * 4] = {};
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrInitialDir = start_folder.empty() ? nullptr : start_folder.c_str();
  dialog.lpstrTitle = title.c_str();
  // The working folder stays: the program starts its helper and programs relative to it.
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  static const auto open = win32::LibraryFunction<BOOL(WINAPI*)(OPENFILENAMEA*)>(DialogLibrary(), "GetOpenFileNameA");
  if (!open || !open(&dialog)) return std::nullopt;
  file[sizeof file - 1] = '\0';
  return std::string(file);
}

}  // namespace services
