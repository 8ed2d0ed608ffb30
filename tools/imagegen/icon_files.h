#pragma once
// The icon pictures imagegen is handed: PNGs whose names start with the icon's number
// ("07-applications-off@20.png"), each number rendered once at every side wanted.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace imagegen {

// The .ico file of every icon at every side, by (number, side).
using IconFiles = std::map<std::pair<int, int>, std::vector<std::uint8_t>>;

// Reads each PNG, takes its side from the picture itself and encodes it. Nothing, with the
// reason on stderr, unless icons 0 .. icon_count - 1 each come exactly once at each of `sides`.
std::optional<IconFiles> LoadIconFiles(const std::vector<std::string>& pngs, int icon_count,
                                       const std::vector<int>& sides);

}  // namespace imagegen
