#include "settings_window/skins_list.h"

#include <vector>

#include "platform/location_marker.h"
#include "platform/services.h"
#include "platform/text.h"
#include "settings/file_checks.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "settings/skin_reading.h"
#include "settings_window/settings_controls.h"
#include "settings_window/settings_window.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/image.h"
#include "ui/image_store.h"
#include "ui/message_box.h"
#include "ui/window.h"

KV_MARKED_FILE(607);

namespace settings_window {

namespace {

constexpr int kNoImage = -1;

// The entries of list 55 as added: the standard look, then the skin folders.
std::vector<std::string> g_entries;
// The entry whose preview is shown.
int g_last_skin_index = -1;

std::vector<std::string> SkinFolderNames() {
  std::vector<std::string> names;
  for (const services::FolderEntry& entry : services::ListFolder(settings::SkinsFolder())) {
    if (entry.is_folder && entry.name != "." && entry.name != "..") names.push_back(entry.name);
  }
  return names;
}

int IndexOfSkin(const std::string& name) {
  const std::string wanted = platform::LowerAscii(name);
  for (std::size_t i = 1; i < g_entries.size(); ++i) {
    if (platform::LowerAscii(g_entries[i]) == wanted) return static_cast<int>(i);
  }
  return 0;
}

std::string PreviewFile(int index) {
  return settings::SkinsFolder() + g_entries[static_cast<std::size_t>(index)] + "\\preview.jpg";
}

void ClearPreview() {
  ui::SetImage(kSettingsWindow, kSkinPreview, kNoImage);
  ui::FreeImage(kSkinPreviewImage);
  ui::SetTooltip(kSettingsWindow, kSkinPreview, "");
}

// Shows the picture stretched to the image control; a file that is no picture shows nothing.
void ShowPreviewFile(const std::string& path) {
  std::optional<ui::Image> picture = ui::LoadImageFile(path);
  if (!picture) return;
  if (picture->width != kSkinPreviewWidth || picture->height != kSkinPreviewHeight) {
    *picture = ui::ResizeSmooth(*picture, kSkinPreviewWidth, kSkinPreviewHeight);
  }
  if (!ui::StoreBitmap(kSkinPreviewImage, *picture)) return;
  ui::SetImage(kSettingsWindow, kSkinPreview, kSkinPreviewImage);
}

void ShowPreviewOf(int index) {
  ClearPreview();
  if (index < 1 || index >= static_cast<int>(g_entries.size())) return;
  const std::string path = PreviewFile(index);
  if (!settings::FileHasContent(path)) return;
  ShowPreviewFile(path);
  ui::SetTooltip(kSettingsWindow, kSkinPreview, kTransferTooltip);
}

// The skin just applied becomes the standard look: its colours and its background picture,
// referenced where it lies.
void TransferSkin() {
  KV_MARK();
  const ui::Answer answer = ui::ShowMessage("Information", "Transférer les paramètres de ce skin à l'apparence standard?",
                                            ui::Buttons::YesNo, ui::Mark::Question, kSettingsWindow);
  if (answer != ui::Answer::Yes) return;
  int x = 0, y = 0;
  ui::OuterPosition(kSettingsWindow, &x, &y);
  ApplySettingsWindow();
  settings::StandardColours() = settings::SkinColours();
  settings::Settings& options = settings::Current();
  options.BackgroundFile = settings::SkinBackground().file_name;
  options.SelectedSkin.clear();
  settings::SaveSettings();
  settings::LoadSettings();
  OpenSettingsWindowAt(x, y);
}

}  // namespace

void FillSkinList() {
  KV_MARK();
  g_entries = {kStandardLookEntry};
  for (std::string& name : SkinFolderNames()) g_entries.push_back(std::move(name));
  ui::SetDropDownItems(kSettingsWindow, kSkinList, g_entries);
  const std::string& selected = settings::Current().SelectedSkin;
  const int index = selected.empty() ? 0 : IndexOfSkin(selected);
  ui::SetDropDownSelection(kSettingsWindow, kSkinList, index);
  g_last_skin_index = index;
  ShowPreviewOf(index);
}

void OnSkinChosen() {
  const int index = ui::DropDownSelection(kSettingsWindow, kSkinList);
  if (index == g_last_skin_index) return;
  g_last_skin_index = index;
  ShowPreviewOf(index);
}

void OnSkinPreviewClicked() {
  if (!ui::ShiftWasDown() || ChosenSkin().empty()) return;
  TransferSkin();
}

std::string ChosenSkin() {
  const int index = ui::DropDownSelection(kSettingsWindow, kSkinList);
  if (index < 1 || index >= static_cast<int>(g_entries.size())) return "";
  return g_entries[static_cast<std::size_t>(index)];
}

void ChooseStandardLook() { ui::SetDropDownSelection(kSettingsWindow, kSkinList, 0); }

void ReleaseSkinPreview() {
  ui::FreeImage(kSkinPreviewImage);
  g_last_skin_index = -1;
}

}  // namespace settings_window
