#pragma once
// Loading and saving everything the program keeps: the preferences file in the data folder,
// the usage lists, the selected skin and the autostart value.
namespace settings {

// Reads the preferences (defaults for whatever is missing), the usage lists and the selected
// skin, then prepares the active colours, the background pictures and the line images. A file
// that the last save could not write is not read: what memory holds is newer.
void LoadSettings();

// Makes again what is made for the screen's size and depth: the background pictures and the
// line images (after the screen changed).
void PrepareScreenImages();

// Writes the preferences file and the usage lists, each replaced as a whole, and registers
// or unregisters the program for start at logon. Settings are not changed.
void SaveSettings();

}  // namespace settings
