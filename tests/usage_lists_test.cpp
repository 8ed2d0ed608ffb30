#include "settings/usage_lists.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/fakes/fakes.h"
#include "tests/test_images.h"
#include "ui/text_file.h"

using settings::LastUsed;
using settings::MostUsed;
using settings::UsageEntry;
using settings::UsageList;

namespace settings {
bool operator==(const UsageEntry& a, const UsageEntry& b) {
  return a.SortKey == b.SortKey && a.Label == b.Label && a.LaunchPath == b.LaunchPath && a.TargetPath == b.TargetPath;
}
void PrintTo(const UsageEntry& e, std::ostream* out) {
  *out << "{" << e.SortKey << ", \"" << e.Label << "\", \"" << e.LaunchPath << "\", \"" << e.TargetPath << "\"}";
}
}  // namespace settings

namespace {

class UsageLists : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    MostUsed().clear();
    LastUsed().clear();
  }
  void TearDown() override {
    MostUsed().clear();
    LastUsed().clear();
  }
};

std::vector<std::string> Labels(const UsageList& list) {
  std::vector<std::string> labels;
  for (const UsageEntry& entry : list) labels.push_back(entry.Label);
  return labels;
}

// A literal with its NUL bytes, without the terminating one.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

void WriteText(const std::string& path, const std::string& text) {
  test_images::WriteBytes(path, test_images::Bytes(text.begin(), text.end()));
}

// --- reading ---

TEST_F(UsageLists, EveryLineEndSeparatesEntries) {
  EXPECT_EQ(Labels(settings::ParseUsageList("3\tA\r\n2\tB\n1\tC\r0\tD\r\r\n-1\tE\n\r")),
            (std::vector<std::string>{"A", "B", "C", "D", "", "E", ""}));
  // A NUL byte ends a line too, also right after a lone CR.
  EXPECT_EQ(Labels(settings::ParseUsageList(Bytes("5\tF\0" "4\tG\r\0" "3\tH"))),
            (std::vector<std::string>{"F", "G", "", "H"}));
  EXPECT_TRUE(settings::ParseUsageList("").empty());
  EXPECT_EQ(settings::ParseUsageList("\r\n"), UsageList{UsageEntry{}});
}

TEST_F(UsageLists, LinesAreReadAsTheyComeWithoutReordering) {
  const UsageList list = settings::ParseUsageList(
      "2\tLow\tC:\\a.lnk\tC:\\a.exe\r\n"
      "9\tHigh\r\n"
      "x7\tNoDigits\tp\r\n"
      "$1F\tHex\tp\tt\textra\tmore\r\n"
      " -4\tCaf\xE9\t\tt\r\n");
  ASSERT_EQ(list.size(), 5u);
  EXPECT_EQ(list[0], (UsageEntry{2, "Low", "C:\\a.lnk", "C:\\a.exe"}));
  EXPECT_EQ(list[1], (UsageEntry{9, "High", "", ""}));  // not moved ahead of the smaller key
  EXPECT_EQ(list[2], (UsageEntry{0, "NoDigits", "p", ""}));
  EXPECT_EQ(list[3], (UsageEntry{31, "Hex", "p", "t"}));  // fields after the fourth ignored
  EXPECT_EQ(list[4], (UsageEntry{-4, "Caf\xE9", "", "t"}));
}

TEST_F(UsageLists, LoadReplacesEachListFromItsFileAndKeepsItWhenTheFileIsMissing) {
  const std::string folder = test_images::FreshFolder("usage_load") + "/";
  MostUsed() = {{4, "Old", "", ""}};
  LastUsed() = {{5, "Kept", "", ""}};
  WriteText(folder + "Kestrivalume.mostused", "1\tNew\r\n");
  settings::LoadUsageLists(folder);
  EXPECT_EQ(Labels(MostUsed()), std::vector<std::string>{"New"});
  EXPECT_EQ(Labels(LastUsed()), std::vector<std::string>{"Kept"});

  WriteText(folder + "Kestrivalume.lastused", "");
  settings::LoadUsageLists(folder);
  EXPECT_TRUE(LastUsed().empty());
  std::filesystem::remove_all(folder);
}

// --- writing ---

TEST_F(UsageLists, SaveWritesExactlyOneCrLfLinePerEntryAndEmptyFilesForEmptyLists) {
  const std::string folder = test_images::FreshFolder("usage_save") + "/";
  MostUsed() = {{12, "Bloc-notes", "C:\\Menu\\Bloc-notes.lnk", "C:\\Windows\\notepad.exe"},
                {-3, "Caf\xE9", "", ""}};
  settings::SaveUsageLists(folder);
  EXPECT_EQ(ui::ReadFileBytes(folder + "Kestrivalume.mostused"),
            "12\tBloc-notes\tC:\\Menu\\Bloc-notes.lnk\tC:\\Windows\\notepad.exe\r\n-3\tCaf\xE9\t\t\r\n");
  EXPECT_EQ(ui::ReadFileBytes(folder + "Kestrivalume.lastused"), "");

  // What was written reads back unchanged.
  const UsageList saved = MostUsed();
  MostUsed().clear();
  settings::LoadUsageLists(folder);
  EXPECT_EQ(MostUsed(), saved);
  std::filesystem::remove_all(folder);
}

// --- recording by label (menu launches) ---

TEST_F(UsageLists, RepeatedLaunchesCountInOneEntryAndKeepTheLatestTime) {
  for (std::int64_t now : {1700000000, 1700000100, 1700000250}) {
    fakes::FakeServices().now = now;
    settings::RecordUseByLabel("Calc", "C:\\Menu\\Calc.lnk", "C:\\calc.exe");
  }
  EXPECT_EQ(MostUsed(), (UsageList{{3, "Calc", "C:\\Menu\\Calc.lnk", "C:\\calc.exe"}}));
  EXPECT_EQ(LastUsed(), (UsageList{{1700000250, "Calc", "C:\\Menu\\Calc.lnk", "C:\\calc.exe"}}));
}

TEST_F(UsageLists, NewProgramGoesLastInMostUsedAndFirstInLastUsed) {
  MostUsed() = {{5, "A", "", ""}, {1, "B", "", ""}, {1, "C", "", ""}};
  LastUsed() = {{900, "A", "", ""}, {800, "B", "", ""}};
  fakes::FakeServices().now = 1000;
  settings::RecordUseByLabel("New", "p", "t");
  EXPECT_EQ(Labels(MostUsed()), (std::vector<std::string>{"A", "B", "C", "New"}));
  EXPECT_EQ(Labels(LastUsed()), (std::vector<std::string>{"New", "A", "B"}));
}

TEST_F(UsageLists, AnIncrementedEntryPassesSmallerKeysButStaysBehindEqualOnes) {
  MostUsed() = {{3, "A", "", ""}, {2, "B", "", ""}, {2, "C", "", ""}, {1, "D", "", ""}};
  settings::RecordUseByLabel("D", "", "");  // 1 -> 2: behind B and C, which had 2 before
  EXPECT_EQ(Labels(MostUsed()), (std::vector<std::string>{"A", "B", "C", "D"}));
  settings::RecordUseByLabel("C", "", "");  // 2 -> 3: past B, behind A
  EXPECT_EQ(Labels(MostUsed()), (std::vector<std::string>{"A", "C", "B", "D"}));
  settings::RecordUseByLabel("C", "", "");  // 3 -> 4: first
  EXPECT_EQ(Labels(MostUsed()), (std::vector<std::string>{"C", "A", "B", "D"}));
}

TEST_F(UsageLists, LabelsMatchExactlyAndAFoundEntryKeepsItsPaths) {
  MostUsed() = {{2, "Calc", "C:\\old.lnk", "C:\\old.exe"}, {2, "Calc", "C:\\second.lnk", ""}};
  LastUsed() = {{10, "Calc", "C:\\old.lnk", "C:\\old.exe"}};
  fakes::FakeServices().now = 20;
  settings::RecordUseByLabel("Calc", "C:\\new.lnk", "C:\\new.exe");
  EXPECT_EQ(MostUsed()[0], (UsageEntry{3, "Calc", "C:\\old.lnk", "C:\\old.exe"}));  // the first match only
  EXPECT_EQ(MostUsed()[1].SortKey, 2);
  EXPECT_EQ(LastUsed(), (UsageList{{20, "Calc", "C:\\old.lnk", "C:\\old.exe"}}));

  settings::RecordUseByLabel("calc", "C:\\other.lnk", "C:\\old.exe");  // letter case counts
  EXPECT_EQ(MostUsed().size(), 3u);
  EXPECT_EQ(LastUsed().size(), 2u);
}

// A program recorded under the name it showed before (its file name) is found by its shortcut
// and takes the name shown now: one program, one row.
TEST_F(UsageLists, AProgramRecordedUnderAnotherNameTakesTheNameShownNow) {
  MostUsed() = {{3, "Command Prompt", "C:\\Menu\\Command Prompt.lnk", "C:\\cmd.exe"}};
  LastUsed() = {{50, "Command Prompt", "C:\\Menu\\Command Prompt.lnk", "C:\\cmd.exe"}};
  settings::RecordUseByLabel("Invite de commandes", "c:\\menu\\command prompt.lnk", "C:\\cmd.exe");
  EXPECT_EQ(MostUsed(), (UsageList{{4, "Invite de commandes", "C:\\Menu\\Command Prompt.lnk", "C:\\cmd.exe"}}));
  ASSERT_EQ(LastUsed().size(), 1u);
  EXPECT_EQ(LastUsed()[0].Label, "Invite de commandes");
  // The scan finds programs by target; only the entry of the same shortcut takes the scan's label.
  settings::RecordUseByTarget("Console", "C:\\Bureau\\Console.lnk", "C:\\cmd.exe", "c:\\cmd.exe");
  EXPECT_EQ(MostUsed()[0].Label, "Invite de commandes");
  settings::RecordUseByTarget("Invite", "C:\\Menu\\Command Prompt.lnk", "C:\\cmd.exe", "c:\\cmd.exe");
  EXPECT_EQ(MostUsed(), (UsageList{{6, "Invite", "C:\\Menu\\Command Prompt.lnk", "C:\\cmd.exe"}}));
}

TEST_F(UsageLists, ACountAtTheTopOfTheRangeDoesNotWrapRound) {
  MostUsed() = {{2147483647, "Top", "", ""}, {5, "B", "", ""}};
  settings::RecordUseByLabel("Top", "", "");
  EXPECT_EQ(MostUsed()[0], (UsageEntry{2147483647, "Top", "", ""}));
}

// --- recording by target (window scan) ---

TEST_F(UsageLists, ScanMatchesTheTargetIgnoringCaseNotTheLabel) {
  MostUsed() = {{4, "Other", "", ""}, {1, "Bloc-notes", "C:\\Menu\\Bloc-notes.lnk", "C:\\WINDOWS\\Notepad.EXE"}};
  LastUsed() = {{50, "Other", "", ""}, {40, "Bloc-notes", "C:\\Menu\\Bloc-notes.lnk", "C:\\WINDOWS\\Notepad.EXE"}};
  fakes::FakeServices().now = 60;
  settings::RecordUseByTarget("Editeur", "C:\\Bureau\\Editeur.lnk", "c:\\windows\\notepad.exe",
                              "c:\\windows\\notepad.exe");
  EXPECT_EQ(MostUsed()[1], (UsageEntry{2, "Bloc-notes", "C:\\Menu\\Bloc-notes.lnk", "C:\\WINDOWS\\Notepad.EXE"}));
  EXPECT_EQ(LastUsed()[0], (UsageEntry{60, "Bloc-notes", "C:\\Menu\\Bloc-notes.lnk", "C:\\WINDOWS\\Notepad.EXE"}));
  EXPECT_EQ(MostUsed().size(), 2u);

  // Same label, another program: a separate entry.
  settings::RecordUseByTarget("Bloc-notes", "C:\\Menu\\Bloc-notes.lnk", "C:\\edit.exe", "c:\\edit.exe");
  EXPECT_EQ(MostUsed().back(), (UsageEntry{1, "Bloc-notes", "C:\\Menu\\Bloc-notes.lnk", "C:\\edit.exe"}));
  EXPECT_EQ(LastUsed().size(), 3u);
}

TEST_F(UsageLists, ScanRecordsNothingWithoutALabelOrAProgramPath) {
  MostUsed() = {{1, "Web", "C:\\Menu\\Web.url", ""}};
  settings::RecordUseByTarget("", "C:\\Menu\\.lnk", "C:\\a.exe", "c:\\a.exe");
  // An unreadable program path must not count the entry that happens to have no target.
  settings::RecordUseByTarget("Web", "C:\\Menu\\Web.url", "", "");
  EXPECT_EQ(MostUsed(), (UsageList{{1, "Web", "C:\\Menu\\Web.url", ""}}));
  EXPECT_TRUE(LastUsed().empty());
}

// --- emptying ---

TEST_F(UsageLists, EmptyingOneListLeavesTheOtherAndReachesItsFileAtTheNextSave) {
  const std::string folder = test_images::FreshFolder("usage_clear") + "/";
  settings::RecordUseByLabel("A", "p", "t");
  settings::ClearMostUsed();
  EXPECT_TRUE(MostUsed().empty());
  EXPECT_EQ(LastUsed().size(), 1u);
  settings::SaveUsageLists(folder);
  EXPECT_EQ(ui::ReadFileBytes(folder + "Kestrivalume.mostused"), "");
  settings::ClearLastUsed();
  EXPECT_TRUE(LastUsed().empty());

  EXPECT_EQ(fakes::FakeServices().recent_documents_cleared, 0);
  settings::ClearWindowsRecentDocuments();
  EXPECT_EQ(fakes::FakeServices().recent_documents_cleared, 1);
  std::filesystem::remove_all(folder);
}

}  // namespace
