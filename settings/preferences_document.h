#pragma once
// The entries of a key = value document and their text form, without any file handling.
#include <string>
#include <vector>

namespace settings {

struct PreferenceEntry {
  enum class Kind { GroupHeader, Comment, Pair };
  Kind kind = Kind::Pair;
  std::string text;   // header name, comment text, or the key of a pair
  std::string value;  // pair only; kept with its trailing blanks
};

using PreferenceEntries = std::vector<PreferenceEntry>;

// Every line becomes a header ("[name]"), a comment ("; text"), a pair ("key = value"; a line
// without "=" is a key with an empty value) or nothing (empty line). CR LF, a lone LF and a lone
// CR all end a line. Nothing is ever rejected.
PreferenceEntries ParsePreferences(const std::string& content);

// One line per entry, each ending in CR LF; with a signature the text starts with the UTF-8
// signature and an empty line.
std::string FormatPreferences(const PreferenceEntries& entries, bool utf8_signature);

constexpr char kUtf8Signature[] = "\xEF\xBB\xBF";

}  // namespace settings

namespace settings {

// Removes leading and trailing spaces and tabs.
std::string TrimBlanks(const std::string& text);

}  // namespace settings
