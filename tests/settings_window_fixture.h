#pragma once
// A settings window opened on the fakes, with a data folder and a program folder (skins) on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/environment.h"
#include "settings/colours.h"
#include "settings/settings.h"
#include "settings/skin_reading.h"
#include "settings/usage_lists.h"
#include "settings_window/colour_editor.h"
#include "settings_window/settings_controls.h"
#include "settings_window/settings_window.h"
#include "tests/fakes/fake_controls.h"
#include "tests/fakes/fakes.h"
#include "tests/test_images.h"
#include "ui/controls.h"
#include "ui/text_file.h"

namespace settings_window_test {

using settings_window::kPreviewWindow;
using settings_window::kSettingsWindow;

class SettingsWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    root_ = test_images::FreshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(root_ + "/data");
    std::filesystem::create_directories(root_ + "/program");
    platform::Environment& environment = platform::MutableEnv();
    environment.data_folder = root_ + "/data/";
    environment.program_folder = root_ + "/program/";
    environment.documents_folder = "C:\\Mes documents\\";
    environment.screen_right = 192;
    environment.screen_bottom = 108;
    environment.screen_depth = 32;
    settings::Current() = settings::Settings{};
    settings::StandardColours() = settings::ActiveColours() = settings::DefaultColours();
    settings::SkinColours() = settings::ColourSet{};
    settings::StandardBackground() = {"", settings::kStandardBackgroundImage, false};
    settings::SkinBackground() = {"", settings::kSkinBackgroundImage, false};
    settings::MostUsed().clear();
    settings::LastUsed().clear();
    settings_window::SelectedElement() = -1;
  }
  void TearDown() override {
    platform::MutableEnv() = platform::Environment{};
    std::filesystem::remove_all(root_);
  }

  static fakes::FakeControl* Find(int control, int window = kSettingsWindow) {
    return fakes::FindFakeControl(window, control);
  }
  static std::string TextOf(int control) { return ui::Text(kSettingsWindow, control); }
  static void Press(int control) { settings_window::SettingsWindowControl(control); }
  // A slider or list changed by the user, then reported.
  static void Slide(int slider, int value) {
    ui::SetSliderValue(kSettingsWindow, slider, value);
    Press(slider);
  }
  static void Choose(int list, int index) {
    ui::SetDropDownSelection(kSettingsWindow, list, index);
    Press(list);
  }
  static bool IsOpen() { return fakes::FakeUi().windows.count(kSettingsWindow) != 0; }

  std::string SavedPrefs() const {
    return ui::ReadFileBytes(root_ + "/data/Kestrivalume.prefs").value_or("<missing>");
  }
  std::string SkinFile(const std::string& skin, const std::string& file) const {
    return settings::SkinsFolder() + skin + "\\" + file;
  }
  void WriteSkinFile(const std::string& skin, const std::string& file, const std::string& bytes) {
    ASSERT_TRUE(ui::WriteFileReplacing(SkinFile(skin, file), bytes));
  }
  // The skins folder as the system lists it: folders in this order, and a stray file.
  void ListSkins(const std::vector<std::string>& folders) {
    auto& listing = fakes::FakeServices().folders[settings::SkinsFolder()];
    listing = {{".", true}, {"..", true}, {"lisez-moi.txt", false}};
    for (const std::string& folder : folders) listing.push_back({folder, true});
  }
  static std::string JpegOf(int width, int height) {
    const test_images::Bytes samples(static_cast<std::size_t>(width * height * 3), 0x80);
    const test_images::Bytes jpeg = test_images::EncodeJpeg(width, height, 3, samples);
    return std::string(jpeg.begin(), jpeg.end());
  }

  std::string root_;
};

}  // namespace settings_window_test
