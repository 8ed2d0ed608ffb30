// The catalogue refresh: what one run reads and publishes, when the main loop starts one, when a
// run lists the Start menu at all, the catalogue kept on disk, and the end of a refresh at exit.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/environment.h"
#include "sources/catalogue.h"
#include "sources/catalogue_refresh.h"
#include "sources/icon_cache.h"
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
    // A real folder: the refresh keeps its listing there.
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    platform::MutableEnv().data_folder = folder_.string() + "/";
    FakeServices().registry[{services::RegistryRoot::ClassesRoot, ".htm", ""}] = "htmlfile";
    FakeServices().registry[{services::RegistryRoot::ClassesRoot, "htmlfile\\Shell\\Open\\Command", ""}] =
        "\"C:\\Web\\browser.exe\" %1";
    FakeServices().hidden_output = {kListing};
    // A Start menu that cannot be watched: every due check starts a refresh, which decides by
    // the stamp (the tests of the watches say otherwise).
    FakeServices().special_folders = {{0x0B, "C:\\Menu\\"}};
    FakeServices().folders["C:\\Menu\\"] = {{".", true}};
    FakeServices().unwatchable_folders = {"C:\\Menu\\"};
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string Kept() const {
    std::ifstream file(folder_ / "Kestrivalume.catalogue", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  void Keep(const std::string& listing) const {
    std::ofstream(folder_ / "Kestrivalume.catalogue", std::ios::binary) << listing;
  }
  const std::filesystem::path folder_ =
      std::filesystem::temp_directory_path() / ("kv_refresh_" + std::to_string(::getpid()));
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
  EXPECT_EQ(FakeServices().hidden_runs[0].executable, platform::Env().data_folder + "KestrivalumeConsole.exe");
  EXPECT_EQ(FakeServices().hidden_runs[0].parameters, "-startmenu -nopause") << "nothing to show yet: no pauses";
  EXPECT_EQ(FakeServices().hidden_runs[0].stall_limit_ms, 3000);
  EXPECT_EQ(platform::HtmHandler(), "C:\\Web\\browser.exe");
  ASSERT_EQ(sources::CurrentCatalogue(), 2);
  const sources::CatalogueRecord* records = sources::TakeCurrentCatalogue()->data();
  ASSERT_EQ(sources::TakeCurrentCatalogue()->size(), 5u);
  EXPECT_EQ(records[1].Name, "Bloc-notes.lnk");
  EXPECT_EQ(records[2].Count, 2);
  EXPECT_EQ(records[3].Target, "C:\\Web\\browser.exe");
  EXPECT_EQ(records[4].TargetExtension, "pdf");

  FakeServices().monotonic += 30 * 60;  // unchanged Start menu, but the safety net is due
  sources::RunCatalogueRefresh();
  EXPECT_EQ(FakeServices().hidden_runs.back().parameters, "-startmenu");
  EXPECT_EQ(sources::CurrentCatalogue(), 1);
  EXPECT_EQ(sources::CatalogueB()->size(), 5u);
  EXPECT_EQ((*sources::CatalogueB())[4].Name, "Guide.lnk");
}

TEST_F(CatalogueRefresh, AHelperThatFailsWritesNothingOrIsCutShortByTheEndPublishesNothing) {
  FakeServices().hidden_run_starts = false;
  sources::RunCatalogueRefresh();
  FakeServices().hidden_run_starts = true;
  FakeServices().hidden_output = {"\r\n\r\n"};
  sources::RunCatalogueRefresh();
  FakeServices().hidden_output = {kListing};
  FakeServices().during_hidden_run = [] { services::EndHiddenPrograms(); };
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
  FakeServices().monotonic += 45;
  sources::RefreshCheck();
  EXPECT_EQ(ThreadsStarted(), 1) << "45 seconds are not more than 45";
  FakeServices().monotonic += 1;
  sources::RefreshCheck();  // starts the second refresh, which keeps running
  EXPECT_EQ(ThreadsStarted(), 2);
  FakeServices().monotonic += 46;
  sources::RefreshCheck();  // due, but one runs: nothing started, yet the check counts
  RunStartedRefresh();
  FakeServices().monotonic += 45;
  sources::RefreshCheck();
  EXPECT_EQ(ThreadsStarted(), 2);
  FakeServices().now -= 3600;  // the wall clock set back an hour holds nothing off
  FakeServices().monotonic += 1;
  sources::RefreshCheck();
  EXPECT_EQ(ThreadsStarted(), 3);
}

// Once published, a check starts a refresh only when a watch of a folder of either tree tells a
// change (a name, size or time), or after 30 minutes; while nothing changes no folder is even
// listed.
TEST_F(CatalogueRefresh, AChecksListsAgainOnlyWhenTheStartMenuChangedOrTheSafetyNetIsDue) {
  FakeServices().special_folders = {{0x0B, "C:\\U\\"}, {0x16, "C:\\C\\"}};
  FakeServices().unwatchable_folders.clear();
  auto& folders = FakeServices().folders;
  folders["C:\\U\\"] = {{".", true}, {"Programs", true}};
  folders["C:\\U\\Programs\\"] = {{".", true}, {"A.lnk", false, 300, 1000}};
  folders["C:\\C\\"] = {{".", true}, {"Outils", true}};
  folders["C:\\C\\Outils\\"] = {{".", true}, {"B.lnk", false, 200, 1000}, {"C.lnk", false, 100, 1000}};
  const auto runs = [] { return FakeServices().hidden_runs.size(); };
  const auto check = [this](std::int64_t seconds) {
    FakeServices().monotonic += seconds;
    const int started = ThreadsStarted();
    sources::RefreshCheck();
    if (ThreadsStarted() > started) RunStartedRefresh();
  };
  check(0);
  ASSERT_EQ(runs(), 1u);
  const int listings = FakeServices().folder_listings;
  check(46);
  EXPECT_EQ(runs(), 1u) << "nothing changed";
  EXPECT_EQ(FakeServices().folder_listings, listings) << "the watches told it: no folder was listed";
  const std::vector<std::function<void()>> changes = {
      [&] { folders["C:\\U\\Programs\\"][1].size = 301; },                 // edited
      [&] { folders["C:\\C\\Outils\\"][2].last_write = 1001; },            // touched
      [&] { folders["C:\\C\\Outils\\"][1].name = "D.lnk"; },               // renamed, common tree
      [&] { folders["C:\\U\\Programs\\"].push_back({"E.lnk", false, 1, 1}); },  // added
      [&] {  // a new folder
        folders["C:\\U\\"].push_back({"Jeux", true});
        folders["C:\\U\\Jeux\\"] = {{".", true}};
      },
      [&] { folders["C:\\U\\Jeux\\"].push_back({"F.lnk", false, 1, 1}); },  // in the new folder
      [&] { folders["C:\\U\\Programs\\"].resize(1); },                     // deleted
  };
  std::size_t expected = 1;
  for (const auto& change : changes) {
    change();
    check(46);
    EXPECT_EQ(runs(), ++expected);
    check(46);
    EXPECT_EQ(runs(), expected) << "one run per change";
  }
  check(30 * 60 - 2 * 46);
  EXPECT_EQ(runs(), expected);
  check(46);
  EXPECT_EQ(runs(), expected + 1) << "the safety net";
  FakeServices().now -= 3600;  // the wall clock set back an hour, then on a day: no burst
  check(46);
  FakeServices().now += 86400;
  check(46);
  EXPECT_EQ(runs(), expected + 1);
}

// The helper is ended before the wait, so the refresh's read returns; a refresh that still does
// not end is left running (the program then ends at once), never killed alone.
TEST_F(CatalogueRefresh, TheExitEndsTheHelperFirstThenWaitsFifteenSecondsForTheRefresh) {
  EXPECT_TRUE(sources::FinishRefreshAtExit());
  EXPECT_TRUE(FakeServices().thread_waits.empty()) << "nothing to wait for";
  FakeServices().hidden_programs_ended = false;
  sources::RefreshCheck();
  RunStartedRefresh();
  FakeServices().monotonic += 46;
  sources::RefreshCheck();
  EXPECT_FALSE(sources::FinishRefreshAtExit());
  EXPECT_TRUE(FakeServices().hidden_programs_ended);
  EXPECT_EQ(FakeServices().thread_waits, std::vector<int>{15000});
  EXPECT_TRUE(FakeServices().threads[1].running);
  RunStartedRefresh();
  EXPECT_TRUE(sources::FinishRefreshAtExit());
  EXPECT_TRUE(FakeServices().threads[1].released);
}

// A folder that cannot be watched: a stamp of both trees is taken at every check instead, and
// tells the changes as well.
TEST_F(CatalogueRefresh, WhereAFolderCannotBeWatchedTheStampTellsTheChanges) {
  FakeServices().special_folders = {{0x0B, "C:\\U\\"}, {0x16, "C:\\C\\"}};
  FakeServices().folders["C:\\U\\"] = {{".", true}, {"Reseau", true}};
  FakeServices().folders["C:\\U\\Reseau\\"] = {{".", true}, {"A.lnk", false, 300, 1000}};
  FakeServices().unwatchable_folders = {"C:\\U\\Reseau\\"};
  sources::RunCatalogueRefresh();
  sources::RunCatalogueRefresh();
  EXPECT_EQ(FakeServices().hidden_runs.size(), 1u) << "nothing changed";
  FakeServices().folders["C:\\U\\Reseau\\"][1].last_write = 1001;
  sources::RunCatalogueRefresh();
  EXPECT_EQ(FakeServices().hidden_runs.size(), 2u);
}

// After the display's scale changed, the next refresh lists again though the Start menu did not
// change: the catalogue's icons are then of the side the menu draws at the new scale.
TEST_F(CatalogueRefresh, ANewDisplayScaleListsAgainForIconsOfTheNewSide) {
  sources::FollowScreenDpi(96);
  sources::ResetIconCaches();  // nothing asked before, in this process
  sources::RunCatalogueRefresh();
  sources::RunCatalogueRefresh();
  EXPECT_EQ(FakeServices().hidden_runs.size(), 1u) << "nothing changed";
  sources::FollowScreenDpi(168);
  sources::RunCatalogueRefresh();
  sources::RunCatalogueRefresh();
  sources::FollowScreenDpi(96);
  EXPECT_EQ(FakeServices().hidden_runs.size(), 2u);
  const std::vector<std::string>& asked = FakeServices().icon_questions;
  EXPECT_NE(std::find(asked.begin(), asked.end(), "file C:\\Windows\\notepad.exe @28"), asked.end());
}

// The listing is kept; the next start shows it before its helper has written a line (first
// without icons, at once, then with them), and that first refresh runs with its pauses, there
// being programs to show meanwhile.
TEST_F(CatalogueRefresh, TheKeptListingIsPublishedFirstAtTheNextStart) {
  sources::RunCatalogueRefresh();
  EXPECT_EQ(Kept(), kListing);

  sources::ResetCatalogues();  // the next start
  sources::ResetRefreshState();
  sources::SharedCatalogue without_icons, with_icons;
  FakeServices().during_hidden_run = [&] {
    without_icons = sources::CatalogueA();
    with_icons = sources::CatalogueB();
  };
  sources::RunCatalogueRefresh();
  EXPECT_EQ(FakeServices().hidden_runs.back().parameters, "-startmenu");
  ASSERT_TRUE(without_icons && with_icons);
  ASSERT_EQ(with_icons->size(), 5u);
  EXPECT_EQ((*without_icons)[4].Name, "Guide.lnk");
  EXPECT_EQ((*without_icons)[4].Icon, 0u);
  EXPECT_NE((*with_icons)[4].Icon, 0u);  // the type's icon, or the generic one
  EXPECT_EQ((*with_icons)[3].Target, "C:\\Web\\browser.exe");
  EXPECT_EQ((*with_icons)[2].Count, 2);
}

// Written only when it changed, and never a listing cut off by a stall.
TEST_F(CatalogueRefresh, OnlyAChangedWholeListingIsWritten) {
  sources::RunCatalogueRefresh();
  std::filesystem::remove(folder_ / "Kestrivalume.catalogue");
  FakeServices().monotonic += 30 * 60;
  sources::RunCatalogueRefresh();
  EXPECT_FALSE(std::filesystem::exists(folder_ / "Kestrivalume.catalogue")) << "the same listing again";
  FakeServices().hidden_output = {">\t1\t\tC:\\Menu\\\r\nA.lnk\tC:\\Menu\\\tC:\\a.exe\texe\t\r\n>\t2\tJeux\\\tC:\\J\\\r\nB.lnk"};
  FakeServices().monotonic += 30 * 60;
  sources::RunCatalogueRefresh();
  EXPECT_EQ(sources::TakeCurrentCatalogue()->size(), 3u) << "published as read";
  EXPECT_FALSE(std::filesystem::exists(folder_ / "Kestrivalume.catalogue"));
  FakeServices().hidden_output = {">\t1\t\tC:\\Menu\\\r\nA.lnk\tC:\\Menu\\\tC:\\a.exe\texe\t\r\n"};
  FakeServices().monotonic += 30 * 60;
  sources::RunCatalogueRefresh();
  EXPECT_EQ(Kept(), ">\t1\t\tC:\\Menu\\\r\nA.lnk\tC:\\Menu\\\tC:\\a.exe\texe\t\r\n");
}

// Anything but a whole listing is ignored: nothing of it is shown, and the first refresh lists
// as fast as it can.
TEST_F(CatalogueRefresh, ADamagedTruncatedOrForeignKeptFileIsIgnored) {
  const std::string whole = kListing;
  const std::vector<std::string> damaged = {
      "",
      whole.substr(0, whole.size() - 1),                       // the last line end cut
      whole.substr(0, whole.find("Site.url")),                 // a group short of its entries
      whole.substr(whole.find("Bloc-notes")),                  // entries before any header
      ">\t1\t\tC:\\Menu\\\r\nBloc-notes.lnk\tC:\\Menu\\\r\n",     // an entry of two fields
      ">\tun\t\tC:\\Menu\\\r\n",                               // a count that is no number
      ">\t0\t\tC:\\Menu\\\r\n\r\n",                            // an empty line
      std::string(">\t0\t\tC:\\Me\0nu\\\r\n", 17),             // a NUL
      "[Preferences]\r\nShowMostUsed = 1\r\n",                 // somebody else's file
  };
  for (const std::string& bytes : damaged) {
    sources::ResetCatalogues();
    sources::ResetRefreshState();
    Keep(bytes);
    FakeServices().hidden_run_starts = false;
    sources::RunCatalogueRefresh();
    EXPECT_EQ(sources::CurrentCatalogue(), 0) << bytes;
    EXPECT_EQ(FakeServices().hidden_runs.back().parameters, "-startmenu -nopause") << bytes;
  }
}

}  // namespace
