#include "settings/settings_keys.h"

#include <cstdint>

#include "settings/colours.h"
#include "settings/numbers.h"

namespace settings {

namespace {

// One key of the file: exactly one of the members names where its value lives.
struct KeyDefinition {
  const char* name;
  Flag Settings::*flag;
  std::int32_t Settings::*number;
  std::string Settings::*text;
  const ColourKey* colour;
};

constexpr KeyDefinition FlagKey(const char* name, Flag Settings::*field) {
  return {name, field, nullptr, nullptr, nullptr};
}
constexpr KeyDefinition NumberKey(const char* name, std::int32_t Settings::*field) {
  return {name, nullptr, field, nullptr, nullptr};
}
constexpr KeyDefinition TextKey(const char* name, std::string Settings::*field) {
  return {name, nullptr, nullptr, field, nullptr};
}
KeyDefinition ColourKeyAt(int file_position) {
  const ColourKey& key = kColourKeys[file_position];
  return {key.name, nullptr, nullptr, nullptr, &key};
}

// The file order; the colours stand between BackgroundFile and MostUsedMaximum.
const KeyDefinition* Keys() {
  static const KeyDefinition kKeys[kSettingsKeyCount] = {
      FlagKey("LoadOnWindowsStart", &Settings::LoadOnWindowsStart),
      FlagKey("NoMouseClickNeeded", &Settings::NoMouseClickNeeded),
      FlagKey("ShowLinkToolTips", &Settings::ShowLinkToolTips),
      FlagKey("WindowsTransparency", &Settings::WindowsTransparency),
      NumberKey("TransparencyMain", &Settings::TransparencyMain),
      NumberKey("Transparency", &Settings::Transparency),
      TextKey("SelectedSkin", &Settings::SelectedSkin),
      TextKey("BackgroundFile", &Settings::BackgroundFile),
      ColourKeyAt(0), ColourKeyAt(1), ColourKeyAt(2), ColourKeyAt(3),  ColourKeyAt(4),  ColourKeyAt(5),
      ColourKeyAt(6), ColourKeyAt(7), ColourKeyAt(8), ColourKeyAt(9), ColourKeyAt(10), ColourKeyAt(11),
      NumberKey("MostUsedMaximum", &Settings::MostUsedMaximum),
      NumberKey("LastUsedMaximum", &Settings::LastUsedMaximum),
      NumberKey("RecentDocsMaximum", &Settings::RecentDocsMaximum),
      FlagKey("ShowProgImmediate", &Settings::ShowProgImmediate),
      FlagKey("ShowDocsImmediate", &Settings::ShowDocsImmediate),
      FlagKey("ShowFilterExe", &Settings::ShowFilterExe),
      FlagKey("ShowFilterHlp", &Settings::ShowFilterHlp),
      FlagKey("ShowFilterDoc", &Settings::ShowFilterDoc),
      FlagKey("ShowActiveTasks", &Settings::ShowActiveTasks),
      FlagKey("ShowMostUsed", &Settings::ShowMostUsed),
      FlagKey("ShowLastUsed", &Settings::ShowLastUsed),
      NumberKey("DisplayColumnWidth", &Settings::DisplayColumnWidth),
  };
  return kKeys;
}

}  // namespace

void ReadSettingsKeys(const PreferencesFile& file, Settings& options, ColourSet& colours) {
  static const Settings kDefaults;
  for (int i = 0; i < kSettingsKeyCount; ++i) {
    const KeyDefinition& key = Keys()[i];
    if (key.flag) {
      options.*key.flag = ParseFlag(file.Read(key.name, FormatNumber(kDefaults.*key.flag)));
    } else if (key.number) {
      options.*key.number = ParseNumber32(file.Read(key.name, FormatNumber(kDefaults.*key.number)));
    } else if (key.text) {
      options.*key.text = TrimBlanks(file.Read(key.name, kDefaults.*key.text));
    } else {
      colours[key.colour->index] = static_cast<Colour>(ParseNumber32(file.Read(key.name, key.colour->default_text)));
    }
  }
}

void WriteSettingsKeys(PreferencesFile& file, const Settings& options, const ColourSet& colours) {
  for (int i = 0; i < kSettingsKeyCount; ++i) {
    const KeyDefinition& key = Keys()[i];
    if (key.flag) {
      file.Write(key.name, FormatNumber(options.*key.flag));
    } else if (key.number) {
      file.Write(key.name, FormatNumber(options.*key.number));
    } else if (key.text) {
      file.Write(key.name, TrimBlanks(options.*key.text));
    } else {
      // Sign-extended like every 32-bit value, so it reads back to the same colour.
      file.Write(key.name, FormatNumber(static_cast<std::int32_t>(colours[key.colour->index])));
    }
  }
}

}  // namespace settings
