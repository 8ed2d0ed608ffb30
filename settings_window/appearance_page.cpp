#include "settings_window/appearance_page.h"

#include <optional>
#include <string>

#include "platform/environment.h"
#include "platform/location_marker.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "settings/colours.h"
#include "settings/settings.h"
#include "settings_window/colour_editor.h"
#include "settings_window/settings_controls.h"
#include "settings_window/settings_window.h"
#include "settings_window/skins_list.h"
#include "ui/controls.h"
#include "ui/message_box.h"

KV_MARKED_FILE(601);

namespace settings_window {

namespace {

void AddBackgroundRow() {
  const std::string& file = settings::Current().BackgroundFile;
  ui::AddText(kSettingsWindow, kBackgroundText, {368, 455, 113, 18}, "Image de fond");
  ui::AddButton(kSettingsWindow, kBackgroundFileButton, {486, 452, 60, 20}, "Fichier");
  ui::AddButton(kSettingsWindow, kBackgroundDesktopButton, {552, 452, 60, 20}, "Bureau");
  ui::AddButton(kSettingsWindow, kBackgroundNoneButton, {618, 452, 60, 20}, "Aucun");
  ui::AddText(kSettingsWindow, kBackgroundValue, {368, 475, 310, 18}, platform::FileNamePart(file));
  ui::SetTextLook(kSettingsWindow, kBackgroundValue, ui::TextAlign::Left, ui::TextEdge::Sunken);
  ui::SetTooltip(kSettingsWindow, kBackgroundValue, file);
}

// A new background always goes with the standard look, shown in a fresh window.
void UseBackground(const std::string& file) {
  settings::Current().BackgroundFile = file;
  ChooseStandardLook();
  RebuildSettingsWindow();
}

}  // namespace

void AddAppearancePage() {
  ui::AddGroupBox(kSettingsWindow, kStandardLookGroup, {357, 9, 333, 497}, "Apparence standard");
  AddColourEditor();
  AddBackgroundRow();
}

void AddApplyAndHole() {
  ui::AddButton(kSettingsWindow, kApplyButton, {520, 515, 160, 28}, "Appliquer");
  ui::AddContainer(kSettingsWindow, kPreviewHole, {kHoleX, kHoleY, kHoleWidth, kHoleHeight}, kHoleColour);
  ui::SetTextLook(kSettingsWindow, kPreviewHole, ui::TextAlign::Left, ui::TextEdge::Border);
}

void OnStandardColours() {
  KV_MARK();
  const ui::Answer answer = ui::ShowMessage("Information", "Réinitialiser toutes les couleurs aux paramètres par défaut?",
                                            ui::Buttons::YesNo, ui::Mark::Question, kSettingsWindow);
  if (answer != ui::Answer::Yes) return;
  settings::StandardColours() = settings::DefaultColours();
  UseBackground("");
}

void OnBackgroundFile() {
  KV_MARK();
  const std::optional<std::string> file =
      services::ChooseFileToOpen("Choisissez l'image de fond pour apparence standard", "Image (JPG,BMP)",
                                 "*.jpg;*.bmp", platform::Env().documents_folder);
  if (file) UseBackground(*file);
}

void OnBackgroundDesktop() {
  KV_MARK();
  const std::string wallpaper = services::DesktopWallpaper();
  if (!wallpaper.empty()) UseBackground(wallpaper);
}

void OnBackgroundNone() {
  KV_MARK();
  UseBackground("");
}

}  // namespace settings_window
