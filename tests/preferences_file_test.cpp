// The key = value document and the number texts: what is read from hand-edited files, and
// what is written back.
#include "settings/preferences_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <limits>

#include "settings/numbers.h"
#include "tests/test_images.h"
#include "ui/text_file.h"

namespace {

using settings::FormatNumber;
using settings::ParseFlag;
using settings::ParseNumber;
using settings::ParseNumber32;
using settings::PreferencesFile;

class Preferences : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = test_images::FreshFolder("prefs"); }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // Writes the bytes and opens them as a document.
  void OpenText(const std::string& bytes) {
    ASSERT_TRUE(ui::WriteFileReplacing(Path(), bytes));
    ASSERT_TRUE(file_.Open(Path()));
  }
  std::string Read(const std::string& key) const { return file_.Read(key, "<default>"); }
  std::string Bytes() const { return ui::ReadFileBytes(Path()).value_or("<missing>"); }
  std::string Path() const { return folder_ + "/test.prefs"; }

  std::string folder_;
  PreferencesFile file_;
};

TEST(Numbers, ParseBasesSignsAndGarbage) {
  EXPECT_EQ(ParseNumber("$E57514"), 15037716);
  EXPECT_EQ(ParseNumber("$e57514"), 15037716);
  EXPECT_EQ(ParseNumber(" \t -12abc"), -12);
  EXPECT_EQ(ParseNumber("+7"), 7);
  EXPECT_EQ(ParseNumber("%101"), 5);
  EXPECT_EQ(ParseNumber("%1012"), 5);  // stops at the first digit outside the base
  EXPECT_EQ(ParseNumber("-$10"), -16);
  EXPECT_EQ(ParseNumber("007"), 7);
  EXPECT_EQ(ParseNumber("12 34"), 12);
  for (const char* nothing : {"", "   ", "#FFFFFF", "abc", "-", "$", "%", "$-5", "- 5", "+-5", "$G1"}) {
    EXPECT_EQ(ParseNumber(nothing), 0) << nothing;
  }
}

TEST(Numbers, LongDigitRunsWrapInSixtyFourBitsAndCallersKeepTheLowBits) {
  EXPECT_EQ(ParseNumber("18446744073709551617"), 1);  // 2^64 + 1
  EXPECT_EQ(ParseNumber("9223372036854775808"), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(ParseNumber("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(ParseNumber("$" + std::string(40, 'F')), -1);
  EXPECT_EQ(ParseNumber("%" + std::string(100, '1')), -1);
  // 10^n is a multiple of 2^64 from n = 64 on, so a long run of nines wraps to -1.
  EXPECT_EQ(ParseNumber(std::string(1 << 20, '9')), -1);
  EXPECT_EQ(ParseNumber("-1" + std::string(70, '0')), 0);

  EXPECT_EQ(ParseNumber32("4294967297"), 1);
  EXPECT_EQ(ParseNumber32("2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ParseNumber32("-2147483649"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(ParseNumber32("99999999999"), 1215752191);
  EXPECT_EQ(ParseNumber32("$FFFFFFFF"), -1);

  EXPECT_EQ(ParseFlag("2"), 2);
  EXPECT_EQ(ParseFlag("256"), 0);
  EXPECT_EQ(ParseFlag("257"), 1);
  EXPECT_EQ(ParseFlag("255"), -1);
  EXPECT_EQ(ParseFlag("128"), -128);
  EXPECT_EQ(ParseFlag("-1"), -1);
}

TEST(Numbers, FormatIsPlainDecimal) {
  EXPECT_EQ(FormatNumber(0), "0");
  EXPECT_EQ(FormatNumber(-1), "-1");
  EXPECT_EQ(FormatNumber(16777215), "16777215");
  EXPECT_EQ(FormatNumber(std::numeric_limits<std::int32_t>::min()), "-2147483648");
  EXPECT_EQ(FormatNumber(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
  EXPECT_EQ(FormatNumber(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
  EXPECT_EQ(ParseNumber32(FormatNumber(std::numeric_limits<std::int32_t>::min())),
            std::numeric_limits<std::int32_t>::min());
}

TEST_F(Preferences, BlanksAroundTheEqualsSignAndLetterCaseDoNotMatter) {
  OpenText("a=1\r\nb \t=\t 2\r\n  c   =   3 \t\r\nUPPER = 4\r\nlower = 5\r\n");
  EXPECT_EQ(Read("a"), "1");
  EXPECT_EQ(Read("b"), "2");
  EXPECT_EQ(Read("c"), "3");
  EXPECT_EQ(Read("Upper"), "4");
  EXPECT_EQ(Read("LOWER"), "5");
  EXPECT_EQ(Read("missing"), "<default>");
}

TEST_F(Preferences, FirstOfTwoEqualKeysWinsAndGroupsHideWhatFollows) {
  OpenText("Key = first\r\nKEY = second\r\n[Group] ignored text\r\nLater = 1\r\n[Other\r\n");
  EXPECT_EQ(Read("key"), "first");
  EXPECT_EQ(Read("Later"), "<default>");
}

TEST_F(Preferences, CommentsEmptyLinesAndEveryKindOfLineEnd) {
  OpenText(";Plain = 1\r\n; Spaced = 2\r\n   ; Indented = 3\n\n\r\r\nKeyOnly\rNext = x\nLast = y");
  EXPECT_EQ(Read("Plain"), "<default>");
  EXPECT_EQ(Read("Spaced"), "<default>");
  EXPECT_EQ(Read("Indented"), "<default>");
  EXPECT_EQ(Read("KeyOnly"), "");
  EXPECT_EQ(Read("Next"), "x");
  EXPECT_EQ(Read("Last"), "y");
}

TEST_F(Preferences, EmptyAndBlankFilesGiveDefaults) {
  for (const char* bytes : {"", "\r\n\r\n\n\r", "   \t", "\xEF\xBB\xBF"}) {
    OpenText(bytes);
    EXPECT_EQ(Read("Anything"), "<default>");
  }
  EXPECT_FALSE(file_.Open(folder_ + "/missing.prefs"));
  EXPECT_EQ(Read("Anything"), "<default>");
}

TEST_F(Preferences, WriteAddsBeforeTheFirstGroupAndKeepsTheRest) {
  OpenText("; note\r\nKeep = value with blanks  \r\nold = 1\r\n[Group]\r\nx=y\r\n");
  file_.Write("OLD", "2");
  file_.Write("New", "");
  ASSERT_TRUE(file_.Close());
  EXPECT_EQ(Bytes(), "; note\r\nKeep = value with blanks  \r\nOLD = 2\r\nNew = \r\n[Group]\r\nx = y\r\n");
}

TEST_F(Preferences, UnchangedDocumentIsNotWrittenBack) {
  OpenText("a=1\n");
  ASSERT_TRUE(file_.Close());
  EXPECT_EQ(Bytes(), "a=1\n");
}

TEST_F(Preferences, Utf8DocumentsReadAsEightBitAndWriteBackWithTheirSignature) {
  // "Émile café", a key with "é", a character above U+00FF and a broken sequence.
  OpenText(std::string("\xEF\xBB\xBF") + "Name = \xC3\x89mile caf\xC3\xA9\r\n" +
           "Cl\xC3\xA9 = 1\r\nPolish = \xC5\x81\xC3\x93" + "d\xC5\xBA\r\nBroken = a\xC3" + "b\xFF\r\n");
  EXPECT_EQ(Read("name"), "\xC9mile caf\xE9");
  EXPECT_EQ(Read("Cl\xE9"), "1");
  EXPECT_EQ(Read("Polish"), "?\xD3" "d?");
  EXPECT_EQ(Read("Broken"), "a?b?");

  file_.Write("Ajout\xE9", "\xE0 la ligne");
  ASSERT_TRUE(file_.Close());
  // Untouched entries keep their bytes; the new pair is encoded the same way.
  EXPECT_EQ(Bytes(), std::string("\xEF\xBB\xBF\r\n") + "Name = \xC3\x89mile caf\xC3\xA9\r\n" +
                         "Cl\xC3\xA9 = 1\r\nPolish = \xC5\x81\xC3\x93" + "d\xC5\xBA\r\nBroken = a\xC3" +
                         "b\xFF\r\nAjout\xC3\xA9 = \xC3\xA0 la ligne\r\n");
  ASSERT_TRUE(file_.Open(Path()));
  EXPECT_EQ(Read("AJOUT\xE9"), "\xE0 la ligne");
}

// The signature's bytes after an empty line are an ordinary key: the document is plain, and a
// save must not turn it into a UTF-8 one (whose first line would then hide what follows).
TEST_F(Preferences, SignatureBytesInsideAPlainDocumentStayPlainAcrossASave) {
  OpenText("\r\xEF\xBB\xBF[odd\r\nkept = 1\r\n");
  file_.Write("added", "2");
  ASSERT_TRUE(file_.Close());
  ASSERT_TRUE(file_.Open(Path()));
  EXPECT_EQ(Read("kept"), "1");
  EXPECT_EQ(Read("added"), "2");
}

TEST_F(Preferences, ReadOnlyFileIsReadButNeverWrittenBack) {
  OpenText("a = 1\r\n");
  file_.Close();
  ASSERT_EQ(::chmod(Path().c_str(), 0444), 0);
  ASSERT_TRUE(file_.Open(Path()));
  EXPECT_EQ(Read("a"), "1");
  file_.Write("a", "2");
  file_.Close();
  EXPECT_EQ(Bytes(), "a = 1\r\n");
}

TEST_F(Preferences, CreateReplacesTheContentEvenWithoutKeys) {
  OpenText("Old = 1\r\n[Group]\r\n");
  ASSERT_TRUE(file_.Create(Path()));
  EXPECT_EQ(Read("Old"), "<default>");
  EXPECT_EQ(Bytes(), "Old = 1\r\n[Group]\r\n");  // nothing is lost before Close
  file_.Write("B", "2");
  file_.Write("A", "1");
  file_.Write("b", "3");
  ASSERT_TRUE(file_.Close());
  EXPECT_EQ(Bytes(), "b = 3\r\nA = 1\r\n");

  ASSERT_TRUE(file_.Create(Path()));
  ASSERT_TRUE(file_.Close());
  EXPECT_EQ(Bytes(), "");
  EXPECT_FALSE(std::filesystem::exists(Path() + ".tmp"));
}

TEST_F(Preferences, CreateInAMissingFolderFailsAndWritesNothing) {
  const std::string path = folder_ + "/missing/test.prefs";
  EXPECT_FALSE(file_.Create(path));
  file_.Write("A", "1");
  EXPECT_EQ(file_.Read("A", "<default>"), "<default>");
  EXPECT_TRUE(file_.Close());
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/missing"));
}

}  // namespace
