#pragma once
// The one text-to-number and number-to-text pair behind every numeric setting and usage key.
#include <cstdint>
#include <string>

namespace settings {

// Blanks (spaces, tabs), one optional sign, then "$" and hexadecimal digits, "%" and binary
// digits, or decimal digits; reading stops at the first character outside the base. The digits
// are accumulated in 64 bits, wrapping silently, so any text gives a value and never an error:
// text without digits gives 0. Callers keep the low 32 bits (numbers) or 8 bits (flags).
std::int64_t ParseNumber(const std::string& text);
// The low 32 bits of ParseNumber, as a signed number.
std::int32_t ParseNumber32(const std::string& text);
// The low 8 bits of ParseNumber, as a signed flag value (2 stays 2, 256 becomes 0).
std::int8_t ParseFlag(const std::string& text);

// Decimal digits with "-" in front of a negative value; "0" for zero.
std::string FormatNumber(std::int64_t value);

}  // namespace settings
