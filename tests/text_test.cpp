#include "platform/paths.h"
#include "platform/text.h"

#include <gtest/gtest.h>

using platform::SplitFields;

TEST(Strings, LowerAsciiLeavesAccentedBytes) {
  EXPECT_EQ(platform::LowerAscii("Notepad.EXE"), "notepad.exe");
  EXPECT_EQ(platform::LowerAscii("\xC9T\xC9"), "\xC9t\xC9");  // É stays É in CP1252
}

TEST(Strings, SplitFieldsKeepsEmptyFields) {
  EXPECT_EQ(SplitFields("a\tb", '\t'), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitFields("\t\t", '\t'), (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(SplitFields("", '\t'), (std::vector<std::string>{""}));
}

TEST(Strings, TrailingBackslashAddedOnce) {
  EXPECT_EQ(platform::WithTrailingBackslash("C:\\Windows"), "C:\\Windows\\");
  EXPECT_EQ(platform::WithTrailingBackslash("C:\\Windows\\"), "C:\\Windows\\");
  EXPECT_EQ(platform::WithTrailingBackslash(""), "");
}
