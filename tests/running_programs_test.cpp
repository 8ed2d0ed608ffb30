// The running programs the menu lists are the visible, titled top-level windows that are not
// tool windows, in Z order: one per window, so one process may give several.
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
  };
  std::vector<std::string> listed;
  for (const sources::RunningProgram& program : sources::EnumerateRunningPrograms()) {
    listed.push_back(std::to_string(program.Window) + " " + program.Title);
  }
  EXPECT_EQ(listed, (std::vector<std::string>{"48 Sans titre - Bloc-notes", "16 Autre - Bloc-notes",
                                              "68 " + std::string(255, 'x')}));
}

}  // namespace
