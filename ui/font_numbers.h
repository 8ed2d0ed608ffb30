#pragma once
// The program's fonts by number: start-up makes them, the windows draw their texts with them.

namespace ui {

// 1 and 8 are reserved names of two bold Arial fonts nothing else refers to.
constexpr int kFontReserved1 = 1;
constexpr int kFontReserved8 = 8;
constexpr int kFontLargeTitle = 11;
constexpr int kFontInformation = 12;
constexpr int kFontSmallBold = 13;
constexpr int kFontControl = 14;
constexpr int kFontLink = 15;

}  // namespace ui
