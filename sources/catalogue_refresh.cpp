#include "sources/catalogue_refresh.h"

#include "platform/association.h"
#include "platform/environment.h"
#include "platform/location_marker.h"
#include "platform/services.h"
#include "sources/catalogue.h"
#include "sources/catalogue_line.h"
#include "sources/console_helper.h"
#include "sources/icon_cache.h"

KV_MARKED_FILE(401);

namespace sources {

namespace {

// Owned by the GUI thread.
struct RefreshState {
  services::ThreadHandle thread = 0;
  std::int64_t last_check = 0;  // LocalSeconds of the last check; 0 before the first
};

RefreshState& State() {
  static RefreshState state;
  return state;
}

bool CheckDue(std::int64_t now) {
  if (CurrentCatalogue() == 0) return true;
  const std::int64_t last = State().last_check;
  // A clock set back (the end of summer time) must not hold refreshes off for an hour.
  return now > last + kRefreshPeriodSeconds || now < last;
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
  const std::int64_t now = services::LocalSeconds();
  if (!CheckDue(now)) return;
  if (!RefreshRunning()) StartRefresh();
  State().last_check = now;
}

void RunCatalogueRefresh() {
  KV_MARK();
  // The GUI thread may read the handler meanwhile; SetHtmHandler swaps it whole.
  const std::string htm_handler = platform::AssociationLookup("htm");
  platform::SetHtmHandler(htm_handler);
  sources::IconCache& icons = sources::ProcessIconCache();
  Catalogue filled;
  RunConsoleHelper("-startmenu", [&](const std::string& line) {
    if (auto record = ParseCatalogueLine(line, htm_handler, icons)) filled.push_back(std::move(*record));
  });
  KV_MARK();
  MatchGroupCounts(filled);
  PublishCatalogue(std::move(filled));
}

bool WaitForCatalogue() {
  KV_MARK();
  for (int poll = 0; CurrentCatalogue() == 0; ++poll) {
    if (poll == kCatalogueWaitPolls) return false;
    // The wait is pointless without a refresh running; the loop is not there to start one.
    RefreshCheck();
    services::SleepMilliseconds(kCatalogueWaitPollMs);
  }
  return true;
}

void FinishRefreshAtExit() {
  KV_MARK();
  RefreshState& state = State();
  if (state.thread == 0) return;
  if (!services::WaitForThread(state.thread, kRefreshExitWaitMs)) services::KillThread(state.thread);
  services::ReleaseThread(state.thread);
  state.thread = 0;
}

void ResetRefreshState() { State() = RefreshState{}; }

}  // namespace sources
