// Output helpers shared by all commands: one result per line on stdout, errors on stderr.
#include "kvtool.h"

#include <cstdio>

namespace kvtool {

int fail(const std::string& message) {
  std::fprintf(stderr, "kvtool: %s\n", message.c_str());
  return 1;
}

int usage_error(const char* synopsis) {
  std::fprintf(stderr, "kvtool: usage: kvtool %s\n", synopsis);
  return 1;
}

void print_line(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
}

std::string escape_field(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (byte < 0x20 || byte == 0x7f) {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02x", byte);
      out += code;
    } else {
      out += c;
    }
  }
  return out;
}

std::string hex_handle(HWND window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
  return text;
}

std::string hex_dword(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(value));
  return text;
}

std::string hex_bytes(const std::vector<std::uint8_t>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (std::uint8_t byte : bytes) {
    out += digits[byte >> 4];
    out += digits[byte & 0x0f];
  }
  return out;
}

std::string last_error_text() {
  return "error " + std::to_string(GetLastError());
}

}  // namespace kvtool
