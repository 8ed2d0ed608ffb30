// Start-up in order: the refusals end before anything is written; a normal start resolves the
// folders, replaces the earlier instance, creates the fonts and calls the later steps in order.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/association.h"
#include "platform/environment.h"
#include "shell/main_loop.h"
#include "shell/start_marker.h"
#include "shell/startup.h"
#include "tests/fakes/fakes.h"
#include "ui/font_numbers.h"
#include "ui/text_file.h"

namespace {

using fakes::FakeServices;
using fakes::FakeUi;
using services::RegistryRoot;

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    folder_ = std::filesystem::temp_directory_path() / ("kv_startup_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_ / "Kestrivalume\\");
    app_data_ = folder_.string() + "/";
    FakeServices().special_folders = {{services::kFolderAppData, app_data_},
                                      {services::kFolderDocuments, "C:\\Docs\\"},
                                      {services::kFolderRecent, "C:\\Recent\\"},
                                      {services::kFolderWindows, "C:\\windows\\"}};
    hooks_.load_settings = [this] { calls_ += "settings "; };
    hooks_.create_button_window = [this] { calls_ += "button "; };
    hooks_.write_console_helper = [this] { calls_ += "helper "; };
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string MarkerPath() const { return app_data_ + "Kestrivalume\\" + shell::kStartMarkerName; }

  std::filesystem::path folder_;
  std::string app_data_;
  std::string calls_;
  shell::ProgramHooks hooks_;
};

TEST_F(Startup, RefusesA32BitRunOn64BitWindowsWithoutWritingAnything) {
  FakeServices().wow64 = true;
  EXPECT_EQ(shell::RunStartup(hooks_), shell::StartupOutcome::End);
  ASSERT_EQ(FakeUi().messages.size(), 1u);
  EXPECT_EQ(FakeUi().messages[0].first, "Kestrivalume");
  EXPECT_EQ(FakeUi().messages[0].second,
            "Veuillez utiliser la version appropri\xE9"
            "e du logiciel 64 bits pour ce syst\xE8me 64 bits.");
  EXPECT_TRUE(FakeServices().created_folders.empty());
  EXPECT_FALSE(std::filesystem::exists(MarkerPath()));
  EXPECT_EQ(calls_, "");
}

TEST_F(Startup, EndsWhenTheScreenCannotBeMeasured) {
  FakeServices().screen.reset();
  EXPECT_EQ(shell::RunStartup(hooks_), shell::StartupOutcome::End);
  ASSERT_EQ(FakeUi().messages.size(), 1u);
  EXPECT_EQ(FakeUi().messages[0].first, "Erreur");
  EXPECT_EQ(FakeUi().messages[0].second, "Impossible de lire les informations de l'\xE9" "cran.");
  EXPECT_EQ(calls_, "");
}

TEST_F(Startup, PreparesTheEnvironmentAndCallsTheLaterStepsInOrder) {
  FakeServices().program_path = "C:\\Apps\\Kestrivalume\\Kestrivalume.exe";
  FakeServices().screen = services::ScreenInfo{1920, 1080, 24};
  FakeServices().registry[{RegistryRoot::ClassesRoot, ".htm", ""}] = "htmlfile";
  FakeServices().registry[{RegistryRoot::ClassesRoot, "htmlfile\\Shell\\Open\\Command", ""}] =
      "\"C:\\Browser\\browser.exe\" -- \"%1\"";
  FakeServices().windows = {{7, true, false, "Bloc-notes", 300}};

  ASSERT_EQ(shell::RunStartup(hooks_), shell::StartupOutcome::EnterLoop);

  const platform::Environment& env = platform::Env();
  EXPECT_EQ(env.program_folder, "C:\\Apps\\Kestrivalume\\");
  EXPECT_EQ(env.data_folder, app_data_ + "Kestrivalume\\");
  EXPECT_EQ(env.windows_folder, "C:\\windows\\");
  EXPECT_EQ(FakeServices().created_folders, std::vector<std::string>{env.data_folder});
  EXPECT_EQ(env.screen_right, 1920);
  EXPECT_EQ(env.screen_bottom, 1080);
  EXPECT_EQ(env.screen_depth, 24);
  EXPECT_TRUE(env.cursors_available);
  EXPECT_EQ(FakeServices().mutexes, std::vector<std::string>{"Kestrivalume"});
  EXPECT_EQ(calls_, "settings button helper ");
  EXPECT_TRUE(fakes::FatalErrorReportInstalled());
  EXPECT_TRUE(FakeUi().builtin_images_stored);
  EXPECT_EQ(platform::HtmHandler(), "C:\\Browser\\browser.exe");
  EXPECT_EQ(shell::Loop().known_processes.count(300), 1u);
  EXPECT_EQ(ui::ReadFileBytes(MarkerPath()), shell::MarkerBytes(4242));
}

TEST_F(Startup, CreatesTheSevenFonts) {
  ASSERT_EQ(shell::RunStartup(hooks_), shell::StartupOutcome::EnterLoop);
  const auto& fonts = FakeUi().fonts;
  ASSERT_EQ(fonts.size(), 7u);
  EXPECT_EQ(fonts.at(1).face, "Arial");
  EXPECT_EQ(fonts.at(8).points, 8);
  EXPECT_EQ(fonts.at(ui::kFontLargeTitle).points, 11);
  EXPECT_TRUE(fonts.at(ui::kFontInformation).bold);
  EXPECT_EQ(fonts.at(ui::kFontControl).face, "MS Sans Serif");
  EXPECT_FALSE(fonts.at(ui::kFontLink).bold);
}

TEST_F(Startup, CursorsCountOnlyWhenAllLoad) {
  FakeServices().cursors_load = false;
  ASSERT_EQ(shell::RunStartup(hooks_), shell::StartupOutcome::EnterLoop);
  EXPECT_FALSE(platform::Env().cursors_available);
}

TEST(Association, KeepsTheProgramPathOfACommand) {
  EXPECT_EQ(platform::ProgramOfCommand("\"C:\\Program Files\\Web\\web.exe\" %1"), "C:\\Program Files\\Web\\web.exe");
  EXPECT_EQ(platform::ProgramOfCommand("C:\\Web\\WEB.EXE %1"), "C:\\Web\\WEB.EXE");
  EXPECT_EQ(platform::ProgramOfCommand("\"C:\\viewer.com\" \"%1\""), "\"C:\\viewer.com\" \"%1\"");
  EXPECT_EQ(platform::ProgramOfCommand(""), "");
}

TEST(Association, EmptyWithoutARegisteredType) {
  fakes::Reset();
  EXPECT_EQ(platform::AssociationLookup("htm"), "");
  FakeServices().registry[{RegistryRoot::ClassesRoot, ".htm", ""}] = "htmlfile";
  EXPECT_EQ(platform::AssociationLookup("htm"), "");
}

}  // namespace
