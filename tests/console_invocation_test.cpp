// The console helper's command line: which parameter it reads and what run it chooses.
#include <gtest/gtest.h>

#include <map>

#include "console/invocation.h"

namespace {

using console::FirstParameter;
using console::Mode;
using console::PathFacts;

TEST(ConsoleCommandLine, ReadsOnlyTheFirstParameterAfterTheProgram) {
  EXPECT_EQ(FirstParameter("\"C:\\Program Files\\K\\KestrivalumeConsole.exe\" -startmenu more"), "-startmenu");
  EXPECT_EQ(FirstParameter("KestrivalumeConsole.exe  \t C:\\a.lnk C:\\b.lnk"), "C:\\a.lnk");
  EXPECT_EQ(FirstParameter("x.exe \"C:\\Start Menu\\Programs\\A b.lnk\" second"), "C:\\Start Menu\\Programs\\A b.lnk");
  EXPECT_EQ(FirstParameter("x.exe \"\""), "");  // given, but empty
  EXPECT_EQ(FirstParameter("\"C:\\with blank\\x.exe\""), std::nullopt);
  EXPECT_EQ(FirstParameter("x.exe   "), std::nullopt);
  EXPECT_EQ(FirstParameter(""), std::nullopt);
}

TEST(ConsoleCommandLine, TheSecondParameterAsksForAnUnpacedListing) {
  EXPECT_EQ(console::SecondParameter("x.exe -startmenu -nopause"), "-nopause");
  EXPECT_EQ(console::SecondParameter("\"C:\\a b\\x.exe\" \"C:\\Start Menu\\\" -nopause more"), "-nopause");
  EXPECT_EQ(console::SecondParameter("x.exe -startmenu"), std::nullopt);
  EXPECT_EQ(console::SecondParameter("x.exe"), std::nullopt);
}

TEST(ConsoleCommandLine, BackslashesAreOrdinaryCharacters) {
  // A quoted folder keeps its last "\" instead of escaping the closing quote.
  EXPECT_EQ(FirstParameter("x.exe \"C:\\Start Menu\\\" next"), "C:\\Start Menu\\");
  EXPECT_EQ(FirstParameter("x.exe C:\\Menu\\\\"), "C:\\Menu\\\\");
}

class ConsoleModeSelection : public ::testing::Test {
 protected:
  console::Invocation Select(const std::optional<std::string>& parameter) {
    return console::SelectMode(parameter, [this](const std::string& path) {
      asked.push_back(path);
      auto found = paths.find(path);
      return found == paths.end() ? PathFacts{} : found->second;
    });
  }

  std::map<std::string, PathFacts> paths{
      {"C:\\Menu", {true, true, 0}},          {"C:\\Menu\\", {true, true, 0}},
      {"C:\\Menu\\a.lnk", {true, false, 512}}, {"C:\\Menu\\empty.lnk", {true, false, 0}},
      {"-StartMenu", {true, true, 0}},  // a folder by that name in the current folder
  };
  std::vector<std::string> asked;
};

TEST_F(ConsoleModeSelection, OptionIsMatchedByteForByteBeforeAnyPath) {
  paths["-startmenu"] = {true, false, 10};
  EXPECT_EQ(Select("-startmenu").mode, Mode::StartMenu);
  EXPECT_TRUE(asked.empty());

  const console::Invocation other_case = Select("-StartMenu");
  EXPECT_EQ(other_case.mode, Mode::EinzelVerzeichnis);
  EXPECT_EQ(other_case.path, "-StartMenu\\");
  EXPECT_EQ(Select("-STARTMENU").mode, Mode::None);  // a path naming nothing
}

TEST_F(ConsoleModeSelection, FolderPathEndsWithExactlyOneBackslash) {
  const console::Invocation without = Select("C:\\Menu");
  EXPECT_EQ(without.mode, Mode::EinzelVerzeichnis);
  EXPECT_EQ(without.path, "C:\\Menu\\");
  EXPECT_EQ(Select("C:\\Menu\\").path, "C:\\Menu\\");
}

TEST_F(ConsoleModeSelection, FilesNeedContentAndEverythingElseDoesNothing) {
  const console::Invocation file = Select("C:\\Menu\\a.lnk");
  EXPECT_EQ(file.mode, Mode::EinzelDatei);
  EXPECT_EQ(file.path, "C:\\Menu\\a.lnk");
  EXPECT_EQ(Select("C:\\Menu\\empty.lnk").mode, Mode::None);
  EXPECT_EQ(Select("C:\\Menu\\missing.lnk").mode, Mode::None);
  EXPECT_EQ(Select("").mode, Mode::None);
  EXPECT_EQ(Select(std::nullopt).mode, Mode::None);
}

}  // namespace
