// Strict argument parsers: a whole argument must be valid, otherwise the command is refused
// instead of silently using a default.
#include "kvtool.h"

namespace kvtool {
namespace {

int digit_value(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

// Unsigned magnitude of "123" or "0x7b"; nullopt on empty input, stray characters or overflow.
std::optional<std::uint64_t> parse_magnitude(const std::string& text, bool allow_hex) {
  int base = 10;
  std::size_t pos = 0;
  if (allow_hex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    pos = 2;
  }
  if (pos >= text.size()) return std::nullopt;
  std::uint64_t value = 0;
  for (; pos < text.size(); ++pos) {
    const int digit = digit_value(text[pos], base);
    if (digit < 0) return std::nullopt;
    if (value > (UINT64_MAX - static_cast<std::uint64_t>(digit)) / static_cast<std::uint64_t>(base)) {
      return std::nullopt;
    }
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
  }
  return value;
}

}  // namespace

std::optional<std::int64_t> parse_integer(const std::string& text, std::int64_t min, std::int64_t max) {
  const bool negative = !text.empty() && text[0] == '-';
  const auto magnitude = parse_magnitude(negative ? text.substr(1) : text, !negative);
  if (!magnitude) return std::nullopt;
  if (negative) {
    if (*magnitude > static_cast<std::uint64_t>(INT64_MAX) + 1) return std::nullopt;
    const std::int64_t value = static_cast<std::int64_t>(0 - *magnitude);
    if (value < min || value > max) return std::nullopt;
    return value;
  }
  if (*magnitude > static_cast<std::uint64_t>(max)) return std::nullopt;
  const auto value = static_cast<std::int64_t>(*magnitude);
  if (value < min) return std::nullopt;
  return value;
}

std::optional<std::uintptr_t> parse_machine_word(const std::string& text) {
  if (!text.empty() && text[0] == '-') {
    const auto value = parse_integer(text, INTPTR_MIN, 0);
    if (!value) return std::nullopt;
    return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(*value));
  }
  const auto value = parse_magnitude(text, true);
  if (!value || *value > UINTPTR_MAX) return std::nullopt;  // no silent truncation in 32-bit builds
  return static_cast<std::uintptr_t>(*value);
}

std::optional<std::vector<std::uint8_t>> parse_hex_bytes(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    const bool separator = c == ' ' || c == ',' || c == ':';
    if (separator && !bytes.empty() && pos + 1 < text.size()) ++pos;  // one, between two bytes
    if (pos + 1 >= text.size()) return std::nullopt;
    const int high = digit_value(text[pos], 16);
    const int low = digit_value(text[pos + 1], 16);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    pos += 2;
  }
  return bytes;
}

std::optional<std::vector<std::uint32_t>> parse_integer_list(const std::string& text, std::uint32_t max) {
  std::vector<std::uint32_t> values;
  if (text.empty()) return values;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const auto value = parse_integer(item, 0, max);
    if (!value) return std::nullopt;
    values.push_back(static_cast<std::uint32_t>(*value));
    if (comma == std::string::npos) return values;
    start = comma + 1;
  }
}

}  // namespace kvtool
