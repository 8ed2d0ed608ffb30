#pragma once
// The process-wide record of the user's options, with the defaults a new user gets.
#include <array>
#include <cstdint>
#include <string>

namespace settings {

// 0x00BBGGRR: red in the low byte.
using Colour = std::uint32_t;

// The twelve colours of a look, always in this order.
enum ColourIndex {
  kListingColor,
  kTitleBackColor,
  kTitleColor,
  kSubTitleBackColor,
  kSubTitleColor,
  kFontColor,
  kLinkColor,
  kLinkHiColor,
  kTooltipBackColor,
  kTooltipColor,
  kLineColorVertical,
  kLineColorHorizontal,
  kColourCount
};

using ColourSet = std::array<Colour, kColourCount>;

// Flags are signed 8-bit values, true when non-zero.
using Flag = std::int8_t;

struct Settings {
  Flag LoadOnWindowsStart = 1;
  Flag NoMouseClickNeeded = 1;
  Flag ShowLinkToolTips = 1;
  Flag WindowsTransparency = 1;
  std::int32_t TransparencyMain = 200;
  std::int32_t Transparency = 230;
  std::string SelectedSkin;
  std::string BackgroundFile;
  std::int32_t MostUsedMaximum = 10;
  std::int32_t LastUsedMaximum = 10;
  std::int32_t RecentDocsMaximum = 15;
  Flag ShowProgImmediate = 0;
  Flag ShowDocsImmediate = 1;
  Flag ShowFilterExe = 1;
  Flag ShowFilterHlp = 1;
  Flag ShowFilterDoc = 1;
  Flag ShowActiveTasks = 1;
  Flag ShowMostUsed = 1;
  Flag ShowLastUsed = 1;
  std::int32_t DisplayColumnWidth = 190;
};

// The one record every module reads; changed only by loading, the settings window and the
// menu window's toggles.
Settings& Current();

// The three looks, all black until the first load: the standard look (stored in the
// preferences file, edited by the settings window), the selected skin's colours (never stored)
// and what the menu window draws with (a copy of one of the two, made by LoadSettings).
ColourSet& StandardColours();
ColourSet& SkinColours();
ColourSet& ActiveColours();

// --- derived state, refreshed by LoadSettings only ---

// Image numbers of the pictures LoadSettings prepares for the menu window. The line images
// are absent when their size would not be positive.
constexpr int kStandardBackgroundImage = 31;
constexpr int kSkinBackgroundImage = 32;
constexpr int kVerticalLineImage = 33;    // 1 x (screen bottom - 75), LineColorVertical
constexpr int kHorizontalLineImage = 34;  // (DisplayColumnWidth - 10) x 1, LineColorHorizontal

// A background picture: the file in effect ("" when there is none) and whether its image,
// stretched to the screen, is stored under image_number.
struct BackgroundSlot {
  std::string file_name;
  int image_number = 0;
  bool has_image = false;
};

BackgroundSlot& StandardBackground();  // BackgroundFile of the standard look
BackgroundSlot& SkinBackground();      // the selected skin's background.jpg

}  // namespace settings
