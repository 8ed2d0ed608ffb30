// Dispatch by window and control number, the idle work and the exit sequence.
#include <gtest/gtest.h>

#include "menu/menu_controls.h"
#include "menu/view_state.h"
#include "platform/environment.h"
#include "settings/settings.h"
#include "settings_window/settings_controls.h"
#include "shell/main_loop.h"
#include "tests/fakes/fake_controls.h"
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
    shell::Loop().last_save = shell::Loop().last_scan = FakeServices().monotonic;
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

TEST_F(MainLoop, QuitsOnItemSixOrAPlainCloseOfTheButtonWindowOnly) {
  EXPECT_FALSE(shell::DispatchEvent({EventKind::MenuItem, shell::kButtonWindow, 2}, hooks_));
  EXPECT_FALSE(shell::DispatchEvent({EventKind::MenuItem, shell::kButtonWindow, 4}, hooks_));
  EXPECT_FALSE(shell::DispatchEvent({EventKind::WindowClose, settings_window::kSettingsWindow, 0}, hooks_));
  EXPECT_FALSE(shell::DispatchEvent({EventKind::WindowClose, menu::kMenuWindow, ui::kClosedByUser}, hooks_));
  EXPECT_FALSE(shell::DispatchEvent({EventKind::WindowClose, shell::kButtonWindow, ui::kClosedByUser}, hooks_));
  EXPECT_EQ(log_, "item2 apply close ");
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

// Dragging a window into the corner (a button held) or a full-screen program in front: no
// opening, and none when the button is released there either; the next visit opens.
TEST_F(MainLoop, TheCornerStaysShutWhileAButtonIsHeldOrAFullScreenProgramShows) {
  hooks_.refresh_check = nullptr;
  FakeUi().focused_window = menu::kMenuWindow;
  for (bool* held : {&FakeUi().mouse_button_held, &FakeServices().full_screen_program}) {
    log_.clear();
    FakeUi().cursor_x = FakeUi().cursor_y = 0;
    *held = true;
    shell::IdleWork(hooks_);
    *held = false;
    shell::IdleWork(hooks_);
    EXPECT_EQ(log_, "");
    FakeUi().cursor_x = 300;
    shell::IdleWork(hooks_);
    FakeUi().cursor_x = 0;
    shell::IdleWork(hooks_);
    EXPECT_EQ(log_, "close build ");
  }
}

// The primary monitor's corner, exactly: each edge of the square from both sides, and the edges
// of monitors left of and above the primary one, where places are negative.
TEST_F(MainLoop, TheCornerIsThePrimaryMonitorsFiveByFiveSquare) {
  FakeUi().focused_window = menu::kMenuWindow;
  hooks_.refresh_check = nullptr;
  const struct {
    int x, y;
    bool opens;
  } visits[] = {{5, 4, false}, {4, 4, true},  {5, 4, false}, {4, 4, true},   {4, 5, false},
                {4, 4, true},  {0, 0, false}, {-1, 0, false}, {0, 0, true}, {0, -1, false},
                {-3, -3, false}, {-1, 600, false}, {600, -1, false}, {0, 4, true}, {4, 0, false}};
  for (const auto& visit : visits) {
    log_.clear();
    FakeUi().cursor_x = visit.x;
    FakeUi().cursor_y = visit.y;
    shell::IdleWork(hooks_);
    EXPECT_EQ(log_, visit.opens ? "close build " : "") << visit.x << "," << visit.y;
  }
}

// While a secure desktop is shown the pointer cannot be read: nothing opens, and the latch stays
// as it was, so coming back from the lock screen with the pointer still in the corner opens
// nothing either.
TEST_F(MainLoop, AnUnreadablePointerOpensNothingAndLeavesTheLatch) {
  FakeUi().focused_window = menu::kMenuWindow;
  hooks_.refresh_check = nullptr;
  FakeUi().cursor_x = FakeUi().cursor_y = 0;
  FakeUi().cursor_readable = false;
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "");
  FakeUi().cursor_readable = true;
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "close build ");
  FakeUi().cursor_readable = false;
  shell::IdleWork(hooks_);
  FakeUi().cursor_readable = true;
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "close build ");
  EXPECT_TRUE(shell::Loop().corner_latch);
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
  FakeServices().monotonic += 60;
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "");
  FakeServices().monotonic += 1;
  shell::IdleWork(hooks_);
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "save ");
}

// Two minutes of idle passes a second apart, the wall clock set back an hour after 20 s and on a
// day after 70 s: a save every 61 s and a scan every 8 s, as if nothing happened.
TEST_F(MainLoop, SavesAndScansKeepTheirRhythmWhenTheWallClockJumps) {
  hooks_.refresh_check = nullptr;
  int scans = 0;
  for (int second = 1; second <= 130; ++second) {
    if (second == 20) FakeServices().now -= 3600;
    if (second == 70) FakeServices().now += 86400;
    FakeServices().now += 1;
    FakeServices().monotonic += 1;
    // A new program each second: the known set grows exactly when a scan runs.
    const std::size_t known = shell::Loop().known_processes.size();
    FakeServices().windows.push_back({static_cast<services::WindowHandle>(second), true, false, "Fenêtre",
                                      static_cast<services::ProcessId>(1000 + second)});
    shell::IdleWork(hooks_);
    if (shell::Loop().known_processes.size() > known) ++scans;
  }
  EXPECT_EQ(log_, "save save ");
  EXPECT_EQ(scans, 16);
}

// The menu's launch mutes only the scan that follows it: a program started from elsewhere after
// that scan is counted again.
TEST_F(MainLoop, AfterALaunchFromTheMenuLaterScansCountOtherPrograms) {
  hooks_.refresh_check = nullptr;
  hooks_.launch_entry = [](int) { shell::Loop().launched_since_scan = true; };  // as a launch tells
  hooks_.find_by_program_path = [](const std::string&) -> std::optional<sources::ProgramMatch> {
    return sources::ProgramMatch{"Bloc-notes.lnk", "C:\\Menu\\", "C:\\W\\n.exe", "Bloc-notes"};
  };
  hooks_.record_use_by_target = [this](const std::string& label, const std::string&, const std::string&,
                                       const std::string&) { log_ += "use:" + label + " "; };
  MenuOpen();
  Control(1234);
  FakeUi().windows.erase(menu::kMenuWindow);  // a launch closes the menu
  FakeServices().windows = {{1, true, false, "Lancé", 60}};
  FakeServices().monotonic += 8;
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "") << "the launched program is not counted";
  FakeServices().windows.push_back({2, true, false, "Ailleurs", 61});
  FakeServices().image_paths[2] = "C:\\W\\n.exe";
  FakeServices().monotonic += 8;
  shell::IdleWork(hooks_);
  EXPECT_EQ(log_, "use:Bloc-notes ");
}

TEST_F(MainLoop, ExitSavesRecordsTheFolderAndEndsTheFirstConsoleHelper) {
  platform::MutableEnv().program_folder = "C:\\Apps\\Kestrivalume\\";
  FakeServices().processes = {{10, "explorer.exe"}, {11, "kestrivalumeconsole.EXE"}, {12, "KestrivalumeConsole.exe"}};
  hooks_.finish_refresh_at_exit = [this] {
    log_ += "refresh-finished ";
    return true;
  };
  shell::ExitSequence(hooks_);
  EXPECT_EQ(log_, "save refresh-finished ");
  EXPECT_EQ((FakeServices().registry[{services::RegistryRoot::CurrentUser, "Software\\Varnholtiqa\\Kestrivalume",
                                       "InstallDir"}]),
            "C:\\Apps\\Kestrivalume\\");
  ASSERT_EQ(FakeServices().terminated.size(), 1u);
  EXPECT_EQ(FakeServices().terminated[0], std::make_pair(11u, 1u));
  EXPECT_FALSE(FakeServices().ended_at_once);
}

// A refresh that does not end even after its helper was ended is never killed alone: with
// everything saved, the process ends at once.
TEST_F(MainLoop, ARefreshThatDoesNotEndEndsTheProcessAfterTheSave) {
  hooks_.finish_refresh_at_exit = [this] {
    log_ += "refresh-still-runs ";
    return false;
  };
  shell::ExitSequence(hooks_);
  EXPECT_EQ(log_, "save refresh-still-runs ");
  EXPECT_EQ(FakeServices().registry.size(), 1u);
  EXPECT_EQ(FakeServices().ended_at_once, 0u);
}

// The session's end comes while the loop runs (here in the middle of a launch): an open settings
// window is applied, everything is saved at once; the exit saves again when the loop ends.
TEST_F(MainLoop, TheSessionsEndSavesAtOnceWhileTheLoopRuns) {
  hooks_.launch_entry = [this](int) {
    log_ += "launch ";
    FakeUi().session_end();
    log_ += FakeServices().registry.empty() ? "" : "folder ";
  };
  MenuOpen();
  FakeUi().windows[settings_window::kSettingsWindow] = {};
  fakes::Recorder().window_states[settings_window::kSettingsWindow].shown = true;
  FakeUi().events = {{EventKind::Control, menu::kMenuWindow, 1234}, {EventKind::MenuItem, shell::kButtonWindow, 6}};
  shell::RunMainLoop(hooks_);
  EXPECT_EQ(log_, "launch apply save folder save ");
  EXPECT_FALSE(FakeUi().session_end) << "the exit sequence saves from then on";
  log_.clear();
  fakes::Recorder().window_states[settings_window::kSettingsWindow].shown = false;
  shell::SaveForSessionEnd(hooks_);
  EXPECT_EQ(log_, "save ") << "a settings window still being built is not applied";
  log_.clear();
  FakeUi().windows.erase(settings_window::kSettingsWindow);
  shell::SaveForSessionEnd(hooks_);
  EXPECT_EQ(log_, "save ");
}

// A new screen size: the open menu closes, the screen is measured again with the pictures made
// for it, and the button window goes back to the corner, on top. A screen that cannot be
// measured keeps the last measure.
TEST_F(MainLoop, AScreenChangeClosesTheMenuAndMeasuresTheScreenAgain) {
  const platform::Environment before = platform::Env();
  hooks_.prepare_screen_images = [this] { log_ += "images "; };
  fakes::Recorder().window_states[shell::kButtonWindow].x = 40;
  MenuOpen();
  FakeServices().screen = services::ScreenInfo{1280, 720, 16, 120};
  shell::DispatchEvent({EventKind::ScreenChanged, -1, 0}, hooks_);
  EXPECT_EQ(log_, "close images ");
  EXPECT_EQ(platform::Env().screen_right, 1280);
  EXPECT_EQ(platform::Env().screen_bottom, 720);
  EXPECT_EQ(platform::Env().screen_dpi, 120);
  EXPECT_EQ(fakes::Recorder().window_states[shell::kButtonWindow].x, 0);
  EXPECT_EQ(FakeUi().kept_on_top, std::vector<int>{shell::kButtonWindow});
  FakeServices().screen.reset();
  shell::DispatchEvent({EventKind::ScreenChanged, -1, 0}, hooks_);
  EXPECT_EQ(platform::Env().screen_bottom, 720);
  EXPECT_EQ(log_, "close images close ");
  shell::DispatchEvent({EventKind::TaskbarCreated, -1, 0}, hooks_);
  EXPECT_EQ(FakeUi().kept_on_top.size(), 3u);
  platform::MutableEnv() = before;
}

// The user changed an environment variable: the environment is rebuilt, nothing else happens.
TEST_F(MainLoop, AnEnvironmentChangeRefreshesTheEnvironment) {
  hooks_.refresh_environment = [this] { log_ += "environment "; };
  EXPECT_FALSE(shell::DispatchEvent({EventKind::EnvironmentChanged, -1, 0}, hooks_));
  EXPECT_EQ(log_, "environment ");
}

TEST_F(MainLoop, RunsUntilQuitThenExits) {
  FakeUi().events = {{EventKind::Control, menu::kMenuWindow, 999}, {EventKind::MenuItem, shell::kButtonWindow, 6}};
  EXPECT_EQ(shell::RunMainLoop(hooks_), 0);
  EXPECT_EQ(log_, "save ");
}

}  // namespace
