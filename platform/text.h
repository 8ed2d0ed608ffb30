#pragma once
// Small text helpers for the program's 8-bit texts.
#include <string>
#include <vector>

namespace platform {

// Lower-cases A-Z only; other bytes (accented letters included) stay as they are.
std::string LowerAscii(std::string text);

// Splits at every `separator`; n separators give n + 1 fields (empty ones included).
std::vector<std::string> SplitFields(const std::string& text, char separator);

}  // namespace platform
