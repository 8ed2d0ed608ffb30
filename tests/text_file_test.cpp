#include "ui/text_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "tests/test_images.h"
#include "ui/open_file.h"

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

void Write(const std::string& path, const std::string& text) {
  test_images::WriteBytes(path, test_images::Bytes(text.begin(), text.end()));
}

}  // namespace

TEST(TextFile, SaveReplacesAndReadsBackEveryByte) {
  const std::string folder = test_images::FreshFolder("text_round_trip");
  const std::string path = folder + "/list.txt";
  const std::string bytes("caf\xE9\r\nline\0two\r\n\x1A\xFF", 19);
  ASSERT_TRUE(ui::WriteFileReplacing(path, bytes));
  EXPECT_EQ(ui::ReadFileBytes(path), bytes);
  ASSERT_TRUE(ui::WriteFileReplacing(path, "short"));  // no tail of the longer file left
  EXPECT_EQ(ui::ReadFileBytes(path), "short");
  ASSERT_TRUE(ui::WriteFileReplacing(path, ""));
  EXPECT_EQ(ui::ReadFileBytes(path), "");
  EXPECT_FALSE(fs::exists(path + ".tmp"));
  fs::remove_all(folder);
}

TEST(TextFile, FailedSaveLeavesTheOldFileAlone) {
  const std::string folder = test_images::FreshFolder("text_failed_save");
  EXPECT_FALSE(ui::WriteFileReplacing(folder + "/missing/list.txt", "x"));
  EXPECT_FALSE(fs::exists(folder + "/missing"));

  // The temporary file cannot be created: a folder has its name.
  const std::string path = folder + "/list.txt";
  Write(path, "old");
  fs::create_directory(path + ".tmp");
  EXPECT_FALSE(ui::WriteFileReplacing(path, "new"));
  EXPECT_EQ(ui::ReadFileBytes(path), "old");
  EXPECT_TRUE(fs::is_directory(path + ".tmp"));  // not ours: not removed
  EXPECT_TRUE(ui::WriteFileReplacing(path, "old")) << "the file holds these bytes: nothing to write";

  // The replacement fails (the target is a folder that is not empty): no temporary left.
  const std::string blocked = folder + "/blocked";
  fs::create_directories(blocked + "/inside");
  EXPECT_FALSE(ui::WriteFileReplacing(blocked, "new"));
  EXPECT_TRUE(fs::is_directory(blocked + "/inside"));
  EXPECT_FALSE(fs::exists(blocked + ".tmp"));
  fs::remove_all(folder);
}

TEST(TextFile, ReadStopsAtTheSizeBound) {
  const std::string folder = test_images::FreshFolder("text_bound");
  const std::string path = folder + "/big.txt";
  const std::string text(40000, 'a');  // more than one read buffer
  Write(path, text);
  EXPECT_EQ(ui::ReadFileBytes(path, text.size()), text);
  EXPECT_FALSE(ui::ReadFileBytes(path, text.size() - 1));
  EXPECT_FALSE(ui::ReadFileBytes(path, 0));
  EXPECT_FALSE(ui::ReadFileBytes(folder + "/missing.txt"));
  EXPECT_FALSE(ui::ReadFileBytes(folder));  // a folder is not a file
  fs::remove_all(folder);
}

TEST(TextFile, SplitLinesAcceptsEveryTerminator) {
  EXPECT_EQ(ui::SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(ui::SplitLines("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(ui::SplitLines("a\r"), (Lines{"a"}));
  EXPECT_EQ(ui::SplitLines("last"), (Lines{"last"}));
  EXPECT_EQ(ui::SplitLines(""), Lines{});
  EXPECT_EQ(ui::SplitLines("\n"), (Lines{""}));
  EXPECT_EQ(ui::SplitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(ui::SplitLines("a\n\rb"), (Lines{"a", "", "b"}));  // LF then a lone CR
  EXPECT_EQ(ui::SplitLines("\r\r\n"), (Lines{"", ""}));
}

TEST(TextFile, JoinedLinesSplitBackUnchanged) {
  EXPECT_EQ(ui::JoinLinesCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(ui::JoinLinesCrLf({}), "");
  for (const Lines& lines : {Lines{"a", "", "b"}, Lines{""}, Lines{"x", ""}}) {
    EXPECT_EQ(ui::SplitLines(ui::JoinLinesCrLf(lines)), lines);
  }
}

// Every file of ours is opened with its descriptor closed on exec, so that no program started
// meanwhile holds it; the three modes keep what fopen's do.
TEST(TextFile, OpenedFilesAreNotInheritedAndKeepTheirModes) {
  const std::string folder = test_images::FreshFolder("text_uninherited");
  const std::string path = folder + "/list.txt";
  const auto closed_on_exec = [](std::FILE* file) { return (fcntl(fileno(file), F_GETFD) & FD_CLOEXEC) != 0; };

  EXPECT_EQ(ui::OpenFileUninherited(path, "rb"), nullptr);
  EXPECT_EQ(ui::OpenFileUninherited(path, "r+b"), nullptr);  // updating never creates
  std::FILE* file = ui::OpenFileUninherited(path, "wb");
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(closed_on_exec(file));
  std::fputs("first text", file);
  std::fclose(file);

  file = ui::OpenFileUninherited(path, "r+b");
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(closed_on_exec(file));
  std::fputs("FIRST", file);  // in place, the rest kept
  std::fclose(file);
  EXPECT_EQ(ui::ReadFileBytes(path), "FIRST text");

  file = ui::OpenFileUninherited(path, "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(closed_on_exec(file));
  EXPECT_EQ(std::fputc('x', file), EOF);  // read only
  std::fclose(file);

  file = ui::OpenFileUninherited(path, "wb");  // truncates
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  EXPECT_EQ(ui::ReadFileBytes(path), "");

  EXPECT_EQ(ui::OpenFileUninherited(path, "ab"), nullptr);  // a mode not offered
  fs::remove_all(folder);
}
