#pragma once
// Where the program is: one process-wide value updated before each step of the program's logic,
// so that the fatal error report can say which source line was last reached.
//   bits 0-23   source line number
//   bits 24-31  index of the source module (0 = the main module)
#include <cstdint>

namespace shell {

constexpr std::uint32_t kLocationLineMask = 0x00FFFFFFu;
constexpr int kLocationModuleShift = 24;

// Records a line of the main module (module 0). The line is cut to its low 24 bits.
void MarkLocation(int line);

// The value last recorded by any thread (0 before the first mark).
std::uint32_t CurrentLocation();

constexpr std::uint32_t LocationLine(std::uint32_t location) { return location & kLocationLineMask; }
constexpr std::uint32_t LocationModule(std::uint32_t location) { return location >> kLocationModuleShift; }

}  // namespace shell

// Marks the current source line of the main module.
#define KV_MARK() ::shell::MarkLocation(__LINE__)
