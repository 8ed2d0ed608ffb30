#include "platform/environment.h"

#include <atomic>

namespace platform {

namespace {
Environment g_environment;
std::shared_ptr<const std::string> g_htm_handler = std::make_shared<const std::string>();
}  // namespace

const Environment& Env() { return g_environment; }
Environment& MutableEnv() { return g_environment; }

std::string HtmHandler() { return *std::atomic_load(&g_htm_handler); }

void SetHtmHandler(std::string handler) {
  std::atomic_store(&g_htm_handler, std::make_shared<const std::string>(std::move(handler)));
}

}  // namespace platform
