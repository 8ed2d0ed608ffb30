#pragma once
// The one order of the helper's output: texts compared byte by byte as unsigned values after
// folding A-Z to lower case (no other letter is folded), a text before any longer text that
// begins with it. Folders and names sort the same way.
#include <string>

namespace console {

// Negative, zero or positive as a sorts before, with or after b.
int CompareFolded(const std::string& a, const std::string& b);

inline bool FoldedLess(const std::string& a, const std::string& b) { return CompareFolded(a, b) < 0; }

}  // namespace console
