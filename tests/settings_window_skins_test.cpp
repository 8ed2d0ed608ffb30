// The choice of look: the skins folder listed as it comes, the chosen skin's preview, the
// Shift+click transfer into the standard look and the skin description on the clipboard.
#include "tests/settings_window_fixture.h"

#include "settings_window/skin_information.h"

namespace settings_window_test {
namespace {

using fakes::FakeServices;
using fakes::FakeUi;

constexpr char kDefaultLookText[] =
    "Courtesy = \r\n"
    "ListingColor = #EAF3FC\r\n"
    "TitleColor = #FFFFFF\r\n"
    "TitleBackColor = #1475E5\r\n"
    "SubTitleColor = #000000\r\n"
    "SubTitleBackColor = #B8CAF5\r\n"
    "FontColor = #000000\r\n"
    "LinkColor = #202020\r\n"
    "LinkHiColor = #808080\r\n"
    "TooltipColor = #000000\r\n"
    "TooltipBackColor = #E1FFFF\r\n"
    "LineColorVertical = #FFFFFF\r\n"
    "LineColorHorizontal = #FFFFFF\r\n";

class Skins : public SettingsWindowFixture {
 protected:
  static const fakes::FakeControl& List() { return *Find(settings_window::kSkinList); }
  static const fakes::FakeControl& Preview() { return *Find(settings_window::kSkinPreview); }
  static bool PreviewShown() {
    return Preview().image == settings_window::kSkinPreviewImage &&
           FakeUi().bitmaps.count(settings_window::kSkinPreviewImage) != 0;
  }
};

TEST_F(Skins, ListedInListingOrderAfterTheStandardLook) {
  settings_window::OpenSettingsWindow();  // no skins folder: the standard look alone
  EXPECT_EQ(List().items.size(), 1u);
  settings_window::ApplySettingsWindow();
  ListSkins({"Zèbre", "automne", "Nuit"});
  settings_window::OpenSettingsWindow();
  EXPECT_EQ(List().items,
            (std::vector<std::string>{"Apparance standarde (voir à droite)", "Zèbre", "automne", "Nuit"}));
  EXPECT_EQ(List().selection, 0);
  settings_window::ApplySettingsWindow();

  settings::Current().SelectedSkin = "AUTOMNE";
  settings_window::OpenSettingsWindow();
  EXPECT_EQ(List().selection, 2);
  settings_window::ApplySettingsWindow();
  EXPECT_EQ(settings::Current().SelectedSkin, "automne");  // the folder's own spelling

  settings::Current().SelectedSkin = "Disparu";  // deleted since: the next Apply forgets it
  settings_window::OpenSettingsWindow();
  EXPECT_EQ(List().selection, 0);
  settings_window::ApplySettingsWindow();
  EXPECT_EQ(settings::Current().SelectedSkin, "");
}

TEST_F(Skins, PreviewOfTheChosenSkinStretchedWithItsTooltip) {
  ListSkins({"Nuit", "Photo", "Vide"});
  WriteSkinFile("Nuit", "preview.jpg", JpegOf(40, 20));
  WriteSkinFile("Vide", "preview.jpg", "");
  settings::Current().SelectedSkin = "Nuit";
  settings_window::OpenSettingsWindow();
  ASSERT_TRUE(PreviewShown());
  EXPECT_EQ(FakeUi().bitmaps[settings_window::kSkinPreviewImage].width, 315);
  EXPECT_EQ(FakeUi().bitmaps[settings_window::kSkinPreviewImage].height, 100);
  EXPECT_EQ(Preview().tooltip, "Shift+Clic pour appliquer ce skin à l'apparence standard");

  for (int index : {2, 3, 0}) {  // no preview, an empty one, the standard look
    Choose(settings_window::kSkinList, index);
    EXPECT_FALSE(PreviewShown()) << index;
    EXPECT_EQ(Preview().tooltip, "") << index;
  }
  Choose(settings_window::kSkinList, 1);
  EXPECT_TRUE(PreviewShown());
  EXPECT_EQ(settings::Current().SelectedSkin, "Nuit");  // chosen, not applied
}

TEST_F(Skins, InformationTextOfTheDefaultLook) {
  EXPECT_EQ(settings_window::SkinInformationText(settings::DefaultColours()), kDefaultLookText);
}

TEST_F(Skins, ShiftApplyPutsTheStandardLookOnTheClipboardOnly) {
  settings_window::OpenSettingsWindow();
  Slide(47, 250);
  FakeUi().shift_down = true;
  Press(settings_window::kApplyButton);
  EXPECT_EQ(FakeServices().clipboard, kDefaultLookText);
  ASSERT_EQ(FakeUi().messages.size(), 1u);
  EXPECT_EQ(FakeUi().messages[0].first, "Skin Information -> Clipboard");
  EXPECT_EQ(FakeUi().messages[0].second, kDefaultLookText);
  EXPECT_TRUE(IsOpen());
  EXPECT_EQ(settings::Current().DisplayColumnWidth, 190);
  EXPECT_EQ(SavedPrefs(), "<missing>");

  FakeUi().shift_down = false;
  Press(settings_window::kApplyButton);
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(settings::Current().DisplayColumnWidth, 250);
}

TEST_F(Skins, ShiftClickOnThePreviewTransfersTheSkin) {
  ListSkins({"Nuit"});
  WriteSkinFile("Nuit", "skininfo.txt", "TitleBackColor = #102030\r\nLinkColor = #abcdef\r\n");
  WriteSkinFile("Nuit", "background.jpg", JpegOf(8, 6));
  settings::Current().SelectedSkin = "Nuit";
  settings_window::OpenSettingsWindow();
  Press(settings_window::kSkinPreview);  // without Shift
  FakeUi().shift_down = true;
  FakeUi().answers = {ui::Answer::No};
  Press(settings_window::kSkinPreview);
  EXPECT_EQ(FakeUi().messages.size(), 1u);
  EXPECT_EQ(SavedPrefs(), "<missing>");
  EXPECT_EQ(settings::StandardColours(), settings::DefaultColours());

  FakeUi().answers = {ui::Answer::Yes};
  Press(settings_window::kSkinPreview);
  EXPECT_EQ(FakeUi().messages.back().second, "Transférer les paramètres de ce skin à l'apparence standard?");
  EXPECT_EQ(settings::StandardColours()[settings::kTitleBackColor], 0x302010u);
  EXPECT_EQ(settings::StandardColours()[settings::kLinkColor], 0xEFCDABu);
  EXPECT_EQ(settings::StandardColours()[settings::kListingColor], settings::DefaultColour(settings::kListingColor));
  EXPECT_EQ(settings::Current().BackgroundFile, SkinFile("Nuit", "background.jpg"));
  EXPECT_EQ(settings::Current().SelectedSkin, "");
  EXPECT_EQ(settings::ActiveColours(), settings::StandardColours());
  EXPECT_TRUE(settings::StandardBackground().has_image);
  EXPECT_NE(SavedPrefs().find("TitleBackColor = 3153936\r\n"), std::string::npos);
  ASSERT_TRUE(IsOpen());
  EXPECT_EQ(List().selection, 0);
}

TEST_F(Skins, ShiftClickWithTheStandardLookDoesNothing) {
  ListSkins({"Nuit"});
  settings_window::OpenSettingsWindow();
  FakeUi().shift_down = true;
  FakeUi().answers = {ui::Answer::Yes};
  Press(settings_window::kSkinPreview);
  EXPECT_TRUE(FakeUi().messages.empty());
  EXPECT_EQ(SavedPrefs(), "<missing>");
}

}  // namespace
}  // namespace settings_window_test
