#pragma once
// Conversions between the program's 8-bit texts (byte value = code point U+0000-U+00FF) and
// UTF-8, for documents that carry a UTF-8 signature.
#include <string>

namespace settings {

// Characters above U+00FF, and bytes that are not well-formed UTF-8, become "?" each.
std::string Utf8ToLatin1(const std::string& utf8);
std::string Latin1ToUtf8(const std::string& latin1);

}  // namespace settings
