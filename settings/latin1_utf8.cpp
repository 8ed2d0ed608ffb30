#include "settings/latin1_utf8.h"

namespace settings {

namespace {

unsigned char At(const std::string& text, std::size_t at) {
  return at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the well-formed sequence starting at `at` (lead byte and its continuation bytes),
// or 0 when the lead byte cannot start one.
std::size_t SequenceLength(const std::string& text, std::size_t at) {
  const unsigned char lead = At(text, at);
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;  // C0 and C1 would be over-long
  if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  for (std::size_t i = 1; i < length; ++i) {
    if (!IsContinuation(At(text, at + i))) return 0;
  }
  return length;
}

}  // namespace

std::string Utf8ToLatin1(const std::string& utf8) {
  std::string latin1;
  latin1.reserve(utf8.size());
  std::size_t at = 0;
  while (at < utf8.size()) {
    const unsigned char lead = At(utf8, at);
    if (lead < 0x80) {
      latin1 += static_cast<char>(lead);
      ++at;
      continue;
    }
    const std::size_t length = SequenceLength(utf8, at);
    if (length == 2 && lead <= 0xC3) {
      // U+0080-U+00FF: the byte is the code point.
      latin1 += static_cast<char>(((lead & 0x1F) << 6) | (At(utf8, at + 1) & 0x3F));
    } else {
      latin1 += '?';
    }
    at += length == 0 ? 1 : length;
  }
  return latin1;
}

std::string Latin1ToUtf8(const std::string& latin1) {
  std::string utf8;
  utf8.reserve(latin1.size());
  for (char c : latin1) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (byte >> 6));
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

}  // namespace settings
