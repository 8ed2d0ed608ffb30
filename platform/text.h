#pragma once
// Small text helpers for the program's 8-bit texts.
#include <string>
#include <vector>

namespace platform {

// Lower-cases A-Z only; other bytes (accented letters included) stay as they are.
std::string LowerAscii(std::string text);

// Splits at every `separator`; n separators give n + 1 fields (empty ones included).
std::vector<std::string> SplitFields(const std::string& text, char separator);

// The one order of Start-menu names and folders: texts compared byte by byte as unsigned values
// after folding A-Z to lower case (no other letter is folded, so accented letters come after
// "z"), a text before any longer text that begins with it. Negative, zero or positive as a sorts
// before, with or after b.
int CompareFolded(const std::string& a, const std::string& b);

inline bool FoldedLess(const std::string& a, const std::string& b) { return CompareFolded(a, b) < 0; }

}  // namespace platform
