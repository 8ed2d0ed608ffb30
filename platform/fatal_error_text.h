#pragma once
// Text of the report shown when a processor exception is not handled anywhere. Built into a fixed
// buffer without touching the heap: the report is written after a crash, when the heap may be the
// very thing that is broken.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform {

// Who to send the report to; shown under the report in the message box.
constexpr char kSupportContact[] = "Varnholtiqa support, support@varnholtiqa.example";

constexpr char kFatalErrorTitle[] = "ERROR";

// The program a report speaks for: the main program, or the console helper, which shares it.
struct ReportedProgram {
  const char* name;         // "Program name:"
  const char* version;      // "Program version:"
  const char* main_module;  // "Program module:" of module 0
};

constexpr ReportedProgram kMainProgram = {"Kestrivalume", "Version 1.12.06.05", "Kestrivalume"};

struct FatalErrorText {
  static constexpr std::size_t kCapacity = 1024;  // the longest report is well under 600 bytes
  char text[kCapacity] = {};        // whole message box text, NUL-terminated
  std::size_t clipboard_length = 0;  // the report proper: the first bytes of `text`
  std::size_t length = 0;

  std::string_view clipboard() const { return {text, clipboard_length}; }
  std::string_view message_box() const { return {text, length}; }
};

// Message for an exception code; "Unknown error code" for a code not in the table.
const char* FatalErrorMessage(std::uint32_t code);

// The report for an exception `code` at `address` (only its low 32 bits are reported) while the
// location marker held `location`. Numbers are written as signed 32-bit decimals, lines end in
// CR LF.
FatalErrorText BuildFatalErrorText(std::uint32_t code, std::uint64_t address, std::uint32_t location,
                                   const ReportedProgram& program = kMainProgram);

}  // namespace platform
