#pragma once
// The settings window "Paramètres - Kestrivalume": general options, display options, the choice
// of look and the standard look's editor with its preview. It has no cancel: closing it applies.

namespace settings_window {

// Builds and shows the window, centred, from the current settings. Nothing happens when it
// is open already or cannot be created.
void OpenSettingsWindow();
// The same with the window's outer top-left corner at x, y (a rebuild keeps its place).
void OpenSettingsWindowAt(int x, int y);

// Takes the window's values into the settings, saves, closes the window and its preview and
// loads the settings again. Nothing happens when the window is not open.
void ApplySettingsWindow();

// Apply, then open again at the same place: the user sees a fresh window.
void RebuildSettingsWindow();

// The window's controls, as the main loop dispatches them.
void SettingsWindowControl(int control);

// A window of the program moved: the preview follows the settings window.
void SettingsWindowMoved(int window);

}  // namespace settings_window
