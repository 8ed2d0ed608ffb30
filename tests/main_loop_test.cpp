// Dispatch by window and control number, the idle work and the exit sequence.
#include <gtest/gtest.h>

#include "menu/menu_controls.h"
#include "menu/view_state.h"
#include "platform/environment.h"
#include "settings/settings.h"
#include "settings_window/settings_controls.h"
#include "shell/main_loop.h"
#include "tests/fakes/fakes.h"

namespace {

using fakes::FakeServices;
using fakes::FakeUi;
using ui::Event;
using ui::EventKind;

class MainLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    settings::Current() = settings::Settings{};
    menu::View() = menu::ViewState{};
    shell::Loop() = shell::LoopState{};
    shell::Loop().last_save = shell::Loop().last_scan = FakeServices().now;
    hooks_.close_menu_window = [this] {
      log_ += "close ";
      FakeUi().windows.erase(menu::kMenuWindow);
    };
    hooks_.build_menu_window = [this] {
      log_ += "build ";
      FakeUi().windows[menu::kMenuWindow] = {};
    };
    hooks_.launch_entry = [this](int control) { log_ += "launch" + std::to_string(control) + " "; };
    hooks_.system_command = [this](int control) { log_ += "command" + std::to_string(control) + " "; };
    hooks_.show_popup_menu = [this] { log_ += "popup "; };
    hooks_.popup_menu_item = [this](int item) { log_ += "item" + std::to_string(item) + " "; };
    hooks_.open_settings_window = [this] { log_ += "settings "; };
    hooks_.apply_settings_window = [this] { log_ += "apply "; };
    hooks_.settings_window_control = [this](int control) { log_ += "sw" + std::to_string(control) + " "; };
    hooks_.save_settings = [this] { log_ += "save "; };
    hooks_.refresh_check = [this] { log_ += "refresh "; };
  }

  bool Control(int number) { return shell::DispatchEvent({EventKind::Control, menu::kMenuWindow, number}, hooks_); }
  void MenuOpen() { FakeUi().windows[menu::kMenuWindow] = {}; }

  std::string log_;
  shell::ProgramHooks hooks_;
};

TEST_F(MainLoop, ButtonWindowClicksOpenTheMenuOrThePopup) {
  settings::Current().ShowProgImmediate = 1;
  settings::Current().ShowDocsImmediate = 0;
  menu::View().ProgramsPageStart = "Jeux\\";
  EXPECT_FALSE(shell::DispatchEvent({EventKind::LeftButtonUp, shell::kButtonWindow, 0}, hooks_));
  EXPECT_EQ(log_, "close build ");
  EXPECT_TRUE(menu::View().ProgramsShown);
  EXPECT_FALSE(menu::View().DocumentsShown);
  EXPECT_EQ(menu::View().ProgramsPageStart, "");
  shell::DispatchEvent({EventKind::RightButtonUp, shell::kButtonWindow, 0}, hooks_);
  shell::DispatchEvent({EventKind::LeftButtonUp, settings_window::kSettingsWindow, 0}, hooks_);
  EXPECT_EQ(log_, "close build popup ");
}

TEST_F(MainLoop, QuitsOnItemSixOrClosingTheButtonWindowOnly) {
  EXPECT_FALSE(shell::DispatchEvent({EventKind::MenuItem, shell::kButtonWindow, 2}, hooks_));
  EXPECT_FALSE(shell::DispatchEvent({EventKind::MenuItem, shell::kButtonWindow, 4}, hooks_));
  EXPECT_FALSE(shell::DispatchEvent({EventKind::WindowClose, settings_window::kSettingsWindow, 0}, hooks_));
  EXPECT_FALSE(shell::DispatchEvent({EventKind::WindowClose, menu::kMenuWindow, 0}, hooks_));
  EXPECT_EQ(log_, "item2 apply ");
  EXPECT_TRUE(shell::DispatchEvent({EventKind::MenuItem, shell::kButtonWindow, 6}, hooks_));
  EXPECT_TRUE(shell::DispatchEvent({EventKind::WindowClose, shell::kButtonWindow, 0}, hooks_));
}

TEST_F(MainLoop, PagingKeepsThePageAndTheLinksReturnToTheFirst) {
  settings::Current().ShowDocsImmediate = 0;
  menu::View().ProgramsPageStart = "Jeux\\";
  Control(3);
  EXPECT_TRUE(menu::View().ProgramsShown);
  EXPECT_FALSE(menu::View().DocumentsShown);
  EXPECT_EQ(menu::View().ProgramsPageStart, "Jeux\\");
  Control(11);
  EXPECT_TRUE(menu::View().AllDocumentsShown);
  EXPECT_EQ(menu::View().ProgramsPageStart, "Jeux\\");
  Control(13);
  EXPECT_TRUE(menu::View().DocumentsShown);
  EXPECT_EQ(menu::View().ProgramsPageStart, "");
  menu::View() = {false, false, false, "Outils\\"};
  Control(12);
  EXPECT_TRUE(menu::View().ProgramsShown);
  EXPECT_EQ(menu::View().ProgramsPageStart, "");
  EXPECT_EQ(log_, "close build close build close build close build ");
}

TEST_F(MainLoop, TogglesChangeTheSettingsAndRebuild) {
  menu::View().ProgramsPageStart = "Jeux\\";
  Control(10);
  EXPECT_EQ(settings::Current().ShowProgImmediate, 1);
  EXPECT_TRUE(menu::View().ProgramsShown);
  Control(9);
  EXPECT_EQ(settings::Current().ShowDocsImmediate, 0);
  EXPECT_FALSE(menu::View().DocumentsShown);
  menu::View() = {false, false, false, "Jeux\\"};
  Control(7);
  EXPECT_EQ(settings::Current().ShowFilterHlp, 0);
  EXPECT_TRUE(menu::View().ProgramsShown);
  EXPECT_EQ(menu::View().ProgramsPageStart, "");
  Control(7);
  EXPECT_EQ(settings::Current().ShowFilterHlp, 1);
}

TEST_F(MainLoop, FixedAndToolControlsReachTheirModules) {
  MenuOpen();
  Control(2);
  Control(17);
  Control(5);
  Control(1);
  Control(22);
  Control(56);
  EXPECT_EQ(log_, "close close close settings popup close command22 sw56 ");
}

TEST_F(MainLoop, AMovedWindowIsPassedOnWithoutIdleWork) {
  hooks_.window_moved = [this](int window) { log_ += "moved" + std::to_string(window) + " "; };
  EXPECT_FALSE(shell::DispatchEvent({EventKind::WindowMoved, settings_window::kSettingsWindow, 0}, hooks_));
  EXPECT_EQ(log_, "moved4 ");
}

TEST_F(MainLoop, OtherControlsLaunchOnlyWhileTheMenuIsOpen) {
  Control(1234);
  EXPECT_EQ(log_, "");
  MenuOpen();
  Control(1234);
  EXPECT_EQ(log_, "launch1234 ");
}

TEST_F(MainLoop, IdleClosesTheMenuWhenItLostTheFocus) {
  MenuOpen();
  FakeUi().focused_window = shell::kButtonWindow;
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "refresh ");
  FakeUi().focused_window = -1;
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "refresh close refresh ");
}

TEST_F(MainLoop, TheCornerOpensTheMenuOncePerVisit) {
  FakeUi().cursor_x = 4;
  FakeUi().cursor_y = 4;
  FakeUi().focused_window = menu::kMenuWindow;
  hooks_.refresh_check = nullptr;
  shell::IdleWork(hooks_);
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "close build ");
  FakeUi().cursor_x = 5;  // just outside
  shell::IdleWork(hooks_);
  FakeUi().cursor_x = 0;
  FakeUi().cursor_y = 5;
  shell::IdleWork(hooks_);
  FakeUi().cursor_y = 0;
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "close build close build ");
}

TEST_F(MainLoop, TheCornerGrowsWithTheScreensDpi) {
  platform::MutableEnv().screen_dpi = 144;  // the corner is 8 pixels square
  FakeUi().cursor_x = FakeUi().cursor_y = 7;
  FakeUi().focused_window = menu::kMenuWindow;
  hooks_.refresh_check = nullptr;
  shell::IdleWork(hooks_);
  FakeUi().cursor_x = 8;
  shell::IdleWork(hooks_);
  platform::MutableEnv().screen_dpi = 96;
  EXPECT_EQ(log_, "close build ");
}

TEST_F(MainLoop, AMenuAwaitingTheCatalogueIsBuiltAgainWhenItCame) {
  bool awaits = false;
  hooks_.refresh_check = nullptr;
  hooks_.menu_awaits_catalogue = [&awaits] { return awaits; };
  MenuOpen();
  FakeUi().focused_window = menu::kMenuWindow;
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "");
  awaits = true;
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "close build ");
}

TEST_F(MainLoop, TheCornerDoesNothingWhenAClickIsWanted) {
  settings::Current().NoMouseClickNeeded = 0;
  FakeUi().cursor_x = FakeUi().cursor_y = 0;
  hooks_.refresh_check = nullptr;
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "");
}

TEST_F(MainLoop, SavesOnceAMinute) {
  hooks_.refresh_check = nullptr;
  FakeServices().now += 60;
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "");
  FakeServices().now += 1;
  shell::IdleWork(hooks_);
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "save ");
}

TEST_F(MainLoop, ExitSavesRecordsTheFolderAndEndsTheFirstConsoleHelper) {
  platform::MutableEnv().program_folder = "C:\\Apps\\Kestrivalume\\";
  FakeServices().processes = {{10, "explorer.exe"}, {11, "kestrivalumeconsole.EXE"}, {12, "KestrivalumeConsole.exe"}};
  hooks_.finish_refresh_at_exit = [this] { log_ += "refresh-finished "; };
  shell::ExitSequence(hooks_);
  EXPECT_EQ(log_, "save refresh-finished ");
  EXPECT_EQ((FakeServices().registry[{services::RegistryRoot::CurrentUser, "Software\\Varnholtiqa\\Kestrivalume",
                                       "InstallDir"}]),
            "C:\\Apps\\Kestrivalume\\");
  ASSERT_EQ(FakeServices().terminated.size(), 1u);
  EXPECT_EQ(FakeServices().terminated[0], std::make_pair(11u, 1u));
}

TEST_F(MainLoop, RunsUntilQuitThenExits) {
  FakeUi().events = {{EventKind::Control, menu::kMenuWindow, 999}, {EventKind::MenuItem, shell::kButtonWindow, 6}};
  EXPECT_EQ(shell::RunMainLoop(hooks_), 0);
  EXPECT_EQ(log_, "save ");
}

}  // namespace
