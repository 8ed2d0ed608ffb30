#include "platform/environment.h"

#include <atomic>

#include "platform/services.h"

namespace platform {

namespace {
Environment g_environment;
std::shared_ptr<const std::string> g_htm_handler = std::make_shared<const std::string>();
}  // namespace

const Environment& Env() { return g_environment; }
Environment& MutableEnv() { return g_environment; }

bool MeasureScreen() {
  const std::optional<services::ScreenInfo> screen = services::MeasureScreen();
  if (!screen) return false;
  g_environment.screen_right = screen->right;
  g_environment.screen_bottom = screen->bottom;
  g_environment.screen_depth = screen->depth;
  g_environment.screen_dpi = screen->dpi;
  return true;
}

std::string HtmHandler() { return *std::atomic_load(&g_htm_handler); }

void SetHtmHandler(std::string handler) {
  std::atomic_store(&g_htm_handler, std::make_shared<const std::string>(std::move(handler)));
}

}  // namespace platform
