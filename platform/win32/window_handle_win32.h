#pragma once
// Conversions between HWND and the program's 32-bit window numbers. Windows keeps window
// handles 32-bit even in 64-bit processes so that 32- and 64-bit programs can share them: only
// the low 32 bits are significant, and a number is widened again by sign extension.
#include <windows.h>

#include <cstdint>

#include "platform/services.h"

namespace services::win32 {

inline HWND ToHwnd(WindowHandle handle) {
  const auto extended = static_cast<std::intptr_t>(static_cast<std::int32_t>(handle));
  return reinterpret_cast<HWND>(extended);
}

// The window's number, or 0 (no window) for a value that is no 32-bit handle, zero- or
// sign-extended.
inline WindowHandle ToWindowHandle(HWND window) {
  const auto value = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window));
  const std::uint64_t high_bits = value >> 32;
  if (high_bits != 0 && high_bits != 0xFFFFFFFFu) return 0;
  return static_cast<WindowHandle>(value);
}

}  // namespace services::win32
