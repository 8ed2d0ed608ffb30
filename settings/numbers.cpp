#include "settings/numbers.h"

namespace settings {

namespace {

// The digit's value in the base, or -1 when the character does not belong to it.
int DigitValue(char c, unsigned base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

// Low bits of an unsigned value as a signed one, without relying on out-of-range conversions.
template <typename Signed, typename Unsigned>
Signed AsSigned(Unsigned bits) {
  constexpr Unsigned kSignBit = static_cast<Unsigned>(Unsigned(1) << (sizeof(Unsigned) * 8 - 1));
  if (bits < kSignBit) return static_cast<Signed>(bits);
  // bits - 2^n, computed as -(2^n - bits) so that nothing overflows.
  return static_cast<Signed>(-static_cast<Signed>(static_cast<Unsigned>(~bits)) - 1);
}

}  // namespace

std::int64_t ParseNumber(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  unsigned base = 10;
  if (at < text.size() && text[at] == '$') {
    base = 16;
    ++at;
  } else if (at < text.size() && text[at] == '%') {
    base = 2;
    ++at;
  }
  // Unsigned arithmetic: very long digit runs wrap instead of overflowing.
  std::uint64_t value = 0;
  for (; at < text.size(); ++at) {
    const int digit = DigitValue(text[at], base);
    if (digit < 0) break;
    value = value * base + static_cast<unsigned>(digit);
  }
  if (negative) value = ~value + 1;
  return AsSigned<std::int64_t>(value);
}

std::int32_t ParseNumber32(const std::string& text) {
  return AsSigned<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(ParseNumber(text))));
}

std::int8_t ParseFlag(const std::string& text) {
  return AsSigned<std::int8_t>(static_cast<std::uint8_t>(static_cast<std::uint64_t>(ParseNumber(text))));
}

std::string FormatNumber(std::int64_t value) {
  // Work on the magnitude as unsigned so that the most negative value has one too.
  std::uint64_t magnitude = static_cast<std::uint64_t>(value);
  if (value < 0) magnitude = ~magnitude + 1;
  char digits[21];  // a sign and up to 20 digits, filled from the end
  char* first = digits + sizeof digits;
  do {
    *--first = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--first = '-';
  return std::string(first, digits + sizeof digits);
}

}  // namespace settings
