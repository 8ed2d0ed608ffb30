#pragma once
// Window, control and image numbers of the settings window and its preview. The main loop
// dispatches the active controls by these numbers.

namespace settings_window {

constexpr int kSettingsWindow = 4;
constexpr int kPreviewWindow = 5;
constexpr char kSettingsTitle[] = "Paramètres - Kestrivalume";
constexpr char kPreviewTitle[] = "Aperçu - Kestrivalume";
constexpr int kSettingsWidth = 700;
constexpr int kSettingsHeight = 552;

// Left half: general options, display options, choice of look.
constexpr int kGeneralGroup = 24;
constexpr int kLoadOnWindowsStartBox = 25;
constexpr int kNoMouseClickNeededBox = 26;
constexpr int kShowLinkToolTipsBox = 27;
constexpr int kShowActiveTasksBox = 28;
constexpr int kShowMostUsedBox = 29;
constexpr int kClearMostUsedButton = 30;
constexpr int kShowLastUsedBox = 31;
constexpr int kClearLastUsedButton = 32;
constexpr int kRecentDocumentsText = 87;
constexpr int kClearRecentDocumentsButton = 34;
constexpr int kDisplayGroup = 44;
constexpr int kColumnWidthText = 45;
constexpr int kColumnWidthValue = 46;
constexpr int kColumnWidthSlider = 47;
constexpr int kTransparencyText = 48;
constexpr int kTransparencyValue = 49;
constexpr int kTransparencySlider = 50;
constexpr int kLookText = 51;
constexpr int kSkinList = 55;
constexpr int kSkinPreview = 56;

// Right half: the standard look.
constexpr int kStandardLookGroup = 57;
constexpr int kPreviewHole = 58;
constexpr int kElementHint = 59;
constexpr int kElementList = 60;
constexpr int kHueScale = 61;
constexpr int kHueSlider = 63, kHueValue = 64;
constexpr int kSaturationSlider = 66, kSaturationValue = 67;
constexpr int kLightnessSlider = 69, kLightnessValue = 70;
constexpr int kRedSlider = 72, kRedValue = 73;
constexpr int kGreenSlider = 75, kGreenValue = 76;
constexpr int kBlueSlider = 78, kBlueValue = 79;
constexpr int kColourDialogButton = 80;
constexpr int kStandardColoursButton = 88;
constexpr int kBackgroundText = 81;
constexpr int kBackgroundValue = 82;
constexpr int kBackgroundFileButton = 83;
constexpr int kBackgroundDesktopButton = 84;
constexpr int kBackgroundNoneButton = 85;
constexpr int kApplyButton = 86;

// The container left as a hole, and the preview window placed 1 pixel inside it.
constexpr int kHoleX = 368, kHoleY = 34, kHoleWidth = 310, kHoleHeight = 166;
constexpr unsigned kHoleColour = 0xFF00FF;  // magenta, the settings window's colour key

// Images: the hue spectrum carried in the program, the skin preview loaded on demand.
constexpr int kHueScaleImage = 30;
constexpr int kSkinPreviewImage = 35;
constexpr int kSkinPreviewWidth = 315;
constexpr int kSkinPreviewHeight = 100;

}  // namespace settings_window
