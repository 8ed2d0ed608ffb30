#pragma once
// The preview window: a miniature of the menu window in the standard look, seen through the
// hole of the settings window and kept 1 pixel inside it.

namespace settings_window {

// Creates the hidden preview window over the hole and shows it. Nothing happens when it
// cannot be created.
void OpenPreviewWindow();
void ClosePreviewWindow();

// Puts the preview back over the hole (the settings window moved); it is neither resized nor
// activated.
void PlacePreviewWindow();

// Opacity 0-255 of the preview.
void SetPreviewOpacity(int opacity);

// Shows the current standard colour of a colour-element row in the preview.
void ShowElementColour(int row);

}  // namespace settings_window
