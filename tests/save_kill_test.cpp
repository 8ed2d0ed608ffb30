// Saving must never lose data: a process killed at any moment of a save leaves every file it
// writes either as it was before that save or as that save meant it to be, never in between.
// A child process saves over and over with changing values while this test kills it at
// random moments, then checks each file against the versions that were written.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <new>
#include <random>

#include "platform/environment.h"
#include "settings/numbers.h"
#include "settings/preferences_file.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "settings/usage_lists.h"
#include "tests/fakes/fakes.h"
#include "tests/test_images.h"
#include "ui/text_file.h"

namespace {

constexpr int kMostKills = 250;
constexpr auto kTimeBudget = std::chrono::seconds(8);
using Clock = std::chrono::steady_clock;

const char* const kFileNames[] = {"Kestrivalume.prefs", settings::kMostUsedFileName, settings::kLastUsedFileName};

// Everything saved depends on the version number, and the files change length with it, so a
// file cut short or mixed from two saves matches no version.
void ApplyVersion(std::int32_t version) {
  settings::Settings options;
  options.TransparencyMain = version;
  options.DisplayColumnWidth = 150 + version % 151;
  options.SelectedSkin = "Skin " + std::string(static_cast<std::size_t>(version % 40), 'x');
  options.BackgroundFile = "C:\\Images\\fond " + std::to_string(version) + ".jpg";
  options.LoadOnWindowsStart = static_cast<settings::Flag>(version % 2);
  settings::Current() = options;
  for (int i = 0; i < settings::kColourCount; ++i) settings::StandardColours()[i] = version * 31u + i;
  settings::UsageList most, last;
  for (int i = 0; i <= version % 9; ++i) {
    const std::string name =
        "Programme " + std::to_string(i) + std::string(static_cast<std::size_t>(version % 13), '-');
    most.push_back({version, name, "C:\\Menu\\" + name + ".lnk", "C:\\Outils\\p" + std::to_string(version) + ".exe"});
  }
  for (int i = 0; i <= version % 4; ++i) last.push_back({version, "Dernier " + std::to_string(i), "C:\\d.lnk", ""});
  settings::MostUsed() = most;
  settings::LastUsed() = last;
}

// The version a file claims to be: the key every version changes, or the first sort key.
std::int32_t ClaimedVersion(const std::string& name, const std::string& bytes) {
  if (name == std::string("Kestrivalume.prefs")) {
    const std::size_t at = bytes.find("TransparencyMain = ");
    return at == std::string::npos ? -1 : settings::ParseNumber32(bytes.substr(at + 19));
  }
  return settings::ParseNumber32(bytes);
}

class SaveKill : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    root_ = test_images::FreshFolder("save_kill");
    std::filesystem::create_directories(root_ + "/data");
    std::filesystem::create_directories(root_ + "/expected");
    platform::MutableEnv().data_folder = root_ + "/data/";
    void* shared = mmap(nullptr, sizeof(std::atomic<long>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    saves_done_ = new (shared) std::atomic<long>(0);
  }
  void TearDown() override {
    munmap(saves_done_, sizeof(std::atomic<long>));
    platform::MutableEnv() = platform::Environment{};
    settings::MostUsed().clear();
    settings::LastUsed().clear();
    std::filesystem::remove_all(root_);
  }

  // Saves versions first, first + 1, ... until killed.
  [[noreturn]] void ChildSaves(std::int32_t first) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    for (std::int32_t version = first; version < first + 100000; ++version) {
      ApplyVersion(version);
      settings::SaveSettings();
      saves_done_->fetch_add(1);
    }
    _exit(0);
  }

  // The exact bytes version `version` gives each file, made by the same save in another folder.
  const std::map<std::string, std::string>& Expected(std::int32_t version) {
    auto cached = expected_.find(version);
    if (cached != expected_.end()) return cached->second;
    platform::MutableEnv().data_folder = root_ + "/expected/";
    ApplyVersion(version);
    settings::SaveSettings();
    std::map<std::string, std::string>& files = expected_[version];
    for (const char* name : kFileNames) files[name] = ui::ReadFileBytes(root_ + "/expected/" + name).value_or("");
    platform::MutableEnv().data_folder = root_ + "/data/";
    return files;
  }

  // Whole, of a version that was written, and not older than what the file held before.
  bool FileIsWhole(const std::string& name, std::int32_t newest_started) {
    const std::optional<std::string> bytes = ui::ReadFileBytes(root_ + "/data/" + name);
    if (!bytes || bytes->empty()) return false;
    const std::int32_t version = ClaimedVersion(name, *bytes);
    if (version < last_seen_[name] || version > newest_started) return false;
    last_seen_[name] = version;
    return *bytes == Expected(version).at(name);
  }

  std::string root_;
  std::atomic<long>* saves_done_ = nullptr;
  std::map<std::int32_t, std::map<std::string, std::string>> expected_;
  std::map<std::string, std::int32_t> last_seen_;
};

TEST_F(SaveKill, EveryFileIsAWholeOldOrNewVersionAfterAKill) {
  ApplyVersion(0);
  settings::SaveSettings();  // the files exist from here on
  std::mt19937 random(20240611);
  long kills = 0, files_checked = 0, failures = 0;
  double seconds_per_save = 0.002;  // refined as saves are timed
  std::int32_t next_version = 1;
  const auto start = std::chrono::steady_clock::now();
  while (kills < kMostKills && Clock::now() - start < kTimeBudget) {
    const long saves_before = saves_done_->load();
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) ChildSaves(next_version);
    // Let a few saves finish, then strike at a random moment of the next one, whatever the
    // speed of the disk and the load of the machine.
    const auto child_start = Clock::now();
    const long wait_for = std::uniform_int_distribution<long>(1, 3)(random);
    while (saves_done_->load() - saves_before < wait_for && Clock::now() - child_start < std::chrono::seconds(2)) {
      usleep(100);
    }
    const long finished = saves_done_->load() - saves_before;
    if (finished > 0) {
      seconds_per_save = std::chrono::duration<double>(Clock::now() - child_start).count() / finished;
    }
    usleep(static_cast<useconds_t>(std::uniform_real_distribution<double>(0, 1.2 * seconds_per_save)(random) * 1e6));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ++kills;
    const long saves = saves_done_->load() - saves_before;
    // The save the child was in when it died may have replaced some files already.
    const std::int32_t newest_started = next_version + static_cast<std::int32_t>(saves);
    for (const char* name : kFileNames) {
      ++files_checked;
      if (!FileIsWhole(name, newest_started)) {
        ++failures;
        ADD_FAILURE() << name << " is not a whole version after kill " << kills;
      }
    }
    next_version = newest_started + 1;
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("save kill test: %ld saves, %ld kills, %ld files checked, %ld failures, %.1f s\n",
              saves_done_->load(), kills, files_checked, failures, seconds);
  EXPECT_EQ(failures, 0);
  EXPECT_GE(kills, 20);  // even on a slow, busy machine
}

}  // namespace
