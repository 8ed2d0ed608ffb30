#pragma once
// The right half of the settings window: the standard look's group with the preview hole, the
// colour editor, "Couleurs standards" and the background picture buttons.

namespace settings_window {

// Creates the right half's controls (the hole itself comes last, with "Appliquer").
void AddAppearancePage();
// "Appliquer" and the magenta container that the colour key turns into a hole.
void AddApplyAndHole();

// "Couleurs standards": after the question, every colour back to its default and no picture.
void OnStandardColours();
// "Fichier", "Bureau", "Aucun": the standard look's background picture.
void OnBackgroundFile();
void OnBackgroundDesktop();
void OnBackgroundNone();

}  // namespace settings_window
