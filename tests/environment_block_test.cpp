#include "platform/environment_block.h"

#include <gtest/gtest.h>

namespace {

using platform::EnvironmentVariable;
using platform::MergeEnvironment;
using platform::ParseEnvironmentBlock;
using Variables = std::vector<EnvironmentVariable>;

// A block from its entries: each ends in NUL, then the empty entry.
std::u16string Block(std::initializer_list<std::u16string> entries) {
  std::u16string block;
  for (const std::u16string& entry : entries) block += entry + u'\0';
  return block + u'\0';
}

std::vector<std::u16string> Names(const Variables& variables) {
  std::vector<std::u16string> names;
  for (const EnvironmentVariable& variable : variables) names.push_back(variable.name + u"=" + variable.value);
  return names;
}

TEST(EnvironmentBlock, LengthStopsAtTheEmptyEntryWithinTheBound) {
  const std::u16string block = Block({u"A=1", u"BB=2"});
  EXPECT_EQ(platform::EnvironmentBlockLength(block.data(), block.size()), block.size());
  EXPECT_EQ(platform::EnvironmentBlockLength(block.data(), 1000), block.size());  // nothing read after it
  EXPECT_EQ(platform::EnvironmentBlockLength(block.data(), block.size() - 1), 0u);
  EXPECT_EQ(platform::EnvironmentBlockLength(block.data(), 3), 0u);
  const char16_t empty[] = {0};
  EXPECT_EQ(platform::EnvironmentBlockLength(empty, 1), 1u);
  EXPECT_EQ(platform::EnvironmentBlockLength(static_cast<const char16_t*>(nullptr), 10), 0u);
}

TEST(EnvironmentBlock, ParsesNamesAtTheFirstEqualsAfterTheFirstCharacter) {
  const auto variables = ParseEnvironmentBlock(Block({u"=C:=C:\\dir", u"Path=C:\\a;C:\\b", u"EMPTY=", u"X=a=b"}));
  ASSERT_TRUE(variables);
  ASSERT_EQ(variables->size(), 4u);
  EXPECT_EQ((*variables)[0].name, u"=C:");
  EXPECT_EQ((*variables)[0].value, u"C:\\dir");
  EXPECT_EQ((*variables)[1].name, u"Path");
  EXPECT_EQ((*variables)[2].value, u"");
  EXPECT_EQ((*variables)[3].name, u"X");
  EXPECT_EQ((*variables)[3].value, u"a=b");
}

TEST(EnvironmentBlock, RefusesABlockWithoutItsEnd) {
  EXPECT_FALSE(ParseEnvironmentBlock(std::u16string(u"A=1\0B=2", 7)));      // last entry unterminated
  EXPECT_FALSE(ParseEnvironmentBlock(std::u16string(u"A=1\0", 4)));         // no empty entry
  EXPECT_FALSE(ParseEnvironmentBlock(std::u16string(u"A=1\0\0B=2\0\0", 11)));  // text after the end
  EXPECT_FALSE(ParseEnvironmentBlock(Block({u"NOEQUALS"})));
  EXPECT_FALSE(ParseEnvironmentBlock(Block({u"=C:"})));                     // only the leading '='
  EXPECT_FALSE(ParseEnvironmentBlock(u""));
  EXPECT_EQ(ParseEnvironmentBlock(std::u16string(1, u'\0'))->size(), 0u);
}

TEST(EnvironmentBlock, MergeSetsNewAndChangedValuesOnly) {
  const Variables current = {{u"Path", u"C:\\old"}, {u"SAME", u"1"}, {u"TEMP", u"C:\\t"}};
  const Variables composed = {{u"PATH", u"C:\\old;C:\\new"}, {u"same", u"1"}, {u"TEMP", u"C:\\t"}, {u"NEW", u"v"}};
  const auto changes = MergeEnvironment(current, composed, &composed);
  EXPECT_EQ(Names(changes.set), (std::vector<std::u16string>{u"PATH=C:\\old;C:\\new", u"NEW=v"}));
  EXPECT_TRUE(changes.remove.empty());
}

TEST(EnvironmentBlock, MergeRemovesOnlyWhatWindowsComposedBefore) {
  const Variables current = {{u"GONE", u"1"}, {u"FROM_PARENT", u"2"}, {u"KEEP", u"3"}, {u"gone", u"dup"}};
  const Variables previous = {{u"Gone", u"1"}, {u"KEEP", u"3"}};
  const Variables composed = {{u"KEEP", u"3"}};
  EXPECT_EQ(MergeEnvironment(current, composed, &previous).remove, std::vector<std::u16string>{u"GONE"});
  EXPECT_TRUE(MergeEnvironment(current, composed, nullptr).remove.empty());  // no earlier block known
}

TEST(EnvironmentBlock, MergeNeverTouchesWhatTheProcessKeeps) {
  const Variables current = {{u"=C:", u"C:\\dir"}, {u"=ExitCode", u"0"}, {u"PROCESSOR_ARCHITECTURE", u"x86"},
                             {u"PROCESSOR_ARCHITEW6432", u"AMD64"}, {u"ProgramFiles", u"C:\\Program Files (x86)"}};
  const Variables composed = {{u"=D:", u"D:\\"}, {u"PROCESSOR_ARCHITECTURE", u"AMD64"},
                              {u"PROGRAMFILES", u"C:\\Program Files"}, {u"commonprogramfiles", u"x"}, {u"A", u"1"}};
  const auto changes = MergeEnvironment(current, composed, &current);
  EXPECT_EQ(Names(changes.set), std::vector<std::u16string>{u"A=1"});
  EXPECT_TRUE(changes.remove.empty());
}

TEST(EnvironmentBlock, MergeOfAnEmptyCompositionChangesNothing) {
  const Variables current = {{u"A", u"1"}};
  const auto changes = MergeEnvironment(current, {}, &current);
  EXPECT_TRUE(changes.set.empty());
  EXPECT_TRUE(changes.remove.empty());
}

TEST(EnvironmentBlock, MergeTakesTheFirstOfDuplicatedComposedNames) {
  const auto changes = MergeEnvironment({}, {{u"A", u"1"}, {u"a", u"2"}}, nullptr);
  EXPECT_EQ(Names(changes.set), std::vector<std::u16string>{u"A=1"});
}

}  // namespace
