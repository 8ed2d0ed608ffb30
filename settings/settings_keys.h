#pragma once
// The 32 keys of the preferences file, read and written in one fixed order.
#include "settings/preferences_file.h"
#include "settings/settings.h"

namespace settings {

constexpr char kPreferencesFileName[] = "Kestrivalume.prefs";
constexpr int kSettingsKeyCount = 32;

// Every key with its default when absent: numbers and flags through ParseNumber (a flag keeps
// the low 8 bits), the two texts without surrounding blanks, the colours into `colours`.
void ReadSettingsKeys(const PreferencesFile& file, Settings& options, ColourSet& colours);

// Every key as a pair, in file order: numbers and flags as signed decimals, texts without
// surrounding blanks, colours as decimals.
void WriteSettingsKeys(PreferencesFile& file, const Settings& options, const ColourSet& colours);

}  // namespace settings
