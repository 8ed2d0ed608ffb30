#include "tests/fakes/fake_controls.h"

#include "tests/fakes/fakes.h"
#include "ui/window.h"

namespace fakes {

ControlRecorder& Recorder() {
  static ControlRecorder recorder;
  return recorder;
}

std::vector<FakeControl> ControlsOf(int window) {
  std::vector<FakeControl> found;
  for (const FakeControl& control : Recorder().controls) {
    if (control.window == window) found.push_back(control);
  }
  return found;
}

FakeControl* FindFakeControl(int window, int number) {
  for (FakeControl& control : Recorder().controls) {
    if (control.window == window && control.number == number) return &control;
  }
  return nullptr;
}

namespace {

int Add(int window, int control, ui::Box box, ControlKind kind, const std::string& text = "") {
  if (!FakeUi().windows.count(window)) return ui::kNoControl;
  if (control == ui::kAutoNumber) control = Recorder().next_auto++;
  if (FindFakeControl(window, control)) return ui::kNoControl;
  FakeControl added;
  added.window = window;
  added.number = control;
  added.kind = kind;
  added.box = box;
  added.text = text;
  added.font = Recorder().creation_font;
  Recorder().controls.push_back(added);
  return control;
}

FakeControl* Find(int window, int control) { return FindFakeControl(window, control); }

}  // namespace
}  // namespace fakes

namespace ui {

using fakes::ControlKind;
using fakes::Find;

int AddText(int window, int control, Box box, const std::string& text, int font) {
  const int number = fakes::Add(window, control, box, ControlKind::Text, text);
  if (number != kNoControl && font != kDefaultFont) Find(window, number)->font = font;
  return number;
}
int AddImage(int window, int control, Box box, int image) {
  const int number = fakes::Add(window, control, box, ControlKind::Image);
  if (number != kNoControl) Find(window, number)->image = image;
  return number;
}
int AddIconHandle(int window, int control, Box box, std::uintptr_t icon) {
  const int number = fakes::Add(window, control, box, ControlKind::IconHandle);
  if (number != kNoControl) Find(window, number)->icon = icon;
  return number;
}
int AddIconButton(int window, int control, int x, int y, int image) {
  const int number = fakes::Add(window, control, {x, y, 16, 16}, ControlKind::IconButton);
  if (number != kNoControl) Find(window, number)->image = image;
  return number;
}
int AddLink(int window, int control, Box box, const std::string& text, int font, Rgb hover) {
  const int number = fakes::Add(window, control, box, ControlKind::Link, text);
  if (number == kNoControl) return number;
  if (font != kDefaultFont) Find(window, number)->font = font;
  Find(window, number)->hover = hover;
  return number;
}
int AddButton(int window, int control, Box box, const std::string& text) {
  return fakes::Add(window, control, box, ControlKind::Button, text);
}
int AddCheckBox(int window, int control, Box box, const std::string& text, bool checked) {
  const int number = fakes::Add(window, control, box, ControlKind::CheckBox, text);
  if (number != kNoControl) Find(window, number)->checked = checked;
  return number;
}
int AddSlider(int window, int control, Box box, int minimum, int maximum, int value) {
  const int number = fakes::Add(window, control, box, ControlKind::Slider);
  if (number == kNoControl) return number;
  Find(window, number)->minimum = minimum;
  Find(window, number)->maximum = maximum;
  SetSliderValue(window, number, value);
  return number;
}
int AddDropDown(int window, int control, Box box, const std::vector<std::string>& items) {
  const int number = fakes::Add(window, control, box, ControlKind::DropDown);
  if (number != kNoControl) Find(window, number)->items = items;
  return number;
}
int AddGroupBox(int window, int control, Box box, const std::string& text) {
  return fakes::Add(window, control, box, ControlKind::GroupBox, text);
}
int AddContainer(int window, int control, Box box, Rgb colour) {
  const int number = fakes::Add(window, control, box, ControlKind::Container);
  if (number != kNoControl) SetColours(window, number, {colour, colour, false});
  return number;
}
int AddImageButton(int window, int control, Box box, int image) {
  const int number = fakes::Add(window, control, box, ControlKind::ImageButton);
  if (number != kNoControl) Find(window, number)->image = image;
  return number;
}

void SetCreationFont(int font) { fakes::Recorder().creation_font = font; }
bool ControlExists(int window, int control) { return Find(window, control) != nullptr; }
void RemoveControl(int window, int control) {
  auto& controls = fakes::Recorder().controls;
  for (auto it = controls.begin(); it != controls.end(); ++it) {
    if (it->window == window && it->number == control) {
      controls.erase(it);
      return;
    }
  }
}
void SetTooltip(int window, int control, const std::string& text) {
  if (auto* found = Find(window, control)) found->tooltip = text;
}
void SetText(int window, int control, const std::string& text) {
  if (auto* found = Find(window, control)) found->text = text;
}
std::string Text(int window, int control) {
  auto* found = Find(window, control);
  return found ? found->text : "";
}
void SetImage(int window, int control, int image) {
  if (auto* found = Find(window, control)) found->image = image;
}
void SetColours(int window, int control, TextColours colours) {
  if (auto* found = Find(window, control)) {
    found->has_colours = true;
    found->colours = colours;
  }
}
void SetFont(int window, int control, int font) {
  if (auto* found = Find(window, control)) found->font = font;
}
void SetTextCentred(int window, int control) {
  if (auto* found = Find(window, control)) found->centred = true;
}
void SetTextLook(int window, int control, TextAlign align, TextEdge edge) {
  if (auto* found = Find(window, control)) {
    found->align = align;
    found->edge = edge;
  }
}
void Enable(int window, int control, bool enabled) {
  if (auto* found = Find(window, control)) found->enabled = enabled;
}
bool IsChecked(int window, int control) {
  auto* found = Find(window, control);
  return found && found->checked;
}
void SetChecked(int window, int control, bool checked) {
  if (auto* found = Find(window, control)) found->checked = checked;
}
int SliderValue(int window, int control) {
  auto* found = Find(window, control);
  return found ? found->value : 0;
}
void SetSliderValue(int window, int control, int value) {
  auto* found = Find(window, control);
  if (!found) return;
  if (found->minimum < found->maximum) {  // a trackbar keeps its position inside its range
    if (value < found->minimum) value = found->minimum;
    if (value > found->maximum) value = found->maximum;
  }
  found->value = value;
}
int DropDownSelection(int window, int control) {
  auto* found = Find(window, control);
  return found ? found->selection : -1;
}
void SetDropDownItems(int window, int control, const std::vector<std::string>& items) {
  if (auto* found = Find(window, control)) found->items = items;
}
void SetDropDownSelection(int window, int control, int index) {
  if (auto* found = Find(window, control)) found->selection = index;
}

// Window changes the build makes after opening a window.
void SetInnerSize(int number, int inner_width, int inner_height) {
  auto& state = fakes::Recorder().window_states[number];
  state.inner_width = inner_width;
  state.inner_height = inner_height;
}
void InnerSize(int number, int* inner_width, int* inner_height) {
  auto& state = fakes::Recorder().window_states[number];
  *inner_width = state.inner_width;
  *inner_height = state.inner_height;
}
void MoveWindowTo(int number, int x, int y) {
  auto& state = fakes::Recorder().window_states[number];
  state.x = x;
  state.y = y;
}
void OuterPosition(int number, int* x, int* y) {
  auto& state = fakes::Recorder().window_states[number];
  *x = state.x;
  *y = state.y;
}
void InnerOrigin(int number, int* x, int* y) {  // the fake's windows have no frame
  auto& state = fakes::Recorder().window_states[number];
  *x = state.x;
  *y = state.y;
}
void ReportMoves(int number) { fakes::Recorder().window_states[number].reports_moves = true; }

void AnswerSentMessages() {}

void PublishNumber(int number, const char* name, std::uintptr_t value) {
  fakes::Recorder().window_states[number].published[name] = value;
}
void SetBackgroundColour(int number, Rgb colour) {
  auto& state = fakes::Recorder().window_states[number];
  state.has_background_colour = true;
  state.background_colour = colour;
}
void SetBackgroundImage(int number, int image) { fakes::Recorder().window_states[number].background_image = image; }
bool SetWindowColourKey(int number, Rgb key) {
  auto& state = fakes::Recorder().window_states[number];
  state.has_colour_key = true;
  state.colour_key = key;
  return true;
}

}  // namespace ui
