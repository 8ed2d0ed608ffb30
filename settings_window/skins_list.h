#pragma once
// The choice of look in the settings window: the standard look or one of the skin folders, with
// the chosen skin's preview picture, and the transfer of a skin into the standard look.
#include <string>

namespace settings_window {

constexpr char kStandardLookEntry[] = "Apparance standarde (voir à droite)";
constexpr char kTransferTooltip[] = "Shift+Clic pour appliquer ce skin à l'apparence standard";

// Fills list 55 from the skins folder in listing order, selects SelectedSkin (ignoring case;
// the standard look when it is not found) and shows its preview.
void FillSkinList();

// List 55 changed: shows the new entry's preview.
void OnSkinChosen();

// Image 56 clicked: with Shift held and a skin chosen, asks, then copies the skin into the
// standard look and opens the window again.
void OnSkinPreviewClicked();

// The skin to store on Apply: "" for the standard-look entry or no selection.
std::string ChosenSkin();

// Chooses the standard-look entry (before a rebuild that changes the standard look).
void ChooseStandardLook();

// Frees the preview picture (the window closes).
void ReleaseSkinPreview();

}  // namespace settings_window
