// Small icons: the shell is asked once per file name and once per file type for the whole run,
// failures included, from either thread.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "sources/icon_cache.h"
#include "tests/fakes/fakes.h"

namespace {

using fakes::FakeServices;

// One question to the shell held until the test lets it go, as a file on an unreachable network
// drive holds the shell for seconds; the test learns when the question has come.
class HeldQuestion {
 public:
  explicit HeldQuestion(std::string question) : question_(std::move(question)) {
    FakeServices().during_icon_question = [this](const std::string& asked) {
      if (asked != question_ || held_) return;
      held_ = true;
      asked_.set_value();
      release_.wait();
    };
  }
  void WaitUntilAsked() { asked_.get_future().wait(); }
  void Release() { let_go_.set_value(); }

 private:
  const std::string question_;
  bool held_ = false;
  std::promise<void> asked_, let_go_;
  std::shared_future<void> release_ = let_go_.get_future().share();
};

// Were the lock held across a question, a lookup made while it is held would wait for good: the
// test checks the lock first and fails instead.
bool LockFreeWhileAsked(sources::IconCache& cache) {
  const bool free = cache.lock.try_lock();
  if (free) cache.lock.unlock();
  EXPECT_TRUE(free) << "the lock is held while the shell is asked";
  return free;
}

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

// The refresh thread waits on the shell for a file on a server that is away: the GUI thread asking
// for the same file name gets no icon at once, other keys are answered at once, and the slow
// answer, once it comes, is the one remembered; the shell is asked once.
TEST_F(IconCache, ASlowQuestionKeepsNoOtherThreadWaiting) {
  FakeServices().file_icons["\\\\serveur\\outils\\lent.exe"] = 5;
  FakeServices().file_icons["C:\\A\\vite.exe"] = 6;
  FakeServices().type_icons[".pdf"] = 9;
  HeldQuestion held("file \\\\serveur\\outils\\lent.exe");
  services::IconHandle slow = 0;
  std::thread refresh([this, &slow] { slow = sources::FileIcon(cache_, "\\\\serveur\\outils\\lent.exe"); });
  held.WaitUntilAsked();
  if (LockFreeWhileAsked(cache_)) {
    EXPECT_EQ(sources::FileIcon(cache_, "C:\\Autre\\LENT.EXE"), 0u) << "pending: no icon for now";
    EXPECT_EQ(sources::FileIcon(cache_, "C:\\A\\vite.exe"), 6u);
    EXPECT_EQ(sources::ExtensionIcon(cache_, "pdf"), 9u);
  }
  held.Release();
  refresh.join();
  EXPECT_EQ(slow, 5u);
  EXPECT_EQ(sources::FileIcon(cache_, "C:\\Autre\\LENT.EXE"), 5u);
  EXPECT_EQ(FakeServices().icon_questions,
            (std::vector<std::string>{"file \\\\serveur\\outils\\lent.exe", "file C:\\A\\vite.exe", "type .pdf"}));
}

// A slow file type, then a slow generic icon: whoever comes meanwhile gets no icon, and no type
// is left without the generic icon for having been asked about while it was on its way.
TEST_F(IconCache, ASlowTypeOrGenericIconIsAskedOnceAndNotStuckAtNothing) {
  HeldQuestion held_type("type .lent");
  std::thread first([this] { sources::ExtensionIcon(cache_, "lent"); });
  held_type.WaitUntilAsked();
  if (LockFreeWhileAsked(cache_)) {
    EXPECT_EQ(sources::ExtensionIcon(cache_, "LENT"), 0u);
  }
  held_type.Release();
  first.join();
  EXPECT_EQ(sources::ExtensionIcon(cache_, "lent"), 900u);

  sources::IconCache fresh;
  HeldQuestion held_generic("generic");
  services::IconHandle asked_first = 0;
  std::thread second([&fresh, &asked_first] { asked_first = sources::ExtensionIcon(fresh, "zz1"); });
  held_generic.WaitUntilAsked();
  if (LockFreeWhileAsked(fresh)) {
    EXPECT_EQ(sources::ExtensionIcon(fresh, "zz1"), 0u);
    EXPECT_EQ(sources::ExtensionIcon(fresh, "zz2"), 0u) << "its type answered, the generic icon on its way";
  }
  held_generic.Release();
  second.join();
  EXPECT_EQ(asked_first, 900u);
  EXPECT_EQ(sources::ExtensionIcon(fresh, "zz2"), 900u);
  EXPECT_EQ(FakeServices().icon_questions,
            (std::vector<std::string>{"type .lent", "generic", "type .zz1", "generic", "type .zz2"}));
}

// The display's scale changed: the process cache asks anew at the new side, and going back to an
// earlier scale finds that side's icons still there.
TEST_F(IconCache, AfterTheDpiChangesLookupsAskTheShellAtTheNewSide) {
  sources::FollowScreenDpi(96);
  sources::ResetIconCaches();  // nothing asked before, in this process
  sources::IconCache& at_96 = sources::ProcessIconCache();
  EXPECT_EQ(at_96.side, 16);
  sources::FileIcon("C:\\Echelle\\avant.exe");
  sources::FollowScreenDpi(240);
  EXPECT_EQ(sources::ProcessIconCache().side, 40);
  sources::FileIcon("C:\\Echelle\\avant.exe");
  sources::ExtensionIcon("zz240");
  sources::FollowScreenDpi(96);
  EXPECT_EQ(&sources::ProcessIconCache(), &at_96);
  sources::FileIcon("C:\\Echelle\\avant.exe");
  EXPECT_EQ(FakeServices().icon_questions,
            (std::vector<std::string>{"file C:\\Echelle\\avant.exe", "file C:\\Echelle\\avant.exe @40",
                                      "type .zz240 @40", "generic @40"}));
}

}  // namespace
