#pragma once
// A recorder of the controls and window changes the program asks of the user-interface
// runtime, so layout rules can be checked without Windows.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace fakes {

enum class ControlKind { Text, Image, IconHandle, IconButton, Link, Button, CheckBox, Slider, DropDown, GroupBox, Container, ImageButton };

struct FakeControl {
  int window = 0;
  int number = 0;
  ControlKind kind = ControlKind::Text;
  ui::Box box;
  std::string text;
  int image = -1;
  std::uintptr_t icon = 0;
  int font = ui::kDefaultFont;  // the font given, or the creation font
  std::string tooltip;
  bool has_colours = false;
  ui::TextColours colours;
  ui::Rgb hover = 0;
  bool checked = false;
  int value = 0;
  std::vector<std::string> items;
  int selection = -1;
  bool enabled = true;
  bool centred = false;
  ui::TextAlign align = ui::TextAlign::Left;
  ui::TextEdge edge = ui::TextEdge::None;
  int minimum = 0, maximum = 0;  // a slider's range; its value stays inside, as on Windows
};

struct WindowState {
  int inner_width = 0, inner_height = 0;
  bool has_background_colour = false;
  ui::Rgb background_colour = 0;
  int background_image = -1;
  bool shown = false;
  int x = 0, y = 0;
  bool reports_moves = false;
  bool has_colour_key = false;
  ui::Rgb colour_key = 0;
  std::map<std::string, std::uintptr_t> published;  // PublishNumber
};

struct ControlRecorder {
  std::vector<FakeControl> controls;  // in creation order; removed ones are erased
  std::map<int, WindowState> window_states;
  int creation_font = ui::kDefaultFont;
  int next_auto = ui::kFirstAutoNumber;
};

ControlRecorder& Recorder();

// The controls of one window, in creation order.
std::vector<FakeControl> ControlsOf(int window);
// One control, or null.
FakeControl* FindFakeControl(int window, int number);

}  // namespace fakes
