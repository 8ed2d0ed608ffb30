#include "platform/fatal_error_text.h"

#include "platform/location_marker.h"

namespace platform {
namespace {

struct ErrorMessage {
  std::uint32_t code;
  const char* text;
};

// Searched top to bottom. The texts are shown to users as they are, spelling included.
constexpr ErrorMessage kErrorMessages[] = {
    {0xC0000005u, "Invalid memory access"},
    {0xC000008Cu, "Array bounds exceeded"},
    {0x80000003u, "Debugger breakpoint reached"},
    {0x80000002u, "Misaligned data access"},
    {0xC000008Du, "Denormal floating-point operand"},
    {0xC000008Eu, "Division by zero (floating-point)"},
    {0xC000008Fu, "Inexact floating-point result"},
    {0xC0000090u, "Invalid floating-point operation"},
    {0xC0000091u, "Floating-point overflow (exponent to great)"},
    {0xC0000092u, "Floating-point stack overflow or underflow"},
    {0xC0000093u, "Floating-point underflow (exponent too small)"},
    {0xC000001Du, "Illegal instruction"},
    {0xC0000006u, "Memory page error"},
    {0xC0000094u, "Division by zero "},
    {0xC0000095u, "Integer overflow"},
    {0xC0000026u, "Exception handler returned unknown value"},
    {0xC0000025u, "Exception handler tried to continue after non-continuable exception"},
    {0xC0000096u, "Privileged instruction"},
    {0x80000004u, "Single step trap"},
    {0xC00000FDu, "Stack overflow"},
};

constexpr char kUnknownErrorMessage[] = "Unknown error code";
constexpr char kLineBreak[] = "\r\n";
constexpr char kTwoLineBreaks[] = "\r\n\r\n";

// What does not fit is dropped; the text stays NUL-terminated.
void Append(FatalErrorText& out, const char* text) {
  while (*text != '\0' && out.length + 1 < FatalErrorText::kCapacity) out.text[out.length++] = *text++;
  out.text[out.length] = '\0';
}

// The 32 bits read as a two's complement number, the way the report has always shown them.
std::int64_t AsSigned32(std::uint32_t value) {
  return value >= 0x80000000u ? static_cast<std::int64_t>(value) - 0x100000000LL : value;
}

void AppendDecimal(FatalErrorText& out, std::int64_t value) {
  char digits[24];
  char* first = digits + sizeof digits;
  *--first = '\0';
  const bool negative = value < 0;
  std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  do {
    *--first = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) *--first = '-';
  Append(out, first);
}

// Index 0 is the main module; the others have no names of their own.
void AppendModuleName(FatalErrorText& out, std::uint32_t module_index, const ReportedProgram& program) {
  if (module_index == 0) {
    Append(out, program.main_module);
    return;
  }
  Append(out, "Module ");
  AppendDecimal(out, module_index);
}

}  // namespace

const char* FatalErrorMessage(std::uint32_t code) {
  for (const auto& message : kErrorMessages) {
    if (message.code == code) return message.text;
  }
  return kUnknownErrorMessage;
}

FatalErrorText BuildFatalErrorText(std::uint32_t code, std::uint64_t address, std::uint32_t location,
                                   const ReportedProgram& program) {
  FatalErrorText out;
  Append(out, "A program error occurred!");
  Append(out, kTwoLineBreaks);
  Append(out, "Error message:\t");
  Append(out, FatalErrorMessage(code));
  Append(out, kLineBreak);
  Append(out, "Error code:\t");
  AppendDecimal(out, AsSigned32(code));
  Append(out, kTwoLineBreaks);
  Append(out, "Error address:\t");
  AppendDecimal(out, AsSigned32(static_cast<std::uint32_t>(address)));
  Append(out, kLineBreak);
  Append(out, "Program name:\t");
  Append(out, program.name);
  Append(out, kLineBreak);
  Append(out, "Program version:\t");
  Append(out, program.version);
  Append(out, kLineBreak);
  Append(out, "Program module:\t");
  AppendModuleName(out, LocationModule(location), program);
  Append(out, kLineBreak);
  Append(out, "Program line:\t");
  AppendDecimal(out, LocationLine(location));
  Append(out, kTwoLineBreaks);
  out.clipboard_length = out.length;

  Append(out, "Please send this information which is now in the clipboard to");
  Append(out, kLineBreak);
  Append(out, kSupportContact);
  Append(out, kTwoLineBreaks);
  Append(out, "Continue program execution?    (not recommended)");
  return out;
}

}  // namespace platform
