#include "platform/location_marker.h"

#include <atomic>

namespace platform {
namespace {

// Relaxed order is enough: the value is a hint for the error report, not a synchronisation point,
// and a plain store keeps KV_MARK() cheap enough to sit in every loop.
std::atomic<std::uint32_t> g_location{0};

}  // namespace

void MarkLocation(int line) {
  g_location.store(static_cast<std::uint32_t>(line) & kLocationLineMask, std::memory_order_relaxed);
}

std::uint32_t CurrentLocation() { return g_location.load(std::memory_order_relaxed); }

}  // namespace platform
