// The appearance page: the colour editor changes the standard look at once and shows it in the
// preview; the standard colours and the background picture buttons rebuild the window.
#include "tests/settings_window_fixture.h"

#include "settings/settings_store.h"

namespace settings_window_test {
namespace {

using fakes::FakeServices;
using fakes::FakeUi;
using settings::StandardColours;

constexpr int kTitleBackRow = 1;

class AppearancePage : public SettingsWindowFixture {
 protected:
  void Open() {
    fakes::Recorder().window_states[kSettingsWindow].x = 0;
    settings_window::OpenSettingsWindow();
  }
  static std::string Values() {
    std::string values;
    for (int text : {64, 67, 70, 73, 76, 79}) values += TextOf(text) + " ";
    return values;
  }
  static std::string Sliders() {
    std::string values;
    for (int slider : {63, 66, 69, 72, 75, 78}) values += std::to_string(Find(slider)->value) + " ";
    return values;
  }
  static const fakes::FakeControl& Preview(int control) { return *Find(control, kPreviewWindow); }
  // A picture file that LoadSettings can use as a background.
  std::string PictureFile() {
    const std::string path = root_ + "/fond.jpg";
    const std::string jpeg = JpegOf(8, 6);
    EXPECT_TRUE(ui::WriteFileReplacing(path, jpeg));
    return path;
  }
};

TEST_F(AppearancePage, PreviewWindowShowsTheStandardLookOverTheHole) {
  settings::Current().Transparency = 200;
  settings::Current().WindowsTransparency = 0;
  settings_window::OpenSettingsWindow();
  const ui::WindowShape& shape = FakeUi().windows.at(kPreviewWindow);
  EXPECT_EQ(shape.inner_width, 308);
  EXPECT_EQ(shape.inner_height, 164);
  EXPECT_EQ(shape.owner, kSettingsWindow);
  EXPECT_TRUE(shape.draws_elements) << "the same drawn elements as the menu";
  EXPECT_FALSE(FakeUi().windows.at(kSettingsWindow).draws_elements) << "the system's controls stay windows";
  EXPECT_EQ(FakeUi().window_alpha[kPreviewWindow], 200);  // whatever WindowsTransparency says
  EXPECT_EQ(fakes::Recorder().window_states[kPreviewWindow].background_colour,
            StandardColours()[settings::kListingColor]);
  std::string fonts;
  for (const fakes::FakeControl& control : fakes::ControlsOf(kPreviewWindow))
    fonts += std::to_string(control.number) + ":" + std::to_string(control.font) + " ";
  EXPECT_EQ(fonts, "42:0 35:11 43:0 36:13 37:13 38:14 39:14 40:12 41:0 ");
  EXPECT_EQ(Preview(35).colours.background, StandardColours()[settings::kTitleBackColor]);
  EXPECT_EQ(Preview(40).colours.text, StandardColours()[settings::kTooltipColor]);
  for (int transparent : {37, 38, 39}) EXPECT_TRUE(Preview(transparent).colours.transparent) << transparent;
  EXPECT_EQ(Preview(39).colours.text, StandardColours()[settings::kLinkHiColor]);
}

TEST_F(AppearancePage, PreviewFollowsTheWindowWhenItMoves) {
  settings_window::OpenSettingsWindow();
  fakes::Recorder().window_states[kSettingsWindow].x = 100;
  fakes::Recorder().window_states[kSettingsWindow].y = 50;
  settings_window::SettingsWindowMoved(kSettingsWindow);
  EXPECT_EQ(fakes::Recorder().window_states[kPreviewWindow].x, 100 + 368 + 1);
  EXPECT_EQ(fakes::Recorder().window_states[kPreviewWindow].y, 50 + 34 + 1);
  fakes::Recorder().window_states[kSettingsWindow].x = 300;
  settings_window::SettingsWindowMoved(1);  // another window: nothing to follow
  EXPECT_EQ(fakes::Recorder().window_states[kPreviewWindow].x, 469);
}

TEST_F(AppearancePage, RgbAndHslSlidersConvertAndColourThePreview) {
  Open();
  Choose(60, kTitleBackRow);
  EXPECT_EQ(settings_window::SelectedElement(), kTitleBackRow);
  EXPECT_EQ(Values(), "212 83 48 20 117 229 ");
  EXPECT_EQ(Sliders(), "212 83 48 20 117 229 ");
  Slide(72, 255);
  Slide(75, 0);
  Slide(78, 0);
  EXPECT_EQ(StandardColours()[settings::kTitleBackColor], 0x0000FFu);
  EXPECT_EQ(Values(), "0 100 50 255 0 0 ");
  EXPECT_EQ(Preview(35).colours.background, 0x0000FFu);
  EXPECT_EQ(Preview(35).colours.text, StandardColours()[settings::kTitleColor]);

  ui::SetSliderValue(kSettingsWindow, 66, 40);  // moved without a report: the text stays the source
  Slide(63, 120);
  EXPECT_EQ(Values(), "120 100 50 0 255 0 ");
  EXPECT_EQ(Find(66)->value, 40);
  EXPECT_EQ(StandardColours()[settings::kTitleBackColor], 0x00FF00u);
  EXPECT_EQ(Preview(35).colours.background, 0x00FF00u);
}

TEST_F(AppearancePage, EachRowColoursItsPreviewPart) {
  Open();
  Choose(60, 0);
  Slide(72, 1);
  EXPECT_EQ(fakes::Recorder().window_states[kPreviewWindow].background_colour,
            StandardColours()[settings::kListingColor]);
  EXPECT_EQ(StandardColours()[settings::kListingColor] & 0xFF, 1u);
  Choose(60, 11);  // the horizontal line is drawn twice
  Slide(75, 7);
  EXPECT_EQ(Preview(42).colours.background, 0xFF07FFu);
  EXPECT_EQ(Preview(43).colours.background, 0xFF07FFu);
  Choose(60, 6);  // a transparent text keeps its transparency
  Slide(78, 9);
  EXPECT_EQ(Preview(38).colours.text, 0x092020u);
  EXPECT_TRUE(Preview(38).colours.transparent);
}

TEST_F(AppearancePage, SlidersWithoutAnElementDoNothing) {
  Open();
  const settings::ColourSet before = StandardColours();
  Slide(63, 100);
  Slide(72, 100);
  FakeServices().chosen_colour = 0x123456;
  Press(80);
  EXPECT_EQ(StandardColours(), before);
  EXPECT_EQ(TextOf(73), "0");
  EXPECT_TRUE(FakeServices().colour_dialog_initials.empty());
}

TEST_F(AppearancePage, ColourDialogStartsFromTheColourAndMayBeCancelled) {
  Open();
  Choose(60, kTitleBackRow);
  Press(80);
  EXPECT_EQ(StandardColours()[settings::kTitleBackColor], settings::DefaultColour(settings::kTitleBackColor));
  FakeServices().chosen_colour = 0x808080;
  Press(80);
  EXPECT_EQ(FakeServices().colour_dialog_initials,
            (std::vector<std::uint32_t>{0xE57514, 0xE57514}));
  EXPECT_EQ(StandardColours()[settings::kTitleBackColor], 0x808080u);
  EXPECT_EQ(Values(), "0 0 50 128 128 128 ");
  EXPECT_EQ(Preview(35).colours.background, 0x808080u);
}

TEST_F(AppearancePage, WindowBackgroundIsRefusedWhileAPictureIsInUse) {
  settings::Current().BackgroundFile = PictureFile();
  settings::SaveSettings();
  settings::LoadSettings();
  Open();
  EXPECT_EQ(fakes::Recorder().window_states[kPreviewWindow].background_image, settings::kStandardBackgroundImage);
  Choose(60, 3);
  Choose(60, 0);
  ASSERT_EQ(FakeUi().messages.size(), 1u);
  EXPECT_EQ(FakeUi().messages[0].first, "Information");
  EXPECT_EQ(FakeUi().messages[0].second, "La couleur de fond ne peut pas être réglée si une image de fond est active");
  EXPECT_EQ(Find(60)->selection, 3);
  EXPECT_EQ(settings_window::SelectedElement(), 3);

  Press(85);  // "Aucun": rebuilt without a picture, and the row can be chosen
  EXPECT_EQ(settings::Current().BackgroundFile, "");
  Choose(60, 0);
  EXPECT_EQ(FakeUi().messages.size(), 1u);
  EXPECT_EQ(settings_window::SelectedElement(), 0);
}

TEST_F(AppearancePage, StandardColoursAskThenResetColoursAndPicture) {
  ListSkins({"Nuit"});
  settings::Current().SelectedSkin = "Nuit";
  settings::Current().BackgroundFile = "C:\\fond.jpg";
  StandardColours()[settings::kLinkColor] = 1;
  Open();
  fakes::Recorder().window_states[kSettingsWindow].x = 123;
  fakes::Recorder().window_states[kSettingsWindow].y = 45;
  FakeUi().answers = {ui::Answer::No};
  Press(88);
  EXPECT_EQ(StandardColours()[settings::kLinkColor], 1u);
  EXPECT_EQ(FakeUi().messages.back().second, "Réinitialiser toutes les couleurs aux paramètres par défaut?");

  FakeUi().answers = {ui::Answer::Yes};
  Press(88);
  EXPECT_EQ(StandardColours(), settings::DefaultColours());
  EXPECT_EQ(settings::Current().BackgroundFile, "");
  EXPECT_EQ(settings::Current().SelectedSkin, "");
  EXPECT_NE(SavedPrefs().find("LinkColor = 2105376\r\n"), std::string::npos);
  // A fresh window at the same place.
  ASSERT_TRUE(IsOpen());
  EXPECT_FALSE(FakeUi().windows.at(kSettingsWindow).centred);
  EXPECT_EQ(FakeUi().windows.at(kSettingsWindow).x, 123);
  EXPECT_EQ(FakeUi().windows.at(kSettingsWindow).y, 45);
  EXPECT_EQ(Find(55)->selection, 0);
}

TEST_F(AppearancePage, BackgroundButtons) {
  ListSkins({"Nuit"});
  settings::Current().SelectedSkin = "Nuit";
  Open();
  Press(83);  // cancelled
  ASSERT_EQ(FakeServices().file_dialogs.size(), 1u);
  const auto& dialog = FakeServices().file_dialogs[0];
  EXPECT_EQ(dialog.title, "Choisissez l'image de fond pour apparence standard");
  EXPECT_EQ(dialog.filter_name, "Image (JPG,BMP)");
  EXPECT_EQ(dialog.filter_patterns, "*.jpg;*.bmp");
  EXPECT_EQ(dialog.start_folder, "C:\\Mes documents\\");
  Press(84);  // no wallpaper
  EXPECT_EQ(settings::Current().SelectedSkin, "Nuit");
  EXPECT_EQ(SavedPrefs(), "<missing>");

  FakeServices().chosen_file = "C:\\Images\\plage.jpg";
  Press(83);
  EXPECT_EQ(settings::Current().BackgroundFile, "C:\\Images\\plage.jpg");
  EXPECT_EQ(settings::Current().SelectedSkin, "");  // a background goes with the standard look
  EXPECT_EQ(TextOf(82), "plage.jpg");

  FakeServices().wallpaper = "C:\\Windows\\fond d'écran.bmp";
  Press(84);
  EXPECT_EQ(settings::Current().BackgroundFile, "C:\\Windows\\fond d'écran.bmp");
  Press(85);
  EXPECT_EQ(settings::Current().BackgroundFile, "");
  EXPECT_NE(SavedPrefs().find("BackgroundFile = \r\n"), std::string::npos);
}

}  // namespace
}  // namespace settings_window_test
