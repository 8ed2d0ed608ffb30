#include "settings/colours.h"

#include "settings/numbers.h"

namespace settings {

const std::array<ColourKey, kColourCount> kColourKeys = {{
    {"ListingColor", kListingColor, "$FCF3EA"},
    {"TitleColor", kTitleColor, "$FFFFFF"},
    {"TitleBackColor", kTitleBackColor, "$E57514"},
    {"SubTitleColor", kSubTitleColor, "$000000"},
    {"SubTitleBackColor", kSubTitleBackColor, "$F5CAB8"},
    {"FontColor", kFontColor, "$000000"},
    {"LinkColor", kLinkColor, "$202020"},
    {"LinkHiColor", kLinkHiColor, "$808080"},
    {"TooltipColor", kTooltipColor, "$000000"},
    {"TooltipBackColor", kTooltipBackColor, "$FFFFE1"},
    {"LineColorVertical", kLineColorVertical, "$FFFFFF"},
    {"LineColorHorizontal", kLineColorHorizontal, "$FFFFFF"},
}};

Colour DefaultColour(ColourIndex index) {
  for (const ColourKey& key : kColourKeys) {
    if (key.index == index) return static_cast<Colour>(ParseNumber32(key.default_text));
  }
  return 0;
}

ColourSet DefaultColours() {
  ColourSet colours{};
  for (const ColourKey& key : kColourKeys) colours[key.index] = DefaultColour(key.index);
  return colours;
}

std::string HtmlColourText(Colour colour) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text = "#";
  for (int shift : {0, 8, 16}) {  // red, green, blue
    const unsigned byte = (colour >> shift) & 0xFF;
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

std::string SwapColourText(const std::string& text, char first) {
  if (text.size() != 7) return "";
  std::string swapped{first};
  swapped += text.substr(5, 2) + text.substr(3, 2) + text.substr(1, 2);
  for (char& c : swapped) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return swapped;
}

}  // namespace settings
