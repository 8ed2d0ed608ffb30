#pragma once
// Controls addressed by (window number, control number). Fixed numbers come from the program;
// kAutoNumber asks for a fresh number that never collides with a fixed one (all below 1000).
#include <cstdint>
#include <string>
#include <vector>

#include "ui/window.h"

namespace ui {

constexpr int kAutoNumber = -1;
constexpr int kNoControl = -1;  // returned when a control could not be created
constexpr int kFirstAutoNumber = 1000;
constexpr int kDefaultFont = 0;  // the system's default GUI font

struct Box {
  int x = 0, y = 0, width = 0, height = 0;
};

// Colours a static text, link or image control paints with. Without colours, a control paints
// in the system's colours.
struct TextColours {
  Rgb text = 0;
  Rgb background = 0;
  bool transparent = false;  // no background: the window's colour or picture shows through
};

// Each returns the control's number (0 is a valid fixed number), or kNoControl.
int AddText(int window, int control, Box box, const std::string& text, int font = kDefaultFont);
int AddImage(int window, int control, Box box, int image);
// A picture of an icon handle owned elsewhere (the shell's small icons); the control never
// destroys it.
int AddIconHandle(int window, int control, Box box, std::uintptr_t icon);
// A 16 x 16 (or image-sized) picture that reports a click when the left button is released on it.
int AddIconButton(int window, int control, int x, int y, int image);
// One-line label without underline, hand cursor, drawn in the hover colour while the pointer is
// over it; reports a click when the left button is released on it.
int AddLink(int window, int control, Box box, const std::string& text, int font, Rgb hover);
int AddButton(int window, int control, Box box, const std::string& text);
int AddCheckBox(int window, int control, Box box, const std::string& text, bool checked);
int AddSlider(int window, int control, Box box, int minimum, int maximum, int value);
int AddDropDown(int window, int control, Box box, const std::vector<std::string>& items);
int AddGroupBox(int window, int control, Box box, const std::string& text);
// A plain rectangle in one colour (for example a keyed hole or a panel behind other controls).
int AddContainer(int window, int control, Box box, Rgb colour);
// A picture of any size that reports a click when the left button is released on it; it shows
// nothing while its image number holds no image.
int AddImageButton(int window, int control, Box box, int image);

// Font given to the controls created from now on (kDefaultFont for the system's).
void SetCreationFont(int font);

bool ControlExists(int window, int control);
void RemoveControl(int window, int control);
void SetTooltip(int window, int control, const std::string& text);
void SetText(int window, int control, const std::string& text);
std::string Text(int window, int control);
void SetImage(int window, int control, int image);
void SetColours(int window, int control, TextColours colours);
void SetFont(int window, int control, int font);
// A text control's text centred horizontally, with a thin border.
void SetTextCentred(int window, int control);
// Alignment of a text control's text and the edge around it (also for a container): a thin
// border, or a sunken edge as around a value that is shown but not typed.
enum class TextAlign { Left, Centre, Right };
enum class TextEdge { None, Border, Sunken };
void SetTextLook(int window, int control, TextAlign align, TextEdge edge);
void Enable(int window, int control, bool enabled);

bool IsChecked(int window, int control);
void SetChecked(int window, int control, bool checked);
int SliderValue(int window, int control);
void SetSliderValue(int window, int control, int value);
int DropDownSelection(int window, int control);  // -1 when none
void SetDropDownItems(int window, int control, const std::vector<std::string>& items);
void SetDropDownSelection(int window, int control, int index);

}  // namespace ui
