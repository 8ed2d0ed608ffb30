// Reading the console helper's Start-menu listing: the byte stream cut into lines, and each line
// turned into a group header or a program entry with its icon.
#include <gtest/gtest.h>

#include "sources/catalogue_line.h"
#include "sources/output_lines.h"
#include "tests/fakes/fakes.h"

namespace {

using fakes::FakeServices;
using sources::CatalogueRecord;
using Strings = std::vector<std::string>;

Strings Lines(const Strings& pieces) {
  Strings lines;
  sources::OutputLines splitter([&lines](const std::string& line) { lines.push_back(line); });
  for (const std::string& piece : pieces) splitter.Add(piece);
  return lines;
}

TEST(OutputLines, LineEndsSplitBetweenPiecesUnfinishedAndOverlongLines) {
  EXPECT_EQ(Lines({"a\r\nb\rc\nd\r\n"}), (Strings{"a", "b", "c", "d"}));
  EXPECT_EQ(Lines({"a\r", "\nb\r", "", "\n\n\r"}), (Strings{"a", "b", "", ""}));
  EXPECT_EQ(Lines({"done\r\nhalf a li"}), Strings{"done"});  // cut off by a stall: no line
  const std::string huge(sources::OutputLines::kMaxLineLength + 500, 'x');
  const Strings lines = Lines({huge.substr(0, 1000), huge.substr(1000) + "\r\nnext\r\n"});
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), sources::OutputLines::kMaxLineLength);
  EXPECT_EQ(lines[1], "next");
}

TEST(ParseCount, DecimalWithBlanksAndSignSaturatingAt32Bits) {
  EXPECT_EQ(sources::ParseCount("   7 entries"), 7);
  EXPECT_EQ(sources::ParseCount("+3"), 3);
  EXPECT_EQ(sources::ParseCount("-4x"), -4);
  EXPECT_EQ(sources::ParseCount("abc"), 0);
  EXPECT_EQ(sources::ParseCount("-"), 0);
  EXPECT_EQ(sources::ParseCount("99999999999999999999"), 2147483647);
  EXPECT_EQ(sources::ParseCount("-99999999999999999999"), -2147483647 - 1);
}

class CatalogueLine : public ::testing::Test {
 protected:
  void SetUp() override { fakes::Reset(); }
  CatalogueRecord Parse(const std::string& line, const std::string& htm = "C:\\Web\\browser.exe") {
    std::optional<CatalogueRecord> record = sources::ParseCatalogueLine(line, htm, icons_);
    EXPECT_TRUE(record.has_value()) << line;
    return record.value_or(CatalogueRecord{});
  }
  sources::IconCache icons_;
};

TEST_F(CatalogueLine, GroupHeadersWithAndWithoutTheirFields) {
  const CatalogueRecord header = Parse(">\t12\tAccessories\\\tC:\\Menu\\Accessories\\");
  EXPECT_EQ(header.Kind, sources::kGroupHeader);
  EXPECT_EQ(header.Count, 12);
  EXPECT_EQ(header.Name, "Accessories\\");
  EXPECT_EQ(header.Folder, "C:\\Menu\\Accessories\\");
  EXPECT_EQ(header.Target + header.TargetExtension + header.Arguments, "");
  const CatalogueRecord bare = Parse(">");
  EXPECT_EQ(bare.Kind, sources::kGroupHeader);
  EXPECT_EQ(bare.Count, 0);
  EXPECT_EQ(bare.Name + bare.Folder, "");
  EXPECT_TRUE(FakeServices().icon_questions.empty());
}

TEST_F(CatalogueLine, ProgramEntries) {
  FakeServices().file_icons["C:\\Windows\\notepad.exe"] = 11;
  const CatalogueRecord entry = Parse("Bloc-notes.lnk\tC:\\Menu\\\tC:\\Windows\\notepad.exe\texe\t/A x.txt");
  EXPECT_EQ(entry.Kind, sources::kProgramEntry);
  EXPECT_EQ(entry.Name, "Bloc-notes.lnk");
  EXPECT_EQ(entry.Folder, "C:\\Menu\\");
  EXPECT_EQ(entry.Target, "C:\\Windows\\notepad.exe");
  EXPECT_EQ(entry.TargetExtension, "exe");
  EXPECT_EQ(entry.Arguments, "/A x.txt");
  EXPECT_EQ(entry.Icon, 11u);
  EXPECT_EQ(Parse("A.lnk\tC:\\M\\\tC:\\a.txt\ttxt\t-x\tsurplus").Arguments, "-x");
  const CatalogueRecord short_entry = Parse("Seul.lnk");
  EXPECT_EQ(short_entry.Folder + short_entry.Target + short_entry.TargetExtension + short_entry.Arguments, "");
  EXPECT_EQ(short_entry.Icon, 0u);
}

TEST_F(CatalogueLine, IconsFollowTheTargetsTypeAndExtensionsAreLowered) {
  FakeServices().file_icons["C:\\W\\compmgmt.msc"] = 12;
  FakeServices().type_icons[".pdf"] = 13;
  EXPECT_EQ(Parse("Gestion.lnk\tC:\\M\\\tC:\\W\\compmgmt.msc\tmsc").Icon, 12u);
  const CatalogueRecord guide = Parse("Guide.lnk\tC:\\M\\\tC:\\D\\guide.PDF\tPDF");
  EXPECT_EQ(guide.TargetExtension, "pdf");
  EXPECT_EQ(guide.Icon, 13u);
  EXPECT_EQ(Parse("Outil.lnk\tC:\\M\\\tC:\\D\\outil\t").Icon, 0u);
  EXPECT_EQ(Parse("A.lnk\tC:\\M\\\tC:\\A.EXE\tEXE").TargetExtension, "exe");
  EXPECT_EQ(FakeServices().icon_questions, (Strings{"file C:\\W\\compmgmt.msc", "type .pdf", "file C:\\A.EXE"}));
}

TEST_F(CatalogueLine, InternetShortcutsOpenWithTheWebBrowser) {
  FakeServices().type_icons[".htm"] = 14;
  const CatalogueRecord url = Parse("Site.url\tC:\\M\\\tiexplore.exe\thtm\t");
  EXPECT_EQ(url.Target, "C:\\Web\\browser.exe");
  EXPECT_EQ(url.Icon, 14u);
  EXPECT_EQ(Parse("Site.url\tC:\\M\\\tiexplore.exe\thtm", "").Target, "");
  // Only the helper's exact marker is replaced.
  EXPECT_EQ(Parse("IE.lnk\tC:\\M\\\tC:\\IE\\iexplore.exe\texe").Target, "C:\\IE\\iexplore.exe");
  EXPECT_EQ(Parse("Page.lnk\tC:\\M\\\tIEXPLORE.EXE\thtm").Target, "IEXPLORE.EXE");
}

TEST_F(CatalogueLine, LinesNamingNoFileAreNoRecords) {
  EXPECT_FALSE(sources::ParseCatalogueLine("", "", icons_).has_value());
  EXPECT_FALSE(sources::ParseCatalogueLine("\tC:\\M\\\tC:\\a.exe\texe", "", icons_).has_value());
}

}  // namespace
