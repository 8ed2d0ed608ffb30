#include "settings/unsaved_files.h"

#include <set>

namespace settings {
namespace {

std::set<std::string>& FailedPaths() {
  static std::set<std::string> paths;
  return paths;
}

}  // namespace

void NoteSaveResult(const std::string& path, bool written) {
  if (written) {
    FailedPaths().erase(path);
  } else {
    FailedPaths().insert(path);
  }
}

bool LastSaveFailed(const std::string& path) { return FailedPaths().count(path) != 0; }

}  // namespace settings
