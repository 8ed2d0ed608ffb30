// Small icons: the shell is asked once per file name and once per file type for the whole run,
// failures included, from either thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "sources/icon_cache.h"
#include "tests/fakes/fakes.h"

namespace {

using fakes::FakeServices;

class IconCache : public ::testing::Test {
 protected:
  void SetUp() override { fakes::Reset(); }
  sources::IconCache cache_;
};

TEST(IconKeys, FileNamesWithoutFolderOrQuotesInLowerCase) {
  EXPECT_EQ(sources::FileIconKey("C:\\Programmes\\Outil\\Setup.EXE"), "setup.exe");
  EXPECT_EQ(sources::FileIconKey("\"C:\\Programmes\\Outil\\Setup.exe\""), "setup.exe");
  EXPECT_EQ(sources::FileIconKey("\"Setup.exe\""), "setup.exe");
  EXPECT_EQ(sources::FileIconKey("C:/outils/a b/Prog.exe"), "prog.exe");
  EXPECT_EQ(sources::FileIconKey("C:\\Dossier\\"), "");
  // Only A-Z are folded; accented letters stay as they are.
  EXPECT_EQ(sources::FileIconKey("C:\\Éditeur.EXE"), "Éditeur.exe");
  EXPECT_EQ(sources::ExtensionIconKey("PDF"), ".pdf");
}

TEST_F(IconCache, SameFileNameInTwoFoldersSharesTheFirstAnswer) {
  FakeServices().file_icons["C:\\A\\setup.exe"] = 5;
  FakeServices().file_icons["C:\\B\\SETUP.EXE"] = 6;
  EXPECT_EQ(sources::FileIcon(cache_, "C:\\A\\setup.exe"), 5u);
  EXPECT_EQ(sources::FileIcon(cache_, "C:\\B\\SETUP.EXE"), 5u);
  EXPECT_EQ(FakeServices().icon_questions, std::vector<std::string>{"file C:\\A\\setup.exe"});
}

// On a 144-DPI screen the icons are drawn at 24 pixels, and asked for at that size.
TEST_F(IconCache, IconsAreAskedForAtTheCachesSide) {
  sources::IconCache large(24);
  sources::FileIcon(large, "C:\\A\\outil.exe");
  sources::ExtensionIcon(large, "zz9");
  EXPECT_EQ(FakeServices().icon_questions,
            (std::vector<std::string>{"file C:\\A\\outil.exe @24", "type .zz9 @24", "generic @24"}));
}

TEST_F(IconCache, AQuotedPathIsAskedAboutWithoutItsQuotes) {
  FakeServices().file_icons["C:\\Program Files\\x.exe"] = 7;
  EXPECT_EQ(sources::FileIcon(cache_, "\"C:\\Program Files\\x.exe\""), 7u);
  EXPECT_EQ(sources::FileIcon(cache_, "C:\\Program Files\\x.exe"), 7u);
  EXPECT_EQ(FakeServices().icon_questions, std::vector<std::string>{"file C:\\Program Files\\x.exe"});
}

TEST_F(IconCache, AFailedFileLookupIsRememberedAsNoIcon) {
  EXPECT_EQ(sources::FileIcon(cache_, "C:\\absent.exe"), 0u);
  FakeServices().file_icons["C:\\absent.exe"] = 8;  // the file appears later
  EXPECT_EQ(sources::FileIcon(cache_, "C:\\absent.exe"), 0u);
  EXPECT_EQ(FakeServices().icon_questions.size(), 1u);
  EXPECT_EQ(sources::FileIcon(cache_, "C:\\Dossier\\"), 0u);
  EXPECT_EQ(FakeServices().icon_questions.size(), 1u) << "no file name, no question";
}

TEST_F(IconCache, ExtensionsInAnyCaseShareOneQuestionAndUnknownTypesTheGenericIcon) {
  FakeServices().type_icons[".pdf"] = 9;
  EXPECT_EQ(sources::ExtensionIcon(cache_, "PDF"), 9u);
  EXPECT_EQ(sources::ExtensionIcon(cache_, "pdf"), 9u);
  EXPECT_EQ(sources::ExtensionIcon(cache_, "xyz"), 900u);
  EXPECT_EQ(sources::ExtensionIcon(cache_, "abc"), 900u);
  EXPECT_EQ(sources::ExtensionIcon(cache_, "XYZ"), 900u);
  EXPECT_EQ(FakeServices().icon_questions, (std::vector<std::string>{"type .pdf", "type .xyz", "generic", "type .abc"}));
}

TEST_F(IconCache, TwoThreadsAskEachKeyOnce) {
  FakeServices().icon_answer_delay_us = 20;
  std::atomic<int> ready{0};
  auto look_up_all = [this, &ready] {
    ++ready;
    while (ready < 2) {
    }  // both start together, so that they race for the same keys
    for (int i = 0; i < 1000; ++i) {
      sources::FileIcon(cache_, "C:\\P\\prog" + std::to_string(i) + ".exe");
      sources::ExtensionIcon(cache_, "t" + std::to_string(i % 7));
    }
  };
  std::thread refresh(look_up_all);
  look_up_all();
  refresh.join();
  EXPECT_EQ(FakeServices().icon_questions.size(), 1000u + 7u + 1u);  // files, types, generic once
}

}  // namespace
