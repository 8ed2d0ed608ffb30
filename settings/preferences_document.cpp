#include "settings/preferences_document.h"

namespace settings {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Reads the document line by line; `at` always points into `content` or at its end.
class Parser {
 public:
  explicit Parser(const std::string& content) : content_(content) {}

  PreferenceEntries Run() {
    while (at_ < content_.size()) {
      while (at_ < content_.size() && IsBlank(content_[at_])) ++at_;
      if (at_ >= content_.size()) break;
      const char first = content_[at_];
      if (first == ';') {
        ReadComment();
      } else if (first == '[') {
        ReadGroupHeader();
      } else if (!IsLineEnd(first)) {
        ReadPair();
      }
      while (at_ < content_.size() && IsLineEnd(content_[at_])) ++at_;
    }
    return std::move(entries_);
  }

 private:
  // First occurrence of c between `at_` and `end`, or `end`: the search never leaves the line,
  // so a large file without "=" still parses in one pass.
  std::size_t FindInLine(char c, std::size_t end) const {
    std::size_t found = at_;
    while (found < end && content_[found] != c) ++found;
    return found;
  }

  std::size_t LineEnd() const {
    std::size_t end = at_;
    while (end < content_.size() && !IsLineEnd(content_[end])) ++end;
    return end;
  }

  void ReadComment() {
    ++at_;
    if (at_ < content_.size() && content_[at_] == ' ') ++at_;
    const std::size_t end = LineEnd();
    entries_.push_back({PreferenceEntry::Kind::Comment, content_.substr(at_, end - at_), ""});
    at_ = end;
  }

  void ReadGroupHeader() {
    ++at_;
    const std::size_t end = LineEnd();
    const std::size_t close = FindInLine(']', end);
    entries_.push_back({PreferenceEntry::Kind::GroupHeader, content_.substr(at_, close - at_), ""});
    at_ = end;  // text after "]" is ignored
  }

  void ReadPair() {
    const std::size_t end = LineEnd();
    const std::size_t equals = FindInLine('=', end);
    std::size_t key_end = equals;
    while (key_end > at_ && IsBlank(content_[key_end - 1])) --key_end;
    PreferenceEntry pair{PreferenceEntry::Kind::Pair, content_.substr(at_, key_end - at_), ""};
    if (equals < end) {
      std::size_t value_start = equals + 1;
      while (value_start < end && IsBlank(content_[value_start])) ++value_start;
      pair.value = content_.substr(value_start, end - value_start);
    }
    entries_.push_back(std::move(pair));
    at_ = end;
  }

  const std::string& content_;
  std::size_t at_ = 0;
  PreferenceEntries entries_;
};

}  // namespace

PreferenceEntries ParsePreferences(const std::string& content) { return Parser(content).Run(); }

std::string FormatPreferences(const PreferenceEntries& entries, bool utf8_signature) {
  std::string text;
  if (utf8_signature) text = std::string(kUtf8Signature) + "\r\n";
  for (const PreferenceEntry& entry : entries) {
    switch (entry.kind) {
      case PreferenceEntry::Kind::GroupHeader:
        text += "[" + entry.text + "]";
        break;
      case PreferenceEntry::Kind::Comment:
        text += "; " + entry.text;
        break;
      case PreferenceEntry::Kind::Pair:
        text += entry.text + " = " + entry.value;
        break;
    }
    text += "\r\n";
  }
  // A plain document whose first line begins with the signature's bytes would read back as
  // UTF-8; an empty line in front keeps it plain, as it was read.
  if (!utf8_signature && text.compare(0, sizeof kUtf8Signature - 1, kUtf8Signature) == 0) text = "\r\n" + text;
  return text;
}

}  // namespace settings

namespace settings {

std::string TrimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace settings
