#pragma once
// Text in the forms Windows writes it, for the tests of what reads it.
#include <optional>
#include <string>

namespace test_text {

// The code page of the tests: Latin-1, what a Western European Windows mostly is.
inline std::optional<std::string> Latin1(const std::u16string& units) {
  std::string text;
  for (const char16_t unit : units) {
    if (unit > 0xFF) return std::nullopt;
    text.push_back(static_cast<char>(unit));
  }
  return text;
}

// UTF-16 little-endian bytes after their byte-order mark.
inline std::string Utf16Le(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

}  // namespace test_text
