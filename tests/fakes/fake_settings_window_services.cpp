// The dialogs, the wallpaper and the folder listing of the settings window, answered from
// fakes::FakeServices().
#include "platform/services.h"
#include "tests/fakes/fakes.h"

using fakes::FakeServices;

namespace services {

std::optional<std::uint32_t> ChooseColour(std::uint32_t initial) {
  FakeServices().colour_dialog_initials.push_back(initial);
  return FakeServices().chosen_colour;
}

std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& filter_name,
                                            const std::string& filter_patterns, const std::string& start_folder) {
  FakeServices().file_dialogs.push_back({title, filter_name, filter_patterns, start_folder});
  return FakeServices().chosen_file;
}

std::string DesktopWallpaper() { return FakeServices().wallpaper; }

std::vector<FolderEntry> ListFolder(const std::string& folder) {
  ++FakeServices().folder_listings;
  auto found = FakeServices().folders.find(folder);
  return found == FakeServices().folders.end() ? std::vector<FolderEntry>{} : found->second;
}

}  // namespace services
