#pragma once
// Where the program is: one process-wide value updated before each step of the program's logic,
// so that the fatal error report can say which place in the source was last reached.
//   bits 0-23   the marked place: file number x 10,000 + source line
//   bits 24-31  index of the source module (0 = the main module)
// A file that marks places names its number once, after its includes:
//   KV_MARKED_FILE(501);
// and each KV_MARK() in it then records 501 x 10,000 + its line, so a report's "Program line:
// 5010081" is line 81 of file 501. Numbers are unique across the programs (scripts/marked_places.py
// checks them, and maps a reported number back to its file and line); the hundreds digit block
// names the folder.
#include <cstdint>

namespace platform {

constexpr std::uint32_t kLocationLineMask = 0x00FFFFFFu;
constexpr int kLocationModuleShift = 24;

constexpr int kLinesPerMarkedFile = 10000;
// The highest file number whose places all fit in the 24 bits.
constexpr int kMaxMarkedFile = static_cast<int>(kLocationLineMask / kLinesPerMarkedFile) - 1;

constexpr int MarkedPlace(int file, int line) { return file * kLinesPerMarkedFile + line; }

// Records a place of the main module (module 0). The value is cut to its low 24 bits.
void MarkLocation(int line);

// The value last recorded by any thread (0 before the first mark).
std::uint32_t CurrentLocation();

constexpr std::uint32_t LocationLine(std::uint32_t location) { return location & kLocationLineMask; }
constexpr std::uint32_t LocationModule(std::uint32_t location) { return location >> kLocationModuleShift; }

}  // namespace platform

// Names the number of the file that marks places; once per file, at file scope.
#define KV_MARKED_FILE(number)                                                                         \
  namespace {                                                                                          \
  constexpr int kMarkedFile = (number);                                                                \
  static_assert(kMarkedFile >= 0 && kMarkedFile <= ::platform::kMaxMarkedFile, "file number too large"); \
  }                                                                                                    \
  static_assert(true, "")

// Marks the current place: the file's number and the source line.
#define KV_MARK()                                                                                       \
  do {                                                                                                  \
    static_assert(__LINE__ < ::platform::kLinesPerMarkedFile, "a marked file must stay under 10,000 lines"); \
    ::platform::MarkLocation(::platform::MarkedPlace(kMarkedFile, __LINE__));                            \
  } while (false)
