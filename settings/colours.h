#pragma once
// The colour keys and the texts colours are written as: decimal in the preferences file,
// "$BBGGRR" in the defaults, "#RRGGBB" in skin descriptions.
#include <array>
#include <string>

#include "settings/settings.h"

namespace settings {

struct ColourKey {
  const char* name;          // key in the preferences file and in skininfo.txt
  ColourIndex index;         // place in a ColourSet
  const char* default_text;  // "$BBGGRR"
};

// The twelve colour keys in the order the files list them (which differs from ColourSet order).
extern const std::array<ColourKey, kColourCount> kColourKeys;

// The default colour of the standard look.
Colour DefaultColour(ColourIndex index);
ColourSet DefaultColours();

// "#" and two upper-case hexadecimal digits each of red, green and blue.
std::string HtmlColourText(Colour colour);

// Turns "#RRGGBB" into "$BBGGRR" and back: `first` followed by characters 6-7, 4-5 and 2-3 of
// the text, upper-cased (its own first character is not examined). Any length other than 7
// gives "".
constexpr char kTowardsHtml = '#';
constexpr char kTowardsDefaults = '$';
std::string SwapColourText(const std::string& text, char first);

}  // namespace settings
