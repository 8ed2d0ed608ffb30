#pragma once
// The documents Windows records as recently used, read from its own index in the registry
// (RecentDocs of the current user) at every build of the menu window that lists them. Nothing
// is kept between reads.
#include <string>
#include <vector>

namespace sources {

struct RecentDocument {
  std::string DisplayName;   // the document's file name, without a " (n)" duplicate marker
  std::string ShortcutName;  // the shortcut's file name in the recent folder, marker kept, ending in ".lnk"
  std::string Extension;     // of DisplayName, lower case, without the dot; never empty
};

// The documents of the last read (one list for the whole process, filled only by
// ReadRecentDocuments).
std::vector<RecentDocument>& RecentDocuments();

// Clears and fills RecentDocuments. Normally in Windows' order, most recent first, stopping
// as soon as there are more than RecentDocsMaximum (so up to the maximum + 1); with `all` (the
// menu asks for every document), every document, sorted by DisplayName ignoring letter case.
void ReadRecentDocuments(bool all);

// Order of DisplayName in the all-documents list: bytes compared as unsigned values after
// folding the Windows-1252 capitals (A-Z, À-Þ except ×, Š, Œ, Ž, Ÿ) to their small letters.
bool NameLessIgnoringCase(const std::string& a, const std::string& b);

}  // namespace sources
