#include <windows.h>
#include <shellapi.h>

#include "platform/services.h"

namespace services {

namespace {
const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }
}  // namespace

void ShellOpen(const std::string& file, const std::string& verb, const std::string& parameters,
               const std::string& folder) {
  ShellExecuteA(nullptr, OrNull(verb), file.c_str(), OrNull(parameters), OrNull(folder), SW_SHOWNORMAL);
}

}  // namespace services
