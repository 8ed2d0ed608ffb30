#include "settings_window/preview_window.h"

#include "platform/location_marker.h"
#include "settings/settings.h"
#include "settings_window/colour_elements.h"
#include "settings_window/settings_controls.h"
#include "ui/controls.h"
#include "ui/font_numbers.h"
#include "ui/scale.h"
#include "ui/window.h"

KV_MARKED_FILE(604);

namespace settings_window {

namespace {

using settings::ColourIndex;

constexpr int kPreviewWidth = kHoleWidth - 2;
constexpr int kPreviewHeight = kHoleHeight - 2;
constexpr int kUpperLine = 42;
constexpr int kLowerLine = 43;

// One control of the miniature menu and the standard colours it shows.
struct PreviewItem {
  int control;
  ui::Box box;
  const char* text;  // null for a line (a plain container)
  int font;
  ColourIndex text_colour;
  ColourIndex background;
  bool transparent;  // drawn straight on the preview's background, as menu entries are
};

// In creation order.
const PreviewItem kItems[] = {
    {kUpperLine, {6, 7, 250, 1}, nullptr, 0, settings::kLineColorHorizontal, settings::kLineColorHorizontal, false},
    {35, {6, 8, 250, 18}, " Titre de la catégorie", ui::kFontLargeTitle, settings::kTitleColor,
     settings::kTitleBackColor, false},
    {kLowerLine, {6, 40, 250, 1}, nullptr, 0, settings::kLineColorHorizontal, settings::kLineColorHorizontal, false},
    {36, {6, 41, 250, 15}, " Titre du groupe de programmes", ui::kFontSmallBold, settings::kSubTitleColor,
     settings::kSubTitleBackColor, false},
    {37, {6, 70, 250, 15}, " Titre du sous-groupe de programmes", ui::kFontSmallBold, settings::kFontColor,
     settings::kListingColor, true},
    {38, {6, 95, 180, 18}, " Lien vers programme ou document", ui::kFontControl, settings::kLinkColor,
     settings::kListingColor, true},
    {39, {186, 95, 60, 18}, "Surbrillance", ui::kFontControl, settings::kLinkHiColor, settings::kListingColor,
     true},
    {40, {60, 130, 150, 20}, "Info-bulles", ui::kFontInformation, settings::kTooltipColor,
     settings::kTooltipBackColor, false},
    {41, {268, 7, 1, 148}, nullptr, 0, settings::kLineColorVertical, settings::kLineColorVertical, false},
};

const PreviewItem* FindItem(int control) {
  for (const PreviewItem& item : kItems) {
    if (item.control == control) return &item;
  }
  return nullptr;
}

void ColourItem(const PreviewItem& item) {
  const settings::ColourSet& colours = settings::StandardColours();
  ui::SetColours(kPreviewWindow, item.control,
                 {colours[item.text_colour], colours[item.background], item.transparent});
}

void AddItem(const PreviewItem& item) {
  if (!item.text) {
    ui::AddContainer(kPreviewWindow, item.control, item.box, settings::StandardColours()[item.background]);
    return;
  }
  ui::AddText(kPreviewWindow, item.control, item.box, item.text, item.font);
  if (item.control == 40) ui::SetTextCentred(kPreviewWindow, item.control);
  ColourItem(item);
}

// The standard background picture (its top-left part) when there is one, else ListingColor.
void PaintBackground() {
  const settings::BackgroundSlot& background = settings::StandardBackground();
  if (background.has_image) {
    ui::SetBackgroundImage(kPreviewWindow, background.image_number);
  } else {
    ui::SetBackgroundColour(kPreviewWindow, settings::StandardColours()[settings::kListingColor]);
  }
}

// Screen place of the preview: 1 pixel inside the settings window's hole, at that window's scale.
void HoleCorner(int* x, int* y) {
  ui::InnerOrigin(kSettingsWindow, x, y);
  const int dpi = ui::WindowDpi(kSettingsWindow);
  *x += ui::Scaled(kHoleX + 1, dpi);
  *y += ui::Scaled(kHoleY + 1, dpi);
}

}  // namespace

void OpenPreviewWindow() {
  KV_MARK();
  ui::WindowShape shape;
  shape.number = kPreviewWindow;
  shape.title = kPreviewTitle;
  shape.inner_width = kPreviewWidth;
  shape.inner_height = kPreviewHeight;
  shape.tool_window = true;
  shape.owner = kSettingsWindow;
  shape.draws_elements = true;
  HoleCorner(&shape.x, &shape.y);  // opened where it stays, so it is drawn at that monitor's DPI
  if (!ui::OpenWindow(shape)) return;
  PaintBackground();
  ui::SetWindowAlpha(kPreviewWindow, settings::Current().Transparency);  // whatever WindowsTransparency says
  ui::SetCreationFont(ui::kDefaultFont);
  for (const PreviewItem& item : kItems) AddItem(item);
  PlacePreviewWindow();
  ui::ShowWindow(kPreviewWindow);
}

void ClosePreviewWindow() { ui::CloseWindow(kPreviewWindow); }

void PlacePreviewWindow() {
  if (!ui::WindowExists(kPreviewWindow) || !ui::WindowExists(kSettingsWindow)) return;
  int x = 0, y = 0;
  HoleCorner(&x, &y);
  ui::MoveWindowTo(kPreviewWindow, x, y);
}

void SetPreviewOpacity(int opacity) { ui::SetWindowAlpha(kPreviewWindow, opacity); }

void ShowElementColour(int row) {
  if (row < 0 || row >= static_cast<int>(settings_window::kColourElements.size())) return;
  const settings_window::ColourElement& element = settings_window::kColourElements[static_cast<std::size_t>(row)];
  if (element.preview_control == kPreviewWindow) {
    ui::SetBackgroundColour(kPreviewWindow, settings::StandardColours()[element.colour]);
    return;
  }
  if (const PreviewItem* item = FindItem(element.preview_control)) ColourItem(*item);
  if (element.preview_control == kUpperLine) ColourItem(*FindItem(kLowerLine));
}

}  // namespace settings_window
