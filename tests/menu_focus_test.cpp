// The menu and the foreground lock: what the menu does when Windows refuses it the front, with a
// fake runtime that refuses as Windows does (BringToFront fails, the front stays elsewhere).
#include <gtest/gtest.h>

#include "menu/menu_controls.h"
#include "menu/menu_window.h"
#include "menu/view_state.h"
#include "platform/environment.h"
#include "settings/settings.h"
#include "shell/button_window.h"
#include "shell/main_loop.h"
#include "sources/catalogue.h"
#include "tests/fakes/fakes.h"

namespace {

using fakes::FakeUi;

class MenuFocus : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    settings::Current() = settings::Settings{};
    menu::View() = menu::ViewState{};
    sources::ResetCatalogues();
    shell::Loop() = shell::LoopState{};
    shell::Loop().last_save = shell::Loop().last_scan = fakes::FakeServices().monotonic;
    platform::MutableEnv().screen_right = 1920;
    platform::MutableEnv().screen_bottom = 1080;
    hooks_.close_menu_window = menu::CloseMenuWindow;
    hooks_.build_menu_window = menu::BuildMenuWindow;
    FakeUi().other_foreground = 77;  // the user works in another program
  }

  bool MenuOpen() const { return FakeUi().windows.count(menu::kMenuWindow) != 0; }
  void Idle() { shell::IdleWork(hooks_); }
  void OtherProgramInFront(std::uintptr_t window) {
    FakeUi().focused_window = -1;
    FakeUi().other_foreground = window;
  }
  void Toggle() {  // a command of the menu that builds it anew
    shell::DispatchEvent({ui::EventKind::Control, menu::kMenuWindow, menu::kShowDocumentsButton}, hooks_);
  }

  shell::ProgramHooks hooks_;
};

TEST_F(MenuFocus, TakenFrontClosesWhenAnotherWindowComesToTheFront) {
  menu::BuildMenuWindow();
  ASSERT_TRUE(MenuOpen());
  EXPECT_EQ(FakeUi().press_watch, -1);  // it has the front: no presses to watch
  FakeUi().focused_window = shell::kButtonWindow;  // the button window's popup menu
  Idle();
  OtherProgramInFront(0);  // a moment without any front window
  Idle();
  EXPECT_TRUE(MenuOpen());
  OtherProgramInFront(77);
  Idle();
  EXPECT_FALSE(MenuOpen());
}

TEST_F(MenuFocus, FirstRefusalStaysUntilUsedThenClosesLikeATakenOne) {
  FakeUi().refusals = 1;
  menu::BuildMenuWindow();
  ASSERT_TRUE(MenuOpen());
  EXPECT_EQ(FakeUi().press_watch, menu::kMenuWindow);
  Idle();
  Idle();
  EXPECT_TRUE(MenuOpen()) << "closed itself while the other program merely kept the front";
  FakeUi().focused_window = menu::kMenuWindow;  // the user clicked into the menu
  Idle();
  EXPECT_EQ(FakeUi().press_watch, -1);
  Toggle();  // built anew: the old one is retired, the new one takes the front from it
  ASSERT_TRUE(MenuOpen());
  EXPECT_TRUE(FakeUi().retired.empty());
  OtherProgramInFront(77);  // back to the program it was first shown over
  Idle();
  EXPECT_FALSE(MenuOpen());
}

TEST_F(MenuFocus, EveryRefusalClosesAtAPressOutsideOrAnotherFrontWindow) {
  FakeUi().refusals = -1;
  menu::BuildMenuWindow();
  Idle();
  Toggle();
  Idle();
  ASSERT_TRUE(MenuOpen());
  EXPECT_EQ(FakeUi().press_watch, menu::kMenuWindow);
  shell::DispatchEvent({ui::EventKind::PressOutside, menu::kMenuWindow, 0}, hooks_);
  EXPECT_FALSE(MenuOpen());
  EXPECT_EQ(FakeUi().press_watch, -1);

  menu::BuildMenuWindow();
  OtherProgramInFront(88);  // the user switched to yet another program
  Idle();
  EXPECT_FALSE(MenuOpen());
}

}  // namespace
