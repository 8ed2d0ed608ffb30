// The catalogue refresh: what one run reads and publishes, when the main loop starts one, the
// bounded wait of a menu build for the first catalogue, and the end of a refresh at exit.
#include <gtest/gtest.h>

#include "platform/environment.h"
#include "sources/catalogue.h"
#include "sources/catalogue_refresh.h"
#include "tests/fakes/fakes.h"

namespace {

using fakes::FakeServices;

const char kListing[] =
    ">\t1\t\tC:\\Menu\\\r\n"
    "Bloc-notes.lnk\tC:\\Menu\\\tC:\\Windows\\notepad.exe\texe\t\r\n"
    ">\t2\tAccessoires\\\tC:\\Menu\\Accessoires\\\r\n"
    "Site.url\tC:\\Menu\\Accessoires\\\tiexplore.exe\thtm\t\r\n"
    "Guide.lnk\tC:\\Menu\\Accessoires\\\tC:\\Doc\\guide.pdf\tpdf\t\r\n";

class CatalogueRefresh : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    sources::ResetCatalogues();
    sources::ResetRefreshState();
    platform::MutableEnv().data_folder = "C:\\Data\\Kestrivalume\\";
    FakeServices().registry[{services::RegistryRoot::ClassesRoot, ".htm", ""}] = "htmlfile";
    FakeServices().registry[{services::RegistryRoot::ClassesRoot, "htmlfile\\Shell\\Open\\Command", ""}] =
        "\"C:\\Web\\browser.exe\" %1";
    FakeServices().hidden_output = {kListing};
  }
  // Runs the thread the last check started to its end.
  void RunStartedRefresh() { fakes::RunThread(FakeServices().threads.size()); }
  int ThreadsStarted() const { return static_cast<int>(FakeServices().threads.size()); }
};

TEST_F(CatalogueRefresh, OneRunListsTheStartMenuAndPublishesWhatItRead) {
  // The listing arrives in pieces that cut lines and line ends apart.
  const std::string listing = kListing;
  FakeServices().hidden_output = {listing.substr(0, 30), listing.substr(30, 60), listing.substr(90)};
  sources::RunCatalogueRefresh();

  ASSERT_EQ(FakeServices().hidden_runs.size(), 1u);
  EXPECT_EQ(FakeServices().hidden_runs[0].executable, "C:\\Data\\Kestrivalume\\KestrivalumeConsole.exe");
  EXPECT_EQ(FakeServices().hidden_runs[0].parameters, "-startmenu");
  EXPECT_EQ(FakeServices().hidden_runs[0].stall_limit_ms, 3000);
  EXPECT_EQ(platform::HtmHandler(), "C:\\Web\\browser.exe");
  ASSERT_EQ(sources::CurrentCatalogue(), 2);
  const sources::CatalogueRecord* records = sources::TakeCurrentCatalogue()->data();
  ASSERT_EQ(sources::TakeCurrentCatalogue()->size(), 5u);
  EXPECT_EQ(records[1].Name, "Bloc-notes.lnk");
  EXPECT_EQ(records[2].Count, 2);
  EXPECT_EQ(records[3].Target, "C:\\Web\\browser.exe");
  EXPECT_EQ(records[4].TargetExtension, "pdf");

  sources::RunCatalogueRefresh();  // unchanged Start menu: both catalogues alike
  EXPECT_EQ(sources::CurrentCatalogue(), 1);
  EXPECT_EQ(sources::CatalogueB()->size(), 5u);
  EXPECT_EQ((*sources::CatalogueB())[4].Name, "Guide.lnk");
}

TEST_F(CatalogueRefresh, AHelperThatFailsOrWritesNothingPublishesNothing) {
  FakeServices().hidden_run_starts = false;
  sources::RunCatalogueRefresh();
  FakeServices().hidden_run_starts = true;
  FakeServices().hidden_output = {"\r\n\r\n"};
  sources::RunCatalogueRefresh();
  EXPECT_EQ(sources::CurrentCatalogue(), 0);
}

TEST_F(CatalogueRefresh, AListingCutOffByAStallIsPublishedWithHonestCounts) {
  FakeServices().hidden_output = {">\t3\tJeux\\\tC:\\Jeux\\\r\nA.lnk\tC:\\Jeux\\\tC:\\a.exe\texe\r\nB.lnk\tC:\\Je"};
  sources::RunCatalogueRefresh();
  ASSERT_EQ(sources::CurrentCatalogue(), 2);
  ASSERT_EQ(sources::TakeCurrentCatalogue()->size(), 2u);
  EXPECT_EQ(sources::TakeCurrentCatalogue()->front().Count, 1);  // readers may walk by the count
}

TEST_F(CatalogueRefresh, WhileNoCatalogueExistsEveryCheckStartsARefreshUnlessOneRuns) {
  FakeServices().hidden_output = {};  // the helper writes nothing: no catalogue ever
  sources::RefreshCheck();
  sources::RefreshCheck();
  EXPECT_EQ(ThreadsStarted(), 1) << "never two at once";
  RunStartedRefresh();
  sources::RefreshCheck();
  EXPECT_EQ(ThreadsStarted(), 2) << "the next check after the failed refresh ended";
  EXPECT_TRUE(FakeServices().threads[0].released);
}

TEST_F(CatalogueRefresh, OnceACatalogueExistsChecksComeAtMostEvery45Seconds) {
  sources::RefreshCheck();
  RunStartedRefresh();
  FakeServices().now += 45;
  sources::RefreshCheck();
  EXPECT_EQ(ThreadsStarted(), 1) << "45 seconds are not more than 45";
  FakeServices().now += 1;
  sources::RefreshCheck();  // starts the second refresh, which keeps running
  EXPECT_EQ(ThreadsStarted(), 2);
  FakeServices().now += 46;
  sources::RefreshCheck();  // due, but one runs: nothing started, yet the check counts
  RunStartedRefresh();
  FakeServices().now += 45;
  sources::RefreshCheck();
  EXPECT_EQ(ThreadsStarted(), 2);
  FakeServices().now -= 3600;  // the clock set back an hour must not hold refreshes off
  sources::RefreshCheck();
  EXPECT_EQ(ThreadsStarted(), 3);
}

TEST_F(CatalogueRefresh, TheWaitForTheFirstCatalogueStartsARefreshItselfAndIsBounded) {
  // A click before the loop's first idle pass: no refresh runs yet.
  FakeServices().threads_run_at_once = true;
  EXPECT_TRUE(sources::WaitForCatalogue());
  EXPECT_EQ(ThreadsStarted(), 1);
  EXPECT_EQ(FakeServices().slept_ms, 1000);

  // No catalogue can ever be made: the build goes on without one after five polls.
  sources::ResetCatalogues();
  sources::ResetRefreshState();
  FakeServices().hidden_output = {};
  FakeServices().slept_ms = 0;
  EXPECT_FALSE(sources::WaitForCatalogue());
  EXPECT_EQ(FakeServices().slept_ms, 5000);
  EXPECT_EQ(ThreadsStarted(), 1 + 5) << "one refresh per poll";
}

TEST_F(CatalogueRefresh, TheExitWaitsFifteenSecondsThenEndsARefreshStillRunning) {
  sources::FinishRefreshAtExit();
  EXPECT_TRUE(FakeServices().thread_waits.empty()) << "nothing to wait for";
  sources::RefreshCheck();
  RunStartedRefresh();
  FakeServices().now += 46;
  sources::RefreshCheck();
  sources::FinishRefreshAtExit();
  EXPECT_EQ(FakeServices().thread_waits, std::vector<int>{15000});
  EXPECT_FALSE(FakeServices().threads[0].killed);
  EXPECT_TRUE(FakeServices().threads[1].killed);
  EXPECT_TRUE(FakeServices().threads[1].released);
}

}  // namespace
