#include "settings_window/colour_editor.h"

#include <string>
#include <vector>

#include "platform/location_marker.h"
#include "platform/services.h"
#include "settings/numbers.h"
#include "settings/settings.h"
#include "settings_window/colour_conversion.h"
#include "settings_window/colour_elements.h"
#include "settings_window/preview_window.h"
#include "settings_window/settings_controls.h"
#include "ui/controls.h"
#include "ui/message_box.h"

KV_MARKED_FILE(602);

namespace settings_window {

namespace {

// A label, its slider and the value text at its right.
struct SliderRow {
  int label;
  const char* text;
  int label_y, slider_y, value_y;
  int maximum;
};

const SliderRow kSliderRows[] = {
    {62, "Couleur", 266, 264, 266, 360},     {65, "Saturation", 286, 284, 286, 100},
    {68, "Luminosité", 306, 304, 306, 100},  {71, "Rouge", 340, 338, 340, 255},
    {74, "Vert", 360, 357, 360, 255},        {77, "Bleue", 380, 377, 380, 255},
};

constexpr int kRowCount = static_cast<int>(settings_window::kColourElements.size());

void AddSliderRow(const SliderRow& row) {
  const int slider = row.label + 1, value = row.label + 2;
  ui::AddText(kSettingsWindow, row.label, {368, row.label_y, 50, 18}, row.text);
  ui::AddSlider(kSettingsWindow, slider, {420, row.slider_y, 230, 18}, 0, row.maximum, 0);
  ui::AddText(kSettingsWindow, value, {655, row.value_y, 20, 18}, "0");
  ui::SetTextLook(kSettingsWindow, value, ui::TextAlign::Right, ui::TextEdge::None);
}

std::vector<std::string> ElementNames() {
  std::vector<std::string> names;
  for (const settings_window::ColourElement& element : settings_window::kColourElements) names.push_back(element.display_name);
  return names;
}

void Show(int slider, int value_text, int value) {
  ui::SetText(kSettingsWindow, value_text, settings::FormatNumber(value));
  ui::SetSliderValue(kSettingsWindow, slider, value);
}

void ShowRgb(int red, int green, int blue) {
  Show(kRedSlider, kRedValue, red);
  Show(kGreenSlider, kGreenValue, green);
  Show(kBlueSlider, kBlueValue, blue);
}

void ShowHsl(const Hsl& hsl) {
  Show(kHueSlider, kHueValue, hsl.hue);
  Show(kSaturationSlider, kSaturationValue, hsl.saturation);
  Show(kLightnessSlider, kLightnessValue, hsl.lightness);
}

int Byte(settings::Colour colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

settings::Colour& ColourOf(int row) {
  return settings::StandardColours()[settings_window::kColourElements[static_cast<std::size_t>(row)].colour];
}

// The row being edited, or -1 when list 60 has none.
int EditedRow() {
  const int row = SelectedElement();
  return row >= 0 && row < kRowCount ? row : -1;
}

int ValueOf(int value_text) { return settings::ParseNumber32(ui::Text(kSettingsWindow, value_text)); }

// Stores a colour in the row, shows it in all six sliders and in the preview.
void TakeColour(int row, int red, int green, int blue) {
  ShowRgb(red, green, blue);
  ColourOf(row) = static_cast<settings::Colour>(red + green * 256 + blue * 65536);
  ShowHsl(RgbToHsl(red, green, blue));
  ShowElementColour(row);
}

}  // namespace

int& SelectedElement() {
  static int row = -1;
  return row;
}

void AddColourEditor() {
  ui::AddText(kSettingsWindow, kElementHint, {368, 208, 312, 18}, "Sélectionnez l'élément et réglez la couleur ...");
  ui::AddDropDown(kSettingsWindow, kElementList, {368, 226, 310, 20}, ElementNames());
  ui::AddImage(kSettingsWindow, kHueScale, {430, 252, 210, 10}, kHueScaleImage);
  for (const SliderRow& row : kSliderRows) AddSliderRow(row);
  ui::AddButton(kSettingsWindow, kColourDialogButton, {427, 410, 105, 20}, "Sélecteur couleurs");
  ui::AddButton(kSettingsWindow, kStandardColoursButton, {539, 410, 105, 20}, "Couleurs standards");
}

void LoadElementIntoEditor(int row) {
  if (row < 0 || row >= kRowCount) return;
  const settings::Colour colour = ColourOf(row);
  const int red = Byte(colour, 0), green = Byte(colour, 8), blue = Byte(colour, 16);
  ShowRgb(red, green, blue);
  ShowHsl(RgbToHsl(red, green, blue));
}

void OnElementChosen() {
  KV_MARK();
  const int row = ui::DropDownSelection(kSettingsWindow, kElementList);
  if (row == 0 && !settings::StandardBackground().file_name.empty()) {
    ui::ShowMessage("Information", "La couleur de fond ne peut pas être réglée si une image de fond est active",
                    ui::Buttons::Ok, ui::Mark::Information, kSettingsWindow);
    ui::SetDropDownSelection(kSettingsWindow, kElementList, SelectedElement());
    return;
  }
  if (row < 0 || row >= kRowCount) return;
  SelectedElement() = row;
  LoadElementIntoEditor(row);
}

// The moved component from its slider, the other two from their value texts.
void OnHslMoved(int slider) {
  const int row = EditedRow();
  if (row < 0) return;
  int hue = ValueOf(kHueValue), saturation = ValueOf(kSaturationValue), lightness = ValueOf(kLightnessValue);
  const int position = ui::SliderValue(kSettingsWindow, slider);
  if (slider == kHueSlider) hue = position;
  if (slider == kSaturationSlider) saturation = position;
  if (slider == kLightnessSlider) lightness = position;
  ui::SetText(kSettingsWindow, slider + 1, settings::FormatNumber(position));
  const Rgb rgb = HslToRgb(hue, saturation, lightness);
  ShowRgb(rgb.red, rgb.green, rgb.blue);
  ColourOf(row) = static_cast<settings::Colour>(rgb.red + rgb.green * 256 + rgb.blue * 65536);
  ShowElementColour(row);
}

// The moved component from its slider, the other two from the stored colour.
void OnRgbMoved(int slider) {
  const int row = EditedRow();
  if (row < 0) return;
  const settings::Colour colour = ColourOf(row);
  int red = Byte(colour, 0), green = Byte(colour, 8), blue = Byte(colour, 16);
  const int position = ui::SliderValue(kSettingsWindow, slider);
  if (slider == kRedSlider) red = position;
  if (slider == kGreenSlider) green = position;
  if (slider == kBlueSlider) blue = position;
  TakeColour(row, red, green, blue);
}

void OnColourDialog() {
  KV_MARK();
  const int row = EditedRow();
  if (row < 0) return;
  const std::optional<std::uint32_t> chosen = services::ChooseColour(ColourOf(row));
  if (!chosen) return;
  TakeColour(row, Byte(*chosen, 0), Byte(*chosen, 8), Byte(*chosen, 16));
}

}  // namespace settings_window
