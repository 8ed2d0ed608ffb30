// Loading and saving the settings: the preferences file as the user may have edited it, the
// selected skin, the pictures prepared for the menu window and the autostart value.
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "platform/environment.h"
#include "settings/autostart.h"
#include "settings/colours.h"
#include "settings/settings.h"
#include "settings/usage_lists.h"
#include "tests/fakes/fakes.h"
#include "tests/test_images.h"
#include "ui/image_store.h"
#include "ui/text_file.h"

namespace {

using fakes::FakeServices;
using fakes::FakeUi;
using settings::Colour;
using settings::ColourSet;

// What a first save writes: all 32 keys with their defaults, in file order.
const char kDefaultFile[] =
    "LoadOnWindowsStart = 1\r\nNoMouseClickNeeded = 1\r\nShowLinkToolTips = 1\r\nWindowsTransparency = 1\r\n"
    "TransparencyMain = 200\r\nTransparency = 230\r\nSelectedSkin = \r\nBackgroundFile = \r\n"
    "ListingColor = 16577514\r\nTitleColor = 16777215\r\nTitleBackColor = 15037716\r\nSubTitleColor = 0\r\n"
    "SubTitleBackColor = 16108216\r\nFontColor = 0\r\nLinkColor = 2105376\r\nLinkHiColor = 8421504\r\n"
    "TooltipColor = 0\r\nTooltipBackColor = 16777185\r\nLineColorVertical = 16777215\r\n"
    "LineColorHorizontal = 16777215\r\nMostUsedMaximum = 10\r\nLastUsedMaximum = 10\r\nRecentDocsMaximum = 15\r\n"
    "ShowProgImmediate = 0\r\nShowDocsImmediate = 1\r\nShowFilterExe = 1\r\nShowFilterHlp = 1\r\n"
    "ShowFilterDoc = 1\r\nShowActiveTasks = 1\r\nShowMostUsed = 1\r\nShowLastUsed = 1\r\n"
    "DisplayColumnWidth = 190\r\n";

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    root_ = test_images::FreshFolder("settings_store");
    std::filesystem::create_directories(root_ + "/data");
    std::filesystem::create_directories(root_ + "/program");
    platform::Environment& environment = platform::MutableEnv();
    environment.data_folder = root_ + "/data/";
    environment.program_folder = root_ + "/program/";
    environment.screen_right = 192;
    environment.screen_bottom = 108;
    environment.screen_depth = 32;
    settings::Current() = settings::Settings{};
    settings::StandardColours() = settings::SkinColours() = settings::ActiveColours() = ColourSet{};
    settings::StandardBackground() = {"", settings::kStandardBackgroundImage, false};
    settings::SkinBackground() = {"", settings::kSkinBackgroundImage, false};
    settings::MostUsed().clear();
    settings::LastUsed().clear();
  }
  void TearDown() override {
    platform::MutableEnv() = platform::Environment{};
    std::filesystem::remove_all(root_);
  }

  std::string PrefsPath() const { return root_ + "/data/Kestrivalume.prefs"; }
  void WritePrefs(const std::string& text) { ASSERT_TRUE(ui::WriteFileReplacing(PrefsPath(), text)); }
  std::string SavedPrefs() const { return ui::ReadFileBytes(PrefsPath()).value_or("<missing>"); }
  // Files of a skin: on Windows "Skins\<name>\<file>" below the program folder.
  void WriteSkinFile(const std::string& skin, const std::string& file, const std::string& bytes) {
    ASSERT_TRUE(ui::WriteFileReplacing(root_ + "/program/Skins\\" + skin + "\\" + file, bytes));
  }
  std::string PicturePath(const std::string& name, int width, int height, test_images::Rgba colour) {
    const std::string path = root_ + "/" + name;
    test_images::DibPicture bmp;
    bmp.width = width;
    bmp.height = height;
    bmp.rows.assign(height, test_images::Bytes());
    for (auto& row : bmp.rows) {
      for (int x = 0; x < width; ++x) {
        row.insert(row.end(), {std::uint8_t(colour.b), std::uint8_t(colour.g), std::uint8_t(colour.r)});
      }
    }
    test_images::WriteBytes(path, test_images::EncodeBmp(bmp));
    return path;
  }
  std::optional<std::string> RunValue() const {
    return services::RegistryReadText(services::RegistryRoot::CurrentUser, settings::kRunKey, "Kestrivalume");
  }

  std::string root_;
};

TEST_F(SettingsStore, FirstStartUsesDefaultsAndTheNextSaveWritesAllKeysInOrder) {
  settings::LoadSettings();
  const settings::Settings& options = settings::Current();
  EXPECT_EQ(options.DisplayColumnWidth, 190);
  EXPECT_EQ(options.Transparency, 230);
  EXPECT_EQ(options.ShowProgImmediate, 0);
  EXPECT_EQ(settings::StandardColours(), settings::DefaultColours());
  EXPECT_EQ(settings::ActiveColours(), settings::DefaultColours());
  EXPECT_EQ(settings::StandardColours()[settings::kTitleBackColor], 15037716u);

  settings::SaveSettings();
  EXPECT_EQ(SavedPrefs(), kDefaultFile);
  EXPECT_EQ(RunValue(), "\"" + FakeServices().program_path + "\"");
  EXPECT_FALSE(std::filesystem::exists(PrefsPath() + ".tmp"));
}

TEST_F(SettingsStore, HandEditedFileIsReadAsWrittenAndSavedInCanonicalForm) {
  WritePrefs(
      "; edited by hand\r\n"
      "  showfilterexe=2\r\n"
      "SHOWFILTERHLP\t=\t256\n"
      "ShowFilterDoc = 255\r"
      "TransparencyMain = 99999999999\r\n"
      "DisplayColumnWidth = -5 pixels\r\n"
      "SelectedSkin = \t \r\n"
      "BackgroundFile =   C:\\missing picture.jpg  \r\n"
      "ListingColor = $FF\r\n"
      "TitleColor = -1\r\n"
      "LinkColor = 7\r\nLinkColor = 8\r\n"
      "\r\n\r\n"
      "[Later]\r\n"
      "MostUsedMaximum = 99\r\n");
  settings::LoadSettings();
  const settings::Settings& options = settings::Current();
  EXPECT_EQ(options.ShowFilterExe, 2);
  EXPECT_EQ(options.ShowFilterHlp, 0);
  EXPECT_EQ(options.ShowFilterDoc, -1);
  EXPECT_EQ(options.TransparencyMain, 1215752191);
  EXPECT_EQ(options.DisplayColumnWidth, -5);
  EXPECT_EQ(options.BackgroundFile, "C:\\missing picture.jpg");
  EXPECT_EQ(options.MostUsedMaximum, 10);  // stands after a group header
  EXPECT_EQ(settings::StandardColours()[settings::kListingColor], 255u);
  EXPECT_EQ(settings::StandardColours()[settings::kTitleColor], 0xFFFFFFFFu);
  EXPECT_EQ(settings::StandardColours()[settings::kLinkColor], 7u);
  EXPECT_EQ(settings::StandardBackground().file_name, "");  // the key keeps its text

  settings::SaveSettings();
  std::string expected = kDefaultFile;
  auto replace = [&expected](const std::string& from, const std::string& to) {
    const std::size_t at = expected.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    expected.replace(at, from.size(), to);
  };
  replace("ShowFilterExe = 1", "ShowFilterExe = 2");
  replace("ShowFilterHlp = 1", "ShowFilterHlp = 0");
  replace("ShowFilterDoc = 1", "ShowFilterDoc = -1");
  replace("TransparencyMain = 200", "TransparencyMain = 1215752191");
  replace("DisplayColumnWidth = 190", "DisplayColumnWidth = -5");
  replace("BackgroundFile = ", "BackgroundFile = C:\\missing picture.jpg");
  replace("ListingColor = 16577514", "ListingColor = 255");
  replace("TitleColor = 16777215", "TitleColor = -1");
  replace("LinkColor = 2105376", "LinkColor = 7");
  EXPECT_EQ(SavedPrefs(), expected);
}

TEST_F(SettingsStore, AutostartValueFollowsLoadOnWindowsStart) {
  settings::LoadSettings();
  for (int flag : {1, 0, 2, -1}) {
    settings::Current().LoadOnWindowsStart = static_cast<settings::Flag>(flag);
    settings::SaveSettings();
    if (flag > 0) {
      EXPECT_EQ(RunValue(), "\"" + FakeServices().program_path + "\"") << flag;
    } else {
      EXPECT_EQ(RunValue(), std::nullopt) << flag;
    }
  }
  // The program was moved to a folder with a space; an earlier version's unquoted value is mended.
  FakeServices().program_path = "D:\\Mes outils\\Kestrivalume.exe";
  services::RegistryWriteText(settings::kRunKey, settings::kAutostartValueName, "C:\\Ancien\\Kestrivalume.exe");
  settings::Current().LoadOnWindowsStart = 1;
  settings::SaveSettings();
  EXPECT_EQ(RunValue(), "\"D:\\Mes outils\\Kestrivalume.exe\"");
}

TEST_F(SettingsStore, UnwritablePreferencesStillHandleTheAutostartValue) {
  platform::MutableEnv().data_folder = root_ + "/no such folder/";
  settings::LoadSettings();
  settings::SaveSettings();
  EXPECT_FALSE(std::filesystem::exists(root_ + "/no such folder"));
  EXPECT_EQ(RunValue(), "\"" + FakeServices().program_path + "\"");
}

TEST_F(SettingsStore, UsageListsAreLoadedAndSavedWithTheSettings) {
  ASSERT_TRUE(ui::WriteFileReplacing(root_ + "/data/Kestrivalume.mostused", "3\tBloc-notes\tC:\\a.lnk\tC:\\n.exe\r\n"));
  settings::LoadSettings();
  ASSERT_EQ(settings::MostUsed().size(), 1u);
  EXPECT_EQ(settings::MostUsed()[0].Label, "Bloc-notes");
  settings::MostUsed()[0].SortKey = 4;
  settings::SaveSettings();
  EXPECT_EQ(ui::ReadFileBytes(root_ + "/data/Kestrivalume.mostused"), "4\tBloc-notes\tC:\\a.lnk\tC:\\n.exe\r\n");
  EXPECT_EQ(ui::ReadFileBytes(root_ + "/data/Kestrivalume.lastused"), "");
}

TEST_F(SettingsStore, AfterAFailedSaveTheNextLoadKeepsWhatMemoryHolds) {
  const std::string most = root_ + "/data/Kestrivalume.mostused";
  WritePrefs("DisplayColumnWidth = 150\r\n");
  ASSERT_TRUE(ui::WriteFileReplacing(most, "3\tBloc-notes\tC:\\a.lnk\tC:\\n.exe\r\n"));
  settings::LoadSettings();
  settings::Current().DisplayColumnWidth = 220;
  settings::MostUsed()[0].SortKey = 4;
  // Folders where the temporary files would go: every save fails, the files stay readable.
  const std::vector<std::string> blockers = {PrefsPath() + ".tmp", most + ".tmp",
                                             root_ + "/data/Kestrivalume.lastused.tmp"};
  for (const std::string& blocker : blockers) std::filesystem::create_directories(blocker);
  settings::SaveSettings();
  EXPECT_EQ(SavedPrefs(), "DisplayColumnWidth = 150\r\n");
  settings::LoadSettings();  // as Apply does after saving
  EXPECT_EQ(settings::Current().DisplayColumnWidth, 220);
  ASSERT_EQ(settings::MostUsed().size(), 1u);
  EXPECT_EQ(settings::MostUsed()[0].SortKey, 4);
  int width = 0, height = 0;
  ui::ImageSize(settings::kHorizontalLineImage, &width, &height);
  EXPECT_EQ(width, 210) << "the derived images follow memory";

  for (const std::string& blocker : blockers) std::filesystem::remove_all(blocker);
  settings::SaveSettings();
  EXPECT_NE(SavedPrefs().find("DisplayColumnWidth = 220\r\n"), std::string::npos);
  EXPECT_EQ(ui::ReadFileBytes(most), "4\tBloc-notes\tC:\\a.lnk\tC:\\n.exe\r\n");
  WritePrefs("DisplayColumnWidth = 170\r\n");  // once saved, the file is read again
  settings::LoadSettings();
  EXPECT_EQ(settings::Current().DisplayColumnWidth, 170);
}

TEST(ColourTexts, HtmlAndSwappedForms) {
  const char* kExpected[] = {"#EAF3FC", "#FFFFFF", "#1475E5", "#000000", "#B8CAF5", "#000000",
                             "#202020", "#808080", "#000000", "#E1FFFF", "#FFFFFF", "#FFFFFF"};
  for (std::size_t i = 0; i < settings::kColourKeys.size(); ++i) {
    const settings::ColourKey& key = settings::kColourKeys[i];
    EXPECT_EQ(settings::HtmlColourText(settings::DefaultColour(key.index)), kExpected[i]) << key.name;
    EXPECT_EQ(settings::SwapColourText(key.default_text, settings::kTowardsHtml), kExpected[i]) << key.name;
  }
  EXPECT_EQ(settings::HtmlColourText(0x000A0B0C), "#0C0B0A");
  EXPECT_EQ(settings::SwapColourText("#1475e5", settings::kTowardsDefaults), "$E57514");
  EXPECT_EQ(settings::SwapColourText("x1475E5", settings::kTowardsDefaults), "$E57514");
  for (const char* wrong : {"", "#12345", "#1234567", "12345678"}) {
    EXPECT_EQ(settings::SwapColourText(wrong, settings::kTowardsDefaults), "") << wrong;
  }
}

TEST_F(SettingsStore, SelectedSkinGivesTheActiveColoursAndItsBackground) {
  WritePrefs("SelectedSkin = Nuit\r\nTitleColor = 1\r\nLinkHiColor = 2\r\n");
  WriteSkinFile("Nuit", "skininfo.txt",
                "Courtesy = quelqu'un\r\nListingColor = #1475E5\r\nTitleColor = #aabbcc\r\n"
                "FontColor = 1234567\r\nLinkColor = 12345\r\nTooltipColor = #ABCDEF0\r\n");
  const std::string background = PicturePath("background.bmp", 4, 3, {10, 20, 30});
  WriteSkinFile("Nuit", "background.jpg", ui::ReadFileBytes(background).value());
  settings::LoadSettings();

  const ColourSet& skin = settings::SkinColours();
  EXPECT_EQ(skin[settings::kListingColor], settings::DefaultColour(settings::kTitleBackColor));
  EXPECT_EQ(skin[settings::kTitleColor], 0xCCBBAAu);
  EXPECT_EQ(skin[settings::kFontColor], 0x674523u);  // only the length is checked
  EXPECT_EQ(skin[settings::kLinkColor], 0u);
  EXPECT_EQ(skin[settings::kTooltipColor], 0u);
  // Missing keys take the defaults, not the user's standard colours.
  EXPECT_EQ(skin[settings::kLinkHiColor], settings::DefaultColour(settings::kLinkHiColor));
  EXPECT_EQ(settings::StandardColours()[settings::kLinkHiColor], 2u);
  EXPECT_EQ(settings::ActiveColours(), skin);

  const std::string skin_background = root_ + "/program/Skins\\Nuit\\background.jpg";
  EXPECT_EQ(settings::SkinBackground().file_name, skin_background);
  EXPECT_TRUE(settings::SkinBackground().has_image);
  ASSERT_EQ(FakeUi().bitmaps.count(settings::kSkinBackgroundImage), 1u);
  EXPECT_EQ(FakeUi().bitmaps[settings::kSkinBackgroundImage].width, 192);
  EXPECT_EQ(FakeUi().bitmaps[settings::kSkinBackgroundImage].height, 108);
}

TEST_F(SettingsStore, SkinWithoutDescriptionOrFolderKeepsThePreviousSkinColours) {
  ColourSet previous{};
  previous.fill(0x123456);
  settings::SkinColours() = previous;
  WriteSkinFile("Photo", "background.jpg", "");  // empty: no background either
  WritePrefs("SelectedSkin = Photo\r\n");
  settings::LoadSettings();
  EXPECT_EQ(settings::ActiveColours(), previous);
  EXPECT_EQ(settings::SkinBackground().file_name, "");
  EXPECT_FALSE(settings::SkinBackground().has_image);

  WritePrefs("SelectedSkin = Disparu\r\n");
  settings::LoadSettings();
  EXPECT_EQ(settings::ActiveColours(), previous);
  EXPECT_EQ(settings::Current().SelectedSkin, "Disparu");
}

TEST_F(SettingsStore, StandardBackgroundIsStretchedToTheScreenAtItsDepth) {
  platform::MutableEnv().screen_depth = 16;
  const std::string picture = PicturePath("fond.bmp", 80, 60, {10, 20, 30});
  WritePrefs("BackgroundFile = " + picture + "\r\n");
  settings::LoadSettings();
  EXPECT_EQ(settings::StandardBackground().file_name, picture);
  ASSERT_TRUE(settings::StandardBackground().has_image);
  const ui::Image& stored = FakeUi().bitmaps[settings::kStandardBackgroundImage];
  EXPECT_EQ(stored.width, 192);
  EXPECT_EQ(stored.height, 108);
  // 5-6-5: red 10 and blue 30 fall to the nearest 5-bit level, green keeps more precision.
  EXPECT_EQ(test_images::PixelAt(stored, 100, 50), (test_images::Rgba{8, 20, 33, 255}));
}

TEST_F(SettingsStore, BackgroundThatIsNoPictureLeavesNoImage) {
  const std::string picture = PicturePath("fond.bmp", 8, 6, {10, 20, 30});
  WritePrefs("BackgroundFile = " + picture + "\r\n");
  settings::LoadSettings();
  ASSERT_TRUE(ui::HasImage(settings::kStandardBackgroundImage));

  ASSERT_TRUE(ui::WriteFileReplacing(picture, "not a picture"));
  settings::LoadSettings();
  EXPECT_EQ(settings::StandardBackground().file_name, picture);
  EXPECT_FALSE(settings::StandardBackground().has_image);
  EXPECT_FALSE(ui::HasImage(settings::kStandardBackgroundImage));

  std::filesystem::remove(picture);
  settings::LoadSettings();
  EXPECT_EQ(settings::StandardBackground().file_name, "");
  EXPECT_EQ(settings::Current().BackgroundFile, picture);
}

TEST_F(SettingsStore, LineImagesTakeTheActiveLineColoursAndVanishWhenTooSmall) {
  WritePrefs("LineColorVertical = $0000FF\r\nLineColorHorizontal = 65280\r\n");
  settings::LoadSettings();
  int width = 0, height = 0;
  ui::ImageSize(settings::kVerticalLineImage, &width, &height);
  EXPECT_EQ(width, 1);
  EXPECT_EQ(height, 108 - 75);
  const test_images::Rgba red{255, 0, 0, 255}, green{0, 255, 0, 255};
  EXPECT_EQ(test_images::PixelAt(FakeUi().bitmaps[settings::kVerticalLineImage], 0, 5), red);
  ui::ImageSize(settings::kHorizontalLineImage, &width, &height);
  EXPECT_EQ(width, 180);
  EXPECT_EQ(height, 1);
  EXPECT_EQ(test_images::PixelAt(FakeUi().bitmaps[settings::kHorizontalLineImage], 179, 0), green);

  platform::MutableEnv().screen_bottom = 75;
  for (const char* width_text : {"10", "-2147483648", "2147483647", "11"}) {
    WritePrefs(std::string("DisplayColumnWidth = ") + width_text + "\r\n");
    settings::LoadSettings();
    EXPECT_FALSE(ui::HasImage(settings::kVerticalLineImage));
    EXPECT_EQ(ui::HasImage(settings::kHorizontalLineImage), std::string(width_text) == "11") << width_text;
  }
}

}  // namespace
