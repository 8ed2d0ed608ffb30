// The skins shipped in Skins/ are read the way the program reads them: each of the twelve
// colours must be written out and well formed (a missing key silently falls back to the
// standard default, a malformed one to black), and the pictures must decode at the sizes the
// settings window and the menu need.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "settings/colours.h"
#include "settings/preferences_file.h"
#include "settings/settings.h"
#include "settings/skin_reading.h"
#include "tests/fakes/fakes.h"
#include "tests/test_images.h"
#include "ui/image.h"
#include "ui/text_file.h"

namespace {

namespace fs = std::filesystem;

// Skins/ of the source tree, found from this file's own path.
fs::path ShippedSkinsFolder() { return fs::path(__FILE__).parent_path().parent_path() / "Skins"; }

std::vector<std::string> ShippedSkinNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(ShippedSkinsFolder())) {
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

class ShippedSkins : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    root_ = test_images::FreshFolder("shipped_skins");
    fs::create_directories(root_ + "/program");
    platform::MutableEnv().program_folder = root_ + "/program/";
  }
  void TearDown() override {
    platform::MutableEnv() = platform::Environment{};
    settings::SkinColours() = settings::ColourSet{};
    settings::SkinBackground() = {"", settings::kSkinBackgroundImage, false};
    fs::remove_all(root_);
  }
  // Places a shipped file where the program looks for it: "Skins\<name>\<file>" below its folder.
  void Install(const std::string& skin, const std::string& file) {
    const auto bytes = ui::ReadFileBytes((ShippedSkinsFolder() / skin / file).string());
    ASSERT_TRUE(bytes.has_value()) << skin << "/" << file;
    ASSERT_TRUE(ui::WriteFileReplacing(settings::SkinsFolder() + skin + "\\" + file, *bytes));
  }
  std::string root_;
};

TEST_F(ShippedSkins, AtLeastFourSkinsShip) { EXPECT_GE(ShippedSkinNames().size(), 4u); }

// A colour read back as the text the file holds was neither missing nor malformed.
TEST_F(ShippedSkins, EveryColourIsWrittenOutAndReadsAsWritten) {
  for (const std::string& skin : ShippedSkinNames()) {
    SCOPED_TRACE(skin);
    Install(skin, "skininfo.txt");
    Install(skin, "background.jpg");
    settings::SkinColours().fill(0x00ABCDEF);  // a value no key would leave by accident
    settings::ReadSkin(skin);

    settings::PreferencesFile info;
    ASSERT_TRUE(info.Open(settings::SkinsFolder() + skin + "\\skininfo.txt"));
    EXPECT_NE(info.Read("Courtesy", "<absent>"), "<absent>");
    for (const settings::ColourKey& key : settings::kColourKeys) {
      const std::string written = info.Read(key.name, "<absent>");
      EXPECT_EQ(settings::HtmlColourText(settings::SkinColours()[key.index]), Upper(written)) << key.name;
    }
    EXPECT_EQ(settings::SkinBackground().file_name, settings::SkinsFolder() + skin + "\\background.jpg");
  }
}

TEST_F(ShippedSkins, PreviewIsExactlyTheSizeShownAndTheBackgroundDecodes) {
  for (const std::string& skin : ShippedSkinNames()) {
    SCOPED_TRACE(skin);
    const auto preview = ui::LoadImageFile((ShippedSkinsFolder() / skin / "preview.jpg").string());
    ASSERT_TRUE(preview.has_value());
    EXPECT_EQ(preview->width, 315);
    EXPECT_EQ(preview->height, 100);
    const auto background = ui::LoadImageFile((ShippedSkinsFolder() / skin / "background.jpg").string());
    ASSERT_TRUE(background.has_value());
    // Stretched to the whole screen: a small picture would turn into blocks.
    EXPECT_GE(background->width, 1024);
    EXPECT_GE(background->height, 640);
  }
}

}  // namespace
