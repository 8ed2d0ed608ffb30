// Start-up's copy of the console helper into the data folder, and the helper's own crash report.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "console/console_program.h"
#include "platform/environment.h"
#include "shell/console_helper_file.h"
#include "tests/fakes/fakes.h"
#include "ui/text_file.h"

namespace {

class ConsoleHelperFile : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    folder = std::filesystem::temp_directory_path() / ("kv_console_helper_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    platform::MutableEnv().data_folder = folder.string() + "/";
    helper = platform::Env().data_folder + platform::kConsoleHelperName;
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::filesystem::path folder;
  std::string helper;
};

TEST_F(ConsoleHelperFile, WritesTheCarriedImageAndReplacesAnOlderOne) {
  ASSERT_TRUE(ui::WriteFileReplacing(helper, std::string(5000, 'o')));
  fakes::FakeServices().console_helper_image = std::string("MZ\0\x90", 4) + "new helper";
  shell::WriteConsoleHelper();
  EXPECT_EQ(ui::ReadFileBytes(helper), std::string("MZ\0\x90", 4) + "new helper");
}

TEST_F(ConsoleHelperFile, WithoutACarriedImageTheFileIsLeftAlone) {
  ASSERT_TRUE(ui::WriteFileReplacing(helper, "previous"));
  fakes::FakeServices().console_helper_image.clear();
  shell::WriteConsoleHelper();
  EXPECT_EQ(ui::ReadFileBytes(helper), "previous");
}

TEST_F(ConsoleHelperFile, UnwritableDataFolderIsNoError) {
  platform::MutableEnv().data_folder = folder.string() + "/missing/";
  shell::WriteConsoleHelper();
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

TEST(ConsoleFatalReport, NamesTheHelperAndItsVersion) {
  const platform::FatalErrorText text = platform::BuildFatalErrorText(0xC0000094u, 0x401000u, 77, console::kConsoleProgram);
  const std::string report(text.clipboard());
  EXPECT_NE(report.find("Error message:\tDivision by zero \r\n"), std::string::npos);
  EXPECT_NE(report.find("\r\n\r\nError address:\t4198400\r\n"
                        "Program name:\tKestrivalume Console\r\n"
                        "Program version:\tVersion 1.12.01.01\r\n"
                        "Program module:\tKestrivalumeConsole\r\n"
                        "Program line:\t77\r\n\r\n"),
            std::string::npos)
      << report;
  EXPECT_EQ(report.substr(report.size() - 4), "\r\n\r\n");
}

}  // namespace
