// The console helper's listings against a fake file system: which folders form which groups, in
// what order, and the exact bytes written.
#include <gtest/gtest.h>

#include "console/folder_walk.h"
#include "console/listing.h"
#include "platform/text.h"
#include "tests/fakes/console_system_fake.h"
#include "ui/text_file.h"

namespace {

using platform::CompareFolded;
using console::Invocation;
using console::Mode;

const console::SpecialFolders kFolders = {
    "C:\\All\\Start Menu\\",
    "C:\\Me\\Start Menu\\",
    "C:\\All\\Start Menu\\Programs\\",
    "C:\\Me\\Start Menu\\Programs\\",
};

class ConsoleListing : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const std::string& folder : {kFolders.common_start_menu, kFolders.user_start_menu}) {
      system.AddFolder(folder);
      system.AddFolder(folder + "Programs\\");
    }
  }

  std::string Run(Mode mode, const std::string& path = "") {
    console::Run(Invocation{mode, path}, kFolders, system.MakeSystem());
    return system.output;
  }

  fakes::ConsoleSystem system;
};

TEST(ConsoleFoldedOrder, FoldsOnlyAsciiLettersAndComparesUnsignedBytes) {
  EXPECT_EQ(CompareFolded("Tools\\", "tools\\"), 0);
  EXPECT_LT(CompareFolded("_Setup.lnk", "a.lnk"), 0);  // 0x5F before 0x61
  EXPECT_LT(CompareFolded("_Setup.lnk", "A.lnk"), 0);  // "A" is compared as "a", never as 0x41
  EXPECT_LT(CompareFolded("Zeta.lnk", "\xC9" "cran.lnk"), 0);  // "É" is not folded, and above "z"
  EXPECT_NE(CompareFolded("\xE9" "cran.lnk", "\xC9" "cran.lnk"), 0);
  EXPECT_LT(CompareFolded("Word", "word pad"), 0);  // a prefix first
  EXPECT_LT(CompareFolded("", "a"), 0);
}

TEST_F(ConsoleListing, StartMenuGroupsMergeEqualPathsAndKeepCaseVariantsApart) {
  const std::string common = kFolders.common_programs, user = kFolders.user_programs;
  system.AddShortcut(kFolders.common_start_menu + "Setup.lnk", "C:\\Setup\\setup.exe");
  system.AddFile(kFolders.common_start_menu + "desktop.ini");
  system.AddFile(kFolders.user_start_menu + "tool.exe");
  system.AddShortcut(user + "Write.lnk", "C:\\W\\write.exe", "/new");
  system.AddFolder(common + "Accessories\\");
  system.AddShortcut(common + "Accessories\\Notepad.lnk", "C:\\Windows\\notepad.exe");
  system.AddFile(common + "Accessories\\desktop.ini");
  system.AddFolder(user + "Accessories\\");
  system.AddShortcut(user + "Accessories\\Notepad.lnk", "C:\\Windows\\notepad.exe");
  system.AddShortcut(user + "Accessories\\calc.lnk", "C:\\Windows\\calc.exe");
  system.AddFolder(common + "Accessories\\System Tools\\");  // only a sub-folder: an empty group
  system.AddFolder(common + "Accessories\\System Tools\\Deep\\");
  system.AddFolder(common + "Tools\\");
  system.AddShortcut(common + "Tools\\a.url", "");
  system.AddFolder(user + "tools\\");
  system.AddShortcut(user + "tools\\b.lnk", "C:\\b.EXE");

  const std::string common_sm = kFolders.common_start_menu, user_sm = kFolders.user_start_menu;
  EXPECT_EQ(Run(Mode::StartMenu),
            ">\t2\t\t" + user_sm + "\r\n" +
            "Setup.lnk\t" + common_sm + "\tC:\\Setup\\setup.exe\texe\t\r\n" +
            "Write.lnk\t" + user + "\tC:\\W\\write.exe\texe\t/new\r\n" +
            ">\t3\tAccessories\\\t" + user + "Accessories\\\r\n" +
            "calc.lnk\t" + user + "Accessories\\\tC:\\Windows\\calc.exe\texe\t\r\n" +
            "Notepad.lnk\t" + common + "Accessories\\\tC:\\Windows\\notepad.exe\texe\t\r\n" +
            "Notepad.lnk\t" + user + "Accessories\\\tC:\\Windows\\notepad.exe\texe\t\r\n" +
            ">\t0\tAccessories\\System Tools\\\t" + common + "Accessories\\System Tools\\\r\n" +
            ">\t0\tAccessories\\System Tools\\Deep\\\t" + common + "Accessories\\System Tools\\Deep\\\r\n" +
            ">\t1\tTools\\\t" + common + "Tools\\\r\n" +
            "a.url\t" + common + "Tools\\\tiexplore.exe\thtm\t\r\n" +
            ">\t1\ttools\\\t" + user + "tools\\\r\n" +
            "b.lnk\t" + user + "tools\\\tC:\\b.EXE\texe\t\r\n");
  // The Start-menu folders' own sub-folders are not walked again.
  EXPECT_EQ(system.output.find("\tPrograms\\"), std::string::npos);
}

TEST_F(ConsoleListing, NamesSortByFoldedBytesAndTheSortIsStable) {
  const std::string folder = kFolders.common_programs;
  for (const char* name : {"beta.lnk", "\xC9" "cran.lnk", "Alpha.lnk", "_Setup.lnk", "zulu.lnk", "alpha.LNK"}) {
    system.AddShortcut(folder + name, std::string("C:\\") + name + ".exe");
  }
  Run(Mode::StartMenu);
  std::vector<std::string> names;
  for (const std::string& line : ui::SplitLines(system.output)) {
    if (line[0] != '>') names.push_back(line.substr(0, line.find('\t')));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"_Setup.lnk", "Alpha.lnk", "alpha.LNK", "beta.lnk", "zulu.lnk",
                                             "\xC9" "cran.lnk"}));
}

TEST_F(ConsoleListing, ShortcutsWithoutAFileTargetAreLeftOut) {
  const std::string folder = kFolders.user_programs;
  system.AddShortcut(folder + "Control panel.lnk", "");  // a shell item, not a file
  system.AddFile(folder + "broken.lnk");                 // cannot be loaded
  system.AddShortcut(folder + "Readme.lnk", "C:\\Doc\\README", "-x");
  system.AddShortcut(folder + "noext", "C:\\x.exe");     // not a shortcut by its name
  EXPECT_EQ(Run(Mode::StartMenu), ">\t1\t\t" + kFolders.user_start_menu + "\r\n" +
                                      "Readme.lnk\t" + folder + "\tC:\\Doc\\README\t\t-x\r\n");
}

TEST_F(ConsoleListing, FolderThatCannotBeOpenedDropsItsWholeGroup) {
  const std::string common = kFolders.common_programs, user = kFolders.user_programs;
  system.AddFolder(common + "Games\\");
  system.AddShortcut(common + "Games\\Mines.lnk", "C:\\mines.exe");
  system.AddFolder(user + "Games\\");
  system.MakeUnopenable(user + "Games\\");  // scanned second: the common entries go too
  system.AddFolder(common + "Office\\");
  system.MakeUnopenable(common + "Office\\");  // scanned first: the user's folder stands alone
  system.AddFolder(user + "Office\\");
  system.AddShortcut(user + "Office\\Calc.lnk", "C:\\calc.exe");
  system.AddFolder(common + "Zip\\");
  system.AddShortcut(common + "Zip\\Zip.lnk", "C:\\zip.exe");

  EXPECT_EQ(Run(Mode::StartMenu), ">\t0\t\t" + kFolders.user_start_menu + "\r\n" +
                                      ">\t1\tOffice\\\t" + user + "Office\\\r\n" +
                                      "Calc.lnk\t" + user + "Office\\\tC:\\calc.exe\texe\t\r\n" +
                                      ">\t1\tZip\\\t" + common + "Zip\\\r\n" +
                                      "Zip.lnk\t" + common + "Zip\\\tC:\\zip.exe\texe\t\r\n");
}

TEST_F(ConsoleListing, UnresolvedSpecialFolderIsSkipped) {
  console::SpecialFolders folders = kFolders;
  folders.user_start_menu.clear();
  folders.user_programs.clear();
  system.AddShortcut(kFolders.common_programs + "A.lnk", "C:\\a.exe");
  console::Run(Invocation{Mode::StartMenu, ""}, folders, system.MakeSystem());
  EXPECT_EQ(system.output, ">\t1\t\t" + kFolders.common_start_menu + "\r\n" + "A.lnk\t" + kFolders.common_programs +
                               "\tC:\\a.exe\texe\t\r\n");
}

// A loop of folder links looks like a tree without end: the walk stops at its cap and returns.
TEST(ConsoleFolderWalk, ATreeWithoutEndStopsAtTheFolderCap) {
  console::System endless;
  endless.list_folder = [](const std::string&) -> console::DirectoryListing {
    std::vector<console::DirectoryEntry> entries{{".", true}, {"..", true}, {"lien.lnk", false}};
    for (int i = 0; i < 1000; ++i) entries.push_back({"d" + std::to_string(i), true});
    return entries;
  };
  const std::vector<console::FolderRecord> records = console::WalkFolderTree("C:\\Boucle\\", endless);
  ASSERT_EQ(records.size(), console::kMaxFolderRecords);
  EXPECT_EQ(records.front().FullPath(), "C:\\Boucle\\");
  EXPECT_EQ(records.back().base, "C:\\Boucle\\");
}

TEST_F(ConsoleListing, SingleFolderTreeListsLikeTheStartMenu) {
  system.AddFolder("D:\\Tree\\");
  system.AddFolder("D:\\Tree\\Sub\\");
  system.AddShortcut("D:\\Tree\\Sub\\x.lnk", "D:\\x.bat", "a\tb\r\nc");
  EXPECT_EQ(Run(Mode::EinzelVerzeichnis, "D:\\Tree\\"), ">\t0\t\tD:\\Tree\\\r\n"
                                                        ">\t1\tSub\\\tD:\\Tree\\Sub\\\r\n"
                                                        "x.lnk\tD:\\Tree\\Sub\\\tD:\\x.bat\tbat\ta b  c\r\n");
}

TEST_F(ConsoleListing, SingleFileWritesOneEntryLineWithoutPausing) {
  system.AddFolder("D:\\L\\");
  system.AddShortcut("D:\\L\\Tool.lnk", "C:\\App\\TOOL.EXE", "--fast \"x y\"");
  system.AddShortcut("D:\\L\\Data.lnk", "C:\\dir.v2\\data");
  system.AddShortcut("D:\\L\\Gone.lnk", "");
  EXPECT_EQ(Run(Mode::EinzelDatei, "D:\\L\\Tool.lnk"), "Tool.lnk\tD:\\L\\\tC:\\App\\TOOL.EXE\texe\t--fast \"x y\"\r\n");
  system.output.clear();
  EXPECT_EQ(Run(Mode::EinzelDatei, "D:\\L\\Data.lnk"), "Data.lnk\tD:\\L\\\tC:\\dir.v2\\data\t\t\r\n");
  system.output.clear();
  EXPECT_EQ(Run(Mode::EinzelDatei, "D:\\L\\Gone.lnk"), "");
  EXPECT_EQ(Run(Mode::EinzelDatei, "D:/L/page.url"), "page.url\tD:/L/\tiexplore.exe\thtm\t\r\n");
  system.output.clear();
  EXPECT_EQ(Run(Mode::EinzelDatei, "D:\\L\\notes.txt"), "");
  EXPECT_EQ(system.pauses, 0);
}

TEST_F(ConsoleListing, PausesBeforeEveryDirectoryEntryOfTheListingOnly) {
  system.AddFolder(kFolders.common_programs + "Sub\\");
  system.AddShortcut(kFolders.common_programs + "Sub\\A.lnk", "C:\\a.exe");
  system.AddFile(kFolders.common_programs + "Sub\\desktop.ini");
  Run(Mode::StartMenu);
  // Entries seen: common Programs ". .. Sub", user Programs ". ..", each Start menu ". .. Programs",
  // Sub ". .. A.lnk desktop.ini". The walk before the listing does not pause.
  EXPECT_EQ(system.pauses, 3 + 2 + 3 + 3 + 4);
}

// "-nopause": the same lines, without a single pause.
TEST_F(ConsoleListing, AnUnpacedListingWritesTheSameLinesWithoutPausing) {
  system.AddFolder(kFolders.common_programs + "Sub\\");
  system.AddShortcut(kFolders.common_programs + "Sub\\A.lnk", "C:\\a.exe");
  const std::string paced = Run(Mode::StartMenu);
  system.output.clear();
  system.pauses = 0;
  console::Run(Invocation{Mode::StartMenu, "", false}, kFolders, system.MakeSystem());
  EXPECT_EQ(system.output, paced);
  EXPECT_EQ(system.pauses, 0);
}

// Each pause moves the fake clock 10 ms and each shortcut costs 1 ms: a group of 1,000 shortcuts
// would take over 10 s to scan with every pause, and the reader gives up after 3 s without a line.
TEST_F(ConsoleListing, LargeGroupStillArrivesWellWithinTheReadersPatience) {
  system.shortcut_cost_ms = 1;
  system.AddFolder(kFolders.common_programs + "Big\\");
  for (int i = 0; i < 1000; ++i) {
    system.AddShortcut(kFolders.common_programs + "Big\\" + std::to_string(1000 + i) + ".lnk", "C:\\x.exe");
  }
  system.AddFolder(kFolders.common_programs + "Small\\");
  system.AddShortcut(kFolders.common_programs + "Small\\s.lnk", "C:\\s.exe");
  Run(Mode::StartMenu);

  ASSERT_EQ(system.line_times.size(), 1u + 1u + 1000u + 1u + 1u);
  std::uint64_t previous = 0, longest_gap = 0;
  for (std::uint64_t time : system.line_times) {
    longest_gap = std::max(longest_gap, time - previous);
    previous = time;
  }
  EXPECT_LE(longest_gap, console::kPauseBudgetMs + 1000);  // the budget, then 1 ms per shortcut
  EXPECT_GE(system.pauses, 100);                            // still a gentle start
  // The small group after it is paced as before: . .. s.lnk.
  EXPECT_EQ(system.line_times.back() - system.line_times[system.line_times.size() - 3], 30u + 1u);
}

}  // namespace
