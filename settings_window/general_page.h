#pragma once
// The left half of the settings window: general options, display options and the place of
// the look's list and skin preview (filled by the skins list).
#include "settings/settings.h"

namespace settings_window {

// Creates the controls in their table order from the current settings.
void AddGeneralPage();

// Slider handlers: the value texts follow; the settings change only on Apply.
void OnColumnWidthMoved();
void OnTransparencyMoved();

// The three "Effacer" buttons: each asks first.
void OnClearButton(int control);

// Takes the check boxes and value texts into the settings. A value the user did not move is
// kept exactly as it was, even where its percentage cannot show it.
void ReadGeneralPage(settings::Settings& options);

}  // namespace settings_window
