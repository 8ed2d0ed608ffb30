// The window scan counts programs started outside the menu, once per appearance, and never
// those running before the program started, launched from the menu, or on the ignore list.
#include <gtest/gtest.h>

#include "shell/window_scan.h"
#include "tests/fakes/fakes.h"

namespace {

using fakes::FakeServices;
using services::TopLevelWindow;

class WindowScan : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    hooks_.find_by_program_path = [](const std::string& path) -> std::optional<sources::ProgramMatch> {
      if (path == "c:\\windows\\notepad.exe") return sources::ProgramMatch{"Bloc-notes.lnk", "C:\\Menu\\", "C:\\W\\n.exe", "Bloc-notes"};
      if (path == "c:\\windows\\rundll32.exe" || path == "c:\\w\\s.scr")
        return sources::ProgramMatch{"Hidden.lnk", "C:\\Menu\\", "x", "Hidden"};
      if (path == "c:\\tools\\x.exe") return sources::ProgramMatch{".lnk", "C:\\Menu\\", "x", ""};
      return std::nullopt;
    };
    hooks_.record_use_by_target = [this](const std::string& label, const std::string& launch,
                                         const std::string& target, const std::string& program) {
      recorded_.push_back(label + "|" + launch + "|" + target + "|" + program);
    };
  }

  void Window(services::WindowHandle handle, services::ProcessId process, const std::string& path,
              const std::string& title = "Sans titre", bool visible = true, bool tool = false) {
    FakeServices().windows.push_back(TopLevelWindow{handle, visible, tool, title, process});
    FakeServices().image_paths[handle] = path;
  }
  void Scan(bool launched = false) { shell::ScanWindows(known_, launched, hooks_); }

  shell::KnownProcesses known_;
  shell::ProgramHooks hooks_;
  std::vector<std::string> recorded_;
};

TEST_F(WindowScan, ANewProgramIsRecordedUnderItsShortcutName) {
  Scan();
  Window(1, 50, "C:\\Windows\\NOTEPAD.EXE");
  Window(2, 50, "C:\\Windows\\NOTEPAD.EXE", "Second window");
  Scan();
  EXPECT_EQ(recorded_, std::vector<std::string>{"Bloc-notes|C:\\Menu\\Bloc-notes.lnk|C:\\W\\n.exe|c:\\windows\\notepad.exe"});
  Scan();
  EXPECT_EQ(recorded_.size(), 1u);
}

TEST_F(WindowScan, ProgramsRunningAtStartAreNeverCounted) {
  Window(1, 50, "C:\\Windows\\notepad.exe");
  shell::RememberRunningPrograms(known_);
  Scan();
  EXPECT_TRUE(recorded_.empty());
}

TEST_F(WindowScan, OnlyVisibleTitledOrdinaryWindowsCount) {
  Window(1, 50, "C:\\Windows\\notepad.exe", "");
  Window(2, 51, "C:\\Windows\\notepad.exe", "Hidden", false);
  Window(3, 52, "C:\\Windows\\notepad.exe", "Palette", true, true);
  Scan();
  EXPECT_TRUE(recorded_.empty());
  EXPECT_TRUE(known_.empty());
}

TEST_F(WindowScan, ALaunchFromTheMenuHidesThatScansNewcomersForGood) {
  Window(1, 50, "C:\\Windows\\notepad.exe");
  Scan(/*launched=*/true);
  Scan();
  EXPECT_TRUE(recorded_.empty());
}

TEST_F(WindowScan, AProgramStartedAgainIsCountedAgain) {
  Window(1, 50, "C:\\Windows\\notepad.exe");
  Scan();
  FakeServices().windows.clear();
  Scan();
  EXPECT_TRUE(known_.empty());
  Window(4, 50, "C:\\Windows\\notepad.exe");
  Scan();
  EXPECT_EQ(recorded_.size(), 2u);
}

TEST_F(WindowScan, TheProgramsOwnWindowsAreNeverCounted) {
  Window(1, FakeServices().current_process, "C:\\Windows\\notepad.exe", "Paramètres - Kestrivalume");
  Scan();
  EXPECT_TRUE(recorded_.empty());
}

TEST_F(WindowScan, IgnoresSystemHostsScreenSaversAndOurHelper) {
  for (const char* path : {"C:\\Windows\\rundll32.exe", "C:\\W\\s.scr", "C:\\a\\dllhost.exe", "C:\\a\\b.scf",
                           "C:\\Data\\KESTRIVALUMECONSOLE.exe", "C:\\tools\\x.exe", "", "C:\\Unknown\\u.exe"}) {
    shell::ExamineNewProgram(path, hooks_);
  }
  EXPECT_TRUE(recorded_.empty());
}

}  // namespace
