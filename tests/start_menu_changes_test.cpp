// The Start menu's stamp: a walk that ends however deep the folders link into each other.
// (What changes the stamp is tested through the refresh that uses it.)
#include "sources/start_menu_changes.h"

#include <gtest/gtest.h>

#include "tests/fakes/fakes.h"

namespace {

using fakes::FakeServices;

// A folder link that points at its own folder nests without end: the walk stops at its depth
// bound, and a change below it cannot be seen (nor can it hang the program).
TEST(StartMenuStamp, NestingStopsAtTheDepthBound) {
  fakes::Reset();
  std::string path = "C:\\M\\";
  for (int depth = 0; depth <= sources::kMaxStampDepth + 5; ++depth) {
    FakeServices().folders[path] = {{"Boucle", true}, {"A.lnk", false, 1, 1}};
    path += "Boucle\\";
  }
  const std::uint64_t stamp = sources::StartMenuStamp({"C:\\M\\"});
  FakeServices().folders[path] = {{"B.lnk", false, 1, 1}};
  EXPECT_EQ(sources::StartMenuStamp({"C:\\M\\"}), stamp) << "below the bound";
  FakeServices().folders["C:\\M\\Boucle\\"].push_back({"C.lnk", false, 1, 1});
  EXPECT_NE(sources::StartMenuStamp({"C:\\M\\"}), stamp);
}

}  // namespace
