// Launching an entry: what is checked, started, closed and recorded, and the fixed commands.
#include <gtest/gtest.h>

#include <algorithm>

#include "menu/information_window.h"
#include "menu/launch.h"
#include "menu/layout.h"
#include "menu/menu_bindings.h"
#include "platform/environment.h"
#include "settings/usage_lists.h"
#include "shell/main_loop.h"
#include "shell/system_commands.h"
#include "tests/fakes/fake_controls.h"
#include "tests/fakes/fakes.h"
#include "ui/controls.h"

namespace {

using fakes::FakeServices;
using services::PathKind;

class Launch : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    settings::MostUsed().clear();
    settings::LastUsed().clear();
    shell::Loop() = shell::LoopState{};
    menu::SetLaunchListener([] { shell::Loop().launched_since_scan = true; });
    platform::MutableEnv().cursors_available = true;
    platform::MutableEnv().data_folder = "C:\\Data\\";
    platform::MutableEnv().windows_folder = "C:\\windows\\";
    platform::MutableEnv().screen_right = 1920;
    OpenMenu();
    menu::MenuBindings().clear();
  }

  static void OpenMenu() {
    ui::WindowShape menu;
    menu.number = menu::kMenuWindow;
    ASSERT_TRUE(ui::OpenWindow(menu));
  }

  // An entry link showing `label`, bound as the build binds it.
  int Entry(const std::string& label, menu::MenuBinding binding) {
    const int control = ui::AddLink(menu::kMenuWindow, ui::kAutoNumber, {0, 0, 100, 18}, label, 0, 0);
    binding.ControlId = control;
    menu::MenuBindings().push_back(binding);
    return control;
  }
  static bool MenuOpen() { return ui::WindowExists(menu::kMenuWindow); }
};

TEST_F(Launch, AShortcutWhoseTargetExistsIsOpenedAndRecorded) {
  FakeServices().hidden_output = {"Bloc-notes.lnk\tC:\\M\\\tC:\\windows\\notepad.exe\texe\r\n"};
  FakeServices().path_kinds["C:\\windows\\notepad.exe"] = PathKind::File;
  const int control = Entry("Bloc-notes", {0, "C:\\M\\Bloc-notes.lnk", "old", 0, 1});
  menu::LaunchEntry(control);
  ASSERT_EQ(FakeServices().hidden_runs.size(), 1u);
  EXPECT_EQ(FakeServices().hidden_runs[0].parameters, "\"C:\\M\\Bloc-notes.lnk\"");
  // Not an executable: the shell opens the shortcut itself, in its folder.
  ASSERT_EQ(FakeServices().started_programs.size(), 1u);
  EXPECT_EQ(FakeServices().started_programs[0].first, "\"C:\\M\\Bloc-notes.lnk\"");
  ASSERT_EQ(FakeServices().shell_opened.size(), 1u);
  EXPECT_EQ(std::get<0>(FakeServices().shell_opened[0]), "C:\\M\\Bloc-notes.lnk");
  EXPECT_EQ(std::get<3>(FakeServices().shell_opened[0]), "C:\\M\\");
  EXPECT_FALSE(MenuOpen());
  EXPECT_TRUE(shell::Loop().launched_since_scan);
  ASSERT_EQ(settings::MostUsed().size(), 1u);
  EXPECT_EQ(settings::MostUsed()[0].Label, "Bloc-notes");
  EXPECT_EQ(settings::MostUsed()[0].TargetPath, "C:\\windows\\notepad.exe");
  EXPECT_EQ(FakeServices().cursor_shapes,
            (std::vector<services::CursorShape>{services::CursorShape::Wait, services::CursorShape::Arrow}));
}

TEST_F(Launch, AGoneObjectIsReportedAndNothingChanges) {
  FakeServices().hidden_output = {"Old.lnk\tC:\\M\\\tC:\\Programs\\gone.exe\texe\r\n"};
  fakes::FakeUi().cursor_x = 1800;
  fakes::FakeUi().cursor_y = 10;
  const int control = Entry("Old", {0, "C:\\M\\Old.lnk", "", 0, 1});
  menu::LaunchEntry(control);
  EXPECT_TRUE(MenuOpen());
  EXPECT_TRUE(FakeServices().started_programs.empty());
  EXPECT_TRUE(settings::MostUsed().empty());
  EXPECT_FALSE(shell::Loop().launched_since_scan);
  EXPECT_EQ(fakes::FakeUi().paused_ms, 2000);
  // The message strip was shown at the pointer, kept on the screen, then closed.
  EXPECT_FALSE(ui::WindowExists(menu::kInformationWindow));
}

// The strip is 300 x 20 at 96 DPI, 450 x 30 at 144: kept on the screen at its own size.
TEST_F(Launch, TheStripKeepsToTheScreenAtItsScaledSize) {
  for (const int dpi : {96, 144}) {
    fakes::FakeUi().dpi = dpi;
    menu::ShowInformationWindow(1800, 50, menu::kNoLongerAvailable);
    const ui::WindowShape& strip = fakes::FakeUi().windows.at(menu::kInformationWindow);
    EXPECT_EQ(strip.x, 1920 - (dpi == 96 ? 300 : 450));
    EXPECT_EQ(strip.y, 50 - (dpi == 96 ? 20 : 30));
    EXPECT_EQ(strip.inner_width, 300);
    menu::CloseInformationWindow();
  }
}

// One helper answer per run, in order; the last one repeats.
void AnswerRuns(std::vector<std::string> answers) {
  FakeServices().hidden_output = {answers.front()};
  FakeServices().during_hidden_run = [answers, next = std::size_t{1}]() mutable {
    FakeServices().hidden_output = {answers[std::min(next++, answers.size() - 1)]};
  };
}

std::string LinkLine(const std::string& name, const std::string& target) {
  const std::size_t dot = target.find_last_of('.');
  return name + "\tC:\\M\\\t" + target + "\t" + (dot == std::string::npos ? "" : target.substr(dot + 1)) + "\t\r\n";
}

TEST_F(Launch, ShortcutLoopsAreReportedInsteadOfOpened) {
  // Pointing at itself, and two pointing at each other: opening either through the shell would
  // never end.
  AnswerRuns({LinkLine("Self.lnk", "C:\\M\\Self.lnk")});
  FakeServices().path_kinds["C:\\M\\Self.lnk"] = PathKind::File;
  menu::LaunchEntry(Entry("Self", {0, "C:\\M\\Self.lnk", "", 0, 1}));
  EXPECT_TRUE(MenuOpen());
  EXPECT_EQ(FakeServices().hidden_runs.size(), 1u);
  AnswerRuns({LinkLine("A.lnk", "C:\\M\\B.lnk"), LinkLine("B.lnk", "C:\\m\\a.LNK")});
  FakeServices().path_kinds["C:\\M\\B.lnk"] = PathKind::File;
  menu::LaunchEntry(Entry("A", {0, "C:\\M\\A.lnk", "", 0, 1}));
  EXPECT_TRUE(MenuOpen());
  EXPECT_EQ(FakeServices().hidden_runs.size(), 3u);
  EXPECT_TRUE(FakeServices().started_programs.empty());
  EXPECT_TRUE(FakeServices().shell_opened.empty());
  EXPECT_TRUE(settings::MostUsed().empty());
}

TEST_F(Launch, AChainOfShortcutsIsFollowedToItsTarget) {
  AnswerRuns({LinkLine("A.lnk", "C:\\M\\B.lnk"), LinkLine("B.lnk", "C:\\windows\\notepad.exe")});
  FakeServices().path_kinds["C:\\M\\B.lnk"] = PathKind::File;
  FakeServices().path_kinds["C:\\windows\\notepad.exe"] = PathKind::File;
  menu::LaunchEntry(Entry("A", {0, "C:\\M\\A.lnk", "", 0, 1}));
  EXPECT_FALSE(MenuOpen());
  ASSERT_EQ(FakeServices().shell_opened.size(), 1u);
  EXPECT_EQ(std::get<0>(FakeServices().shell_opened[0]), "C:\\M\\A.lnk");
  ASSERT_EQ(settings::MostUsed().size(), 1u);
  EXPECT_EQ(settings::MostUsed()[0].TargetPath, "C:\\windows\\notepad.exe");
}

// A helper refused by application control, or one that wrote nothing: an existing shortcut is
// opened through the shell, a missing one is still reported gone.
TEST_F(Launch, WithoutTheHelpersAnswerTheShellOpensAnExistingShortcut) {
  for (const bool starts : {false, true}) {
    fakes::Reset();
    OpenMenu();
    FakeServices().hidden_run_starts = starts;
    FakeServices().hidden_output = {};
    FakeServices().path_kinds["C:\\M\\Outil.lnk"] = PathKind::File;
    menu::LaunchEntry(Entry("Outil", {0, "C:\\M\\Outil.lnk", "", 0, 1}));
    EXPECT_FALSE(MenuOpen()) << starts;
    ASSERT_EQ(FakeServices().shell_opened.size(), 1u) << starts;
    EXPECT_EQ(std::get<0>(FakeServices().shell_opened[0]), "C:\\M\\Outil.lnk");
    EXPECT_EQ(fakes::FakeUi().paused_ms, 0) << "no strip claiming the object is gone";
  }
  OpenMenu();
  FakeServices().hidden_run_starts = false;
  menu::LaunchEntry(Entry("Parti", {0, "C:\\M\\Parti.lnk", "", 0, 1}));
  EXPECT_TRUE(MenuOpen());
  EXPECT_EQ(fakes::FakeUi().paused_ms, 2000);
}

TEST_F(Launch, AnEndlessChainOfDistinctShortcutsIsCutShort) {
  std::vector<std::string> answers;
  for (int i = 1; i <= 20; ++i) answers.push_back(LinkLine("L.lnk", "C:\\M\\L" + std::to_string(i) + ".lnk"));
  AnswerRuns(answers);
  EXPECT_EQ(menu::ResolveShortcutChain("C:\\M\\L0.lnk"), std::optional<std::string>(""));
  EXPECT_EQ(FakeServices().hidden_runs.size(), menu::kMaxShortcutHops);
}

TEST_F(Launch, TheInformationWindowStaysOnTheScreen) {
  menu::ShowInformationWindow(1820, 10, menu::kNoLongerAvailable);
  const ui::WindowShape& shape = fakes::FakeUi().windows.at(menu::kInformationWindow);
  EXPECT_EQ(shape.x, 1620);
  EXPECT_EQ(shape.y, 0);
  EXPECT_EQ(fakes::FindFakeControl(menu::kInformationWindow, menu::kInformationText)->text,
            "Cet objet n'est plus disponible.");
  menu::CloseInformationWindow();
  menu::ShowInformationWindow(100, 500, "x");
  EXPECT_EQ(fakes::FakeUi().windows.at(menu::kInformationWindow).y, 480);
}

TEST_F(Launch, RecentDocumentsAndUrlsAreCheckedAsFilesAndNotRecorded) {
  FakeServices().hidden_output = {"a.txt.lnk\tC:\\Recent\\\tC:\\Docs\\a.txt\ttxt\r\n"};
  FakeServices().path_kinds["C:\\Docs\\a.txt"] = PathKind::File;
  FakeServices().path_kinds["C:\\M\\Site.url"] = PathKind::File;
  menu::LaunchEntry(Entry("a.txt", {0, "C:\\Recent\\a.txt.lnk", "", 0, 0}));
  EXPECT_FALSE(MenuOpen());
  EXPECT_TRUE(settings::MostUsed().empty());
  OpenMenu();
  menu::LaunchEntry(Entry("Site", {0, "C:\\M\\Site.url", "", 0, 1}));
  ASSERT_EQ(settings::LastUsed().size(), 1u);
  EXPECT_EQ(settings::LastUsed()[0].TargetPath, "");
}

TEST_F(Launch, ARunningProgramIsBroughtToTheFrontWithoutRecording) {
  menu::LaunchEntry(Entry("Bloc-notes", {0, "", "", 77, 0}));
  EXPECT_EQ(FakeServices().switched_to, std::vector<services::WindowHandle>{77});
  EXPECT_FALSE(MenuOpen());
  EXPECT_TRUE(settings::MostUsed().empty());
}

// Rows are found by the text on the control: letter case counts, the shortcut does not.
TEST_F(Launch, UsesAreCountedByTheExactTextOfTheEntry) {
  FakeServices().path_kinds["C:\\M\\Outil.url"] = PathKind::File;
  FakeServices().path_kinds["C:\\M\\Autre\\Outil.url"] = PathKind::File;
  FakeServices().now = 1000000;
  menu::LaunchEntry(Entry("Outil", {0, "C:\\M\\Outil.url", "", 0, 1}));
  OpenMenu();
  menu::LaunchEntry(Entry("outil", {0, "C:\\M\\Autre\\Outil.url", "", 0, 1}));
  OpenMenu();
  FakeServices().now = 1000500;
  menu::LaunchEntry(Entry("Outil", {0, "C:\\M\\Autre\\Outil.url", "", 0, 1}));
  ASSERT_EQ(settings::MostUsed().size(), 2u);
  EXPECT_EQ(settings::MostUsed()[0].Label, "Outil");
  EXPECT_EQ(settings::MostUsed()[0].SortKey, 2);
  EXPECT_EQ(settings::MostUsed()[0].LaunchPath, "C:\\M\\Outil.url");  // the row keeps its first paths
  EXPECT_EQ(settings::MostUsed()[1].Label, "outil");
  EXPECT_EQ(settings::MostUsed()[1].SortKey, 1);
  ASSERT_EQ(settings::LastUsed().size(), 2u);
  EXPECT_EQ(settings::LastUsed()[0].Label, "Outil");
  EXPECT_EQ(settings::LastUsed()[0].SortKey, 1000500);
}

// Whether Windows started anything is never looked at: the click counts as a use all the same.
TEST_F(Launch, AStartThatFailsStillClosesTheMenuAndRecords) {
  FakeServices().path_kinds["C:\\Outils\\outil.exe"] = PathKind::File;
  FakeServices().program_start_succeeds = false;
  menu::LaunchEntry(Entry("Outil", {0, "C:\\Outils\\outil.exe", "", 0, 1}));
  ASSERT_EQ(FakeServices().shell_opened.size(), 1u);
  EXPECT_FALSE(MenuOpen());
  EXPECT_TRUE(shell::Loop().launched_since_scan);
  ASSERT_EQ(settings::MostUsed().size(), 1u);
  EXPECT_EQ(settings::MostUsed()[0].SortKey, 1);
  EXPECT_EQ(settings::MostUsed()[0].TargetPath, "");
}

TEST_F(Launch, OpenPathQuotesThePathOnceAndAppendsTheParameters) {
  FakeServices().program_start_succeeds = true;
  menu::OpenPath("C:\\Program Files\\a b.exe", "", "");
  menu::OpenPath("\"C:\\Program Files\\a b.exe\" -x", "-y \"z z\"", "");
  menu::OpenPath("C:\\p.exe", "-n", "C:\\W\\");
  ASSERT_EQ(FakeServices().started_programs.size(), 3u);
  EXPECT_EQ(FakeServices().started_programs[0].first, "\"C:\\Program Files\\a b.exe\"");
  EXPECT_EQ(FakeServices().started_programs[1].first, "\"C:\\Program Files\\a b.exe\" -x -y \"z z\"");
  EXPECT_EQ(FakeServices().started_programs[2].first, "\"C:\\p.exe\" -n");
  // A program start gets exactly the folder given; none means it inherits ours.
  EXPECT_EQ(FakeServices().started_programs[0].second, "");
  EXPECT_EQ(FakeServices().started_programs[2].second, "C:\\W\\");
  EXPECT_TRUE(FakeServices().shell_opened.empty());
}

TEST_F(Launch, OpenPathFallsBackToTheShellInTheRightFolder) {
  using Opened = std::tuple<std::string, std::string, std::string, std::string>;
  menu::OpenPath("C:\\Docs\\Lettre.doc", "-p", "C:\\W\\");
  menu::OpenPath("C:\\Docs\\Sous\\Site.url", "", "");
  menu::OpenPath("Explorer.exe", "/e,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", "");
  EXPECT_EQ(FakeServices().started_programs.size(), 3u);  // each tried as a program first
  EXPECT_EQ(FakeServices().shell_opened,
            (std::vector<Opened>{{"C:\\Docs\\Lettre.doc", "", "-p", "C:\\W\\"},
                                 {"C:\\Docs\\Sous\\Site.url", "", "", "C:\\Docs\\Sous\\"},
                                 {"Explorer.exe", "", "/e,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", ""}}));
}

TEST_F(Launch, UnknownControlsDoNothing) {
  menu::LaunchEntry(4242);
  EXPECT_TRUE(MenuOpen());
  EXPECT_TRUE(FakeServices().cursor_shapes.empty());
}

TEST_F(Launch, SystemCommands) {
  FakeServices().program_start_succeeds = true;
  shell::RunSystemCommand(18);
  shell::RunSystemCommand(19);
  shell::RunSystemCommand(21);
  shell::RunSystemCommand(20);
  shell::RunSystemCommand(22);
  shell::RunSystemCommand(23);
  using Started = std::pair<std::string, std::string>;
  EXPECT_EQ(FakeServices().started_programs,
            (std::vector<Started>{{"\"Explorer.exe\" /e,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", ""},
                                  {"\"control.exe\"", "C:\\windows\\"},
                                  {"\"control.exe\" printers", "C:\\windows\\"}}));
  EXPECT_EQ(FakeServices().taskbar_commands, (std::vector<int>{420, 401, 506}));
}

}  // namespace
