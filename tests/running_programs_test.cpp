// The running programs the menu lists are the top-level windows a user sees as programs, in Z
// order: one per window, so one process may give several.
#include <gtest/gtest.h>

#include "sources/running_programs.h"
#include "tests/fakes/fakes.h"

namespace {

using services::TopLevelWindow;

TEST(RunningPrograms, ListsVisibleTitledWindowsInZOrder) {
  fakes::Reset();
  fakes::FakeServices().windows = {
      TopLevelWindow{0x30, true, false, "Sans titre - Bloc-notes", 7},
      TopLevelWindow{0x31, false, false, "Cach\xE9", 7},          // not visible
      TopLevelWindow{0x32, true, true, "Palette", 8},             // tool window
      TopLevelWindow{0x33, true, false, "", 8},                   // no title
      TopLevelWindow{0x10, true, false, "Autre - Bloc-notes", 7},  // a second window of process 7
      TopLevelWindow{0x44, true, false, std::string(255, 'x'), 9},
      // What Windows 10 and 11 show no user as a program: a cloaked window (another virtual
      // desktop, a suspended app), the desktop's own window, an owned dialog; an owned window
      // that asks for the taskbar stays.
      TopLevelWindow{0x50, true, false, "Paramètres", 10, false, false, true},
      TopLevelWindow{0x51, true, false, "Program Manager", 11, false, false, false, true},
      TopLevelWindow{0x52, true, false, "Enregistrer sous", 7, true},
      TopLevelWindow{0x53, true, false, "Lecteur", 12, true, true},
  };
  std::vector<std::string> listed;
  for (const sources::RunningProgram& program : sources::EnumerateRunningPrograms()) {
    listed.push_back(std::to_string(program.Window) + " " + program.Title);
  }
  EXPECT_EQ(listed, (std::vector<std::string>{"48 Sans titre - Bloc-notes", "16 Autre - Bloc-notes",
                                              "68 " + std::string(255, 'x'), "83 Lecteur"}));
}

}  // namespace
