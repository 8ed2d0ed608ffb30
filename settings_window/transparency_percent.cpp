#include "settings_window/transparency_percent.h"

namespace settings_window {

namespace {
// A hand-edited value far outside 0-255 must not overflow the products below.
constexpr std::int64_t kLimit = 1000000000;
std::int64_t Bounded(std::int64_t value) { return value < -kLimit ? -kLimit : value > kLimit ? kLimit : value; }
}  // namespace

std::int64_t PercentShown(std::int64_t transparency) { return ((256 - Bounded(transparency)) * 100) / 255; }

std::int64_t OpacityOfPercent(std::int64_t percent) { return 255 - (Bounded(percent) * 255) / 100; }

}  // namespace settings_window
