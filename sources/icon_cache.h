#pragma once
// Shell icons of files and file types, asked of the shell once per file name and once per
// extension for the whole run. The catalogue refresh thread and the GUI thread both use it; the
// shell is never asked with the lock held, so that a slow answer (a file on an unreachable
// network drive takes seconds) keeps no other thread waiting.
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "platform/services.h"

namespace sources {

struct IconCache {
  explicit IconCache(int icon_side = 16);
  // The size the icons are asked for (they are drawn at it): 16 pixels at 96 DPI.
  const int side;
  // Lower-case key -> icon (0 allowed: a failed question is remembered too). A file type's own
  // icon is kept; 0 there stands for the generic icon.
  std::unordered_map<std::string, services::IconHandle> icons;
  // Keys whose question is being asked by some thread: whoever else needs them meanwhile gets
  // no icon rather than waiting or asking again.
  std::unordered_set<std::string> pending;
  // The generic document icon, asked for once and shared by every type without an icon of its own.
  enum class Question { NotAsked, Pending, Answered };
  Question generic_question = Question::NotAsked;
  services::IconHandle generic = 0;
  // The one lock of the program: the refresh thread and the GUI thread both ask.
  std::mutex lock;
};

// The cache lookups of the whole run go to, of the icons at the size the menu draws them (16
// pixels at 96 DPI, scaled for the primary display's DPI). A thread may keep the reference for
// as long as it likes: no cache is ever destroyed.
IconCache& ProcessIconCache();
// The side of the icons drawn at `dpi`.
int IconSideAt(int dpi);
// GUI thread, when the menu is built: when the icons drawn at `dpi` are of another side than the
// process cache's, later lookups go to a cache of that side (new and empty, or the one used
// earlier at that side). The cache left keeps its icons: a refresh thread may still be parsing
// with it, and the published catalogue draws them until the next refresh replaces it.
void FollowScreenDpi(int dpi);

// Back to one empty cache at the screen's DPI, as at start-up (tests; no other thread may be
// using a cache).
void ResetIconCaches();

// Key of a file: its name without folder and quotes, lower case ("C:\A\Setup.EXE" -> "setup.exe").
std::string FileIconKey(const std::string& path);
// Key of a file type: "." + the extension in lower case ("PDF" -> ".pdf").
std::string ExtensionIconKey(const std::string& extension);

// The icon of a file, or 0 (also while another thread asks the shell about the same file name).
services::IconHandle FileIcon(IconCache& cache, const std::string& path);
services::IconHandle FileIcon(const std::string& path);
// The icon of a file type (extension without the dot); the generic icon when the shell has
// none; 0 while another thread asks the shell about the type or the generic icon.
services::IconHandle ExtensionIcon(IconCache& cache, const std::string& extension);
services::IconHandle ExtensionIcon(const std::string& extension);

}  // namespace sources
