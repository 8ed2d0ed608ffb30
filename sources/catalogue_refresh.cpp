#include "sources/catalogue_refresh.h"

#include <atomic>
#include <optional>

#include "platform/association.h"
#include "platform/console_helper_options.h"
#include "platform/environment.h"
#include "platform/location_marker.h"
#include "platform/services.h"
#include "sources/catalogue.h"
#include "sources/catalogue_line.h"
#include "sources/console_helper.h"
#include "sources/icon_cache.h"
#include "sources/kept_catalogue.h"
#include "sources/shown_names.h"
#include "sources/stamp.h"
#include "sources/start_menu_changes.h"

KV_MARKED_FILE(401);

namespace sources {

namespace {

// Owned by the GUI thread. The watches must be made and asked on it: the system ends a thread's
// pending requests with the thread, and a refresh thread ends after each refresh.
struct RefreshState {
  services::ThreadHandle thread = 0;
  std::int64_t last_check = 0;  // MonotonicSeconds of the last check; 0 before the first
  StartMenuWatch watch;         // armed when the last refresh was started
  std::uint32_t checks = 0;     // checks made when due, whether a refresh followed or not
};

RefreshState& State() {
  static RefreshState state;
  return state;
}

bool CheckDue(std::int64_t now) {
  if (CurrentCatalogue() == 0) return true;
  return now > State().last_check + kRefreshPeriodSeconds;
}

// What the refreshes know of each other: written by one refresh thread at a time, read by the GUI
// thread only while none runs.
struct RefreshMemory {
  bool kept_read = false;        // the kept catalogue was looked at (once per run)
  // Of the listing on disk, as last read or written: its stamp, not the listing itself (a
  // copy of a big Start menu's listing, held for the whole run only to be compared).
  std::optional<std::uint64_t> kept_stamp;
  bool watched = false;          // the GUI thread watches every folder: it decides when to list
  bool refreshed = false;        // a refresh published since the start
  std::uint64_t stamp = 0;       // of the Start menu when it began, where not every folder is watched
  std::int64_t last_refresh = 0;  // MonotonicSeconds
  int icon_side = 0;             // of the icons in what it published
};

RefreshMemory& Memory() {
  static RefreshMemory memory;
  return memory;
}

// However still the Start menu looks, a refresh runs this often.
bool SafetyNetDue(const RefreshMemory& memory, std::int64_t now) {
  return now >= memory.last_refresh + kSafetyNetSeconds;
}

// Nothing to list: a refresh has published, the safety net is not due, the icons are of the
// side drawn now (the display's scale may have changed since), and the watches of every folder
// tell no change. Asked on the GUI thread, between refreshes.
bool NothingChanged(std::int64_t now) {
  const RefreshMemory& memory = Memory();
  if (!memory.refreshed || CurrentCatalogue() == 0 || SafetyNetDue(memory, now)) return false;
  if (memory.icon_side != ProcessIconCache().side) return false;
  return State().watch.whole && !StartMenuChanged(State().watch);
}

// The same on the refresh thread where not every folder is watched: the Start menu's stamp.
bool StampUnchanged(const RefreshMemory& memory, std::uint64_t stamp, int icon_side, std::int64_t now) {
  return memory.refreshed && CurrentCatalogue() != 0 && !SafetyNetDue(memory, now) && stamp == memory.stamp &&
         icon_side == memory.icon_side;
}

std::uint64_t ListingStamp(const std::string& listing) {
  Stamp stamp;
  stamp.Add(listing);
  return stamp.Value();
}

// The catalogue with the names Windows shows, in their order.
Catalogue Named(Catalogue catalogue, const ProgramsFolders& folders) {
  ApplyShownNames(catalogue, folders, SystemShownNameSources());
  return catalogue;
}

void StartRefresh() {
  State().thread = services::StartBackgroundThread(&RunCatalogueRefresh);
}

}  // namespace

bool RefreshRunning() {
  RefreshState& state = State();
  if (state.thread == 0) return false;
  if (services::ThreadRunning(state.thread)) return true;
  services::ReleaseThread(state.thread);
  state.thread = 0;
  return false;
}

void RefreshCheck() {
  KV_MARK();
  const std::int64_t now = services::MonotonicSeconds();
  if (!CheckDue(now)) return;
  State().last_check = now;
  ++State().checks;
  if (RefreshRunning() || NothingChanged(now)) return;
  // Armed before the helper lists: a change made while it runs is told at a later check.
  WatchStartMenu(State().watch, StartMenuRoots());
  Memory().watched = State().watch.whole;
  StartRefresh();
}

namespace {

std::atomic<std::uint32_t> g_refreshes_ended{0};

// One refresh; RunCatalogueRefresh counts it when it ends, whichever way.
void Refresh() {
  RefreshMemory& memory = Memory();
  // The GUI thread may read the handler meanwhile; SetHtmHandler swaps it whole.
  const std::string htm_handler = platform::AssociationLookup("htm");
  platform::SetHtmHandler(htm_handler);
  // The cache of the side drawn now; the GUI thread may move to another meanwhile, this one lives on.
  sources::IconCache& icons = sources::ProcessIconCache();
  const ProgramsFolders folders = SystemProgramsFolders();
  if (!memory.kept_read) {
    memory.kept_read = true;
    if (std::optional<std::string> kept = ReadKeptListing()) {
      // At once without icons, then with them: the shell's icons of thousands of programs take
      // seconds, and the first click of a session should not wait for them.
      PublishCatalogue(Named(CatalogueOfListing(*kept, htm_handler, nullptr), folders));
      PublishCatalogue(Named(CatalogueOfListing(*kept, htm_handler, &icons), folders));
      memory.kept_stamp = ListingStamp(*kept);
    }
  }
  const std::int64_t now = services::MonotonicSeconds();
  // Taken before the helper lists: a change made while it runs shows in a later stamp.
  const std::uint64_t stamp = memory.watched ? 0 : StartMenuStamp(StartMenuRoots());
  if (!memory.watched && StampUnchanged(memory, stamp, icons.side, now)) return;
  KV_MARK();
  // Nothing to show yet: the first listing comes as fast as the helper can make it.
  const bool quick = CurrentCatalogue() == 0;
  Catalogue filled;
  std::string listing;
  const std::string options = quick ? std::string(platform::kStartMenuOption) + " " + platform::kNoPauseOption
                                    : platform::kStartMenuOption;
  const bool whole_run =
      RunConsoleHelper(options, [&](const std::string& line) {
        listing += line + "\r\n";
        if (auto record = ParseCatalogueLine(line, htm_handler, icons)) filled.push_back(std::move(*record));
      });
  KV_MARK();
  // Not started, or cut short by the program's end: what was read is not all there is.
  if (!whole_run) return;
  MatchGroupCounts(filled);
  if (!PublishCatalogue(Named(std::move(filled), folders))) return;
  memory.refreshed = true;
  memory.stamp = stamp;
  memory.last_refresh = now;
  memory.icon_side = icons.side;
  // Only a whole listing is kept: one cut off by a stall would come back as a short catalogue.
  const std::uint64_t listing_stamp = ListingStamp(listing);
  if (listing_stamp != memory.kept_stamp && IsWholeListing(listing) && SaveKeptCatalogue(listing)) {
    memory.kept_stamp = listing_stamp;
  }
}

}  // namespace

void RunCatalogueRefresh() {
  KV_MARK();
  Refresh();
  ++g_refreshes_ended;
}

std::uint32_t RefreshesEnded() { return g_refreshes_ended; }

std::uint32_t RefreshChecksMade() { return State().checks; }

bool FinishRefreshAtExit() {
  KV_MARK();
  // The helper is ended first: the refresh's read of it then returns, and the refresh with it.
  services::EndHiddenPrograms();
  RefreshState& state = State();
  if (state.thread == 0) return true;
  // Never killed: a thread ended from outside may hold a lock (the heap's) the rest needs.
  if (!services::WaitForThread(state.thread, kRefreshExitWaitMs)) return false;
  services::ReleaseThread(state.thread);
  state.thread = 0;
  return true;
}

void ResetRefreshState() {
  for (const services::WatchHandle watch : State().watch.watches) services::StopWatch(watch);
  State() = RefreshState{};
  Memory() = RefreshMemory{};
}

}  // namespace sources
