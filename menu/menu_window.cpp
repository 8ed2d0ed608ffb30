#include "menu/menu_window.h"

#include "menu/layout.h"
#include "menu/menu_controls.h"
#include "menu/menu_focus.h"
#include "menu/sections.h"
#include "platform/environment.h"
#include "platform/location_marker.h"
#include "settings/settings.h"
#include "sources/catalogue.h"
#include "sources/icon_cache.h"
#include "ui/controls.h"
#include "ui/font_numbers.h"
#include "ui/scale.h"
#include "ui/window.h"

KV_MARKED_FILE(502);

namespace menu {

namespace {

constexpr int kIconColumnX = 5;
constexpr int kButtonSide = 16;  // the button window's, which the menu opens beside

struct IconButton {
  int control;
  int y;
  int image;
  const char* tooltip;
};

int OnOff(settings::Flag flag, int on, int off) { return flag ? on : off; }

void AddIconButtons(int x, const IconButton* buttons, int count) {
  for (int i = 0; i < count; ++i) {
    ui::AddIconButton(kMenuWindow, buttons[i].control, x, buttons[i].y, buttons[i].image);
    ui::SetTooltip(kMenuWindow, buttons[i].control, buttons[i].tooltip);
  }
}

void AddToolColumn() {
  const settings::Settings& options = settings::Current();
  const IconButton buttons[] = {
      {kCloseButton, 5, 1, "Fermer la fenêtre"},
      {kNextProgramsPageButton, 47, 2, "Page suivante du programme"},
      {kShowDocumentsButton, 68, OnOff(options.ShowDocsImmediate, 13, 14), "Afficher et masquer 'Documents récents'"},
      {kShowProgramsButton, 89, OnOff(options.ShowProgImmediate, 11, 12),
       "Afficher et masquer 'Lancer des programmes'"},
      {kProgramsFilterButton, 131, OnOff(options.ShowFilterExe, 4, 7), "Inclure/exclure des applications"},
      {kHelpFilesFilterButton, 152, OnOff(options.ShowFilterHlp, 6, 9), "Inclure/exclure des fichiers d'aide"},
      {kDocumentsFilterButton, 173, OnOff(options.ShowFilterDoc, 5, 8), "Inclure/exclure d'autres fichiers"},
      {kSettingsButton, 215, 3, "Paramètres"},
      {kHelpButton, 236, 21, "Aide"},
  };
  AddIconButtons(kIconColumnX, buttons, sizeof buttons / sizeof buttons[0]);
}

void AddFixedColumn(const LayoutCursor& cursor) {
  const int fixed_x = InnerWidth(cursor);
  ui::SetInnerSize(kMenuWindow, fixed_x + kToolColumnWidth, cursor.inner_height);
  DrawSeparator(fixed_x, kTop, settings::kVerticalLineImage);
  const IconButton buttons[] = {
      {kFixedCloseButton, 5, 1, "Fermer la fenêtre"},
      {kExplorerButton, 47, 15, "Explorateur Windows"},
      {kControlPanelButton, 68, 16, "Panneau de configuration"},
      {kPrintersButton, 89, 18, "Imprimantes"},
      {kTaskManagerButton, 131, 17, "Gestionnaire de Tâches"},
      {kRunButton, 152, 19, "Exécuter..."},
      {kShutDownButton, 194, 20, "Arrêter l'ordinateurr"},
  };
  AddIconButtons(fixed_x + kIconColumnX, buttons, sizeof buttons / sizeof buttons[0]);
}

// The skin's picture when a skin is selected, else the standard look's; or the plain colour.
void PaintBackground() {
  const settings::BackgroundSlot& slot =
      settings::Current().SelectedSkin.empty() ? settings::StandardBackground() : settings::SkinBackground();
  if (slot.has_image) {
    ui::SetBackgroundImage(kMenuWindow, slot.image_number);
  } else {
    ui::SetBackgroundColour(kMenuWindow, settings::ActiveColours()[settings::kListingColor]);
  }
}

bool OpenMenuWindow(const LayoutCursor& cursor) {
  const settings::Settings& options = settings::Current();
  ui::WindowShape shape;
  shape.number = kMenuWindow;
  shape.title = kMenuTitle;
  shape.x = ui::Scaled(kButtonSide, platform::Env().screen_dpi);  // beside the button window
  shape.y = 0;
  shape.inner_width = options.DisplayColumnWidth + kToolColumnWidth;
  shape.inner_height = cursor.inner_height;
  shape.drop_shadow = true;
  shape.draws_elements = true;
  shape.tool_window = options.WindowsTransparency != 0;
  if (!ui::OpenWindow(shape)) return false;
  PaintBackground();
  if (options.WindowsTransparency) ui::SetWindowAlpha(kMenuWindow, options.Transparency);
  return true;
}

bool g_built_without_catalogue = false;

}  // namespace

void NoteProgramsWithoutCatalogue() { g_built_without_catalogue = true; }

bool AwaitsArrivedCatalogue() {
  return g_built_without_catalogue && sources::CurrentCatalogue() != 0 && ui::WindowExists(kMenuWindow);
}

void BuildMenuWindow() {
  KV_MARK();
  g_built_without_catalogue = false;
  const platform::Environment& env = platform::Env();
  // Icons asked from now on are of the side drawn at the screen's DPI, which may have changed.
  sources::FollowScreenDpi(env.screen_dpi);
  // The layout is in 96-DPI units: at 144 DPI a screen 1080 pixels high holds 720 of them.
  LayoutCursor cursor = StartLayout(ui::Unscaled(env.screen_right, env.screen_dpi),
                                    ui::Unscaled(env.screen_bottom, env.screen_dpi),
                                    settings::Current().DisplayColumnWidth);
  if (!OpenMenuWindow(cursor)) return;
  ui::SetCreationFont(ui::kFontControl);
  AddToolColumn();
  DrawSeparator(kToolColumnWidth, kTop, settings::kVerticalLineImage);
  MenuBindings().clear();
  LabelColours().clear();
  const settings::Settings& options = settings::Current();
  KV_MARK();
  if (options.ShowActiveTasks) BuildRunningPrograms(cursor);
  if (options.ShowMostUsed) BuildMostUsed(cursor);
  if (options.ShowLastUsed) BuildLastUsed(cursor);
  KV_MARK();
  if (BuildRecentDocuments(cursor)) {
    KV_MARK();
    BuildPrograms(cursor);
  }
  AddFixedColumn(cursor);
  ui::SetCreationFont(ui::kDefaultFont);
  ui::ShowWindow(kMenuWindow);
  TakeForegroundForMenu();
  // The menu this one replaces goes only now: the front never left the program meanwhile.
  ui::DestroyRetiredWindows();
}

// The window stays on the screen until the event that closed it is handled, or until the next
// menu in its place is shown.
void CloseMenuWindow() { ui::RetireWindow(kMenuWindow); }

}  // namespace menu
