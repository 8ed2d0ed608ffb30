#pragma once
// The menu window: built from scratch at every opening and after every command that changes
// what it shows, from the settings, the view state and the content sources; never patched.

namespace menu {

constexpr char kMenuTitle[] = "Start - Kestrivalume";

// Creates and shows the window. Nothing happens when the window cannot be created.
void BuildMenuWindow();
// Destroys the window with all its controls; safe when it is closed.
void CloseMenuWindow();

// True when the open menu shows the programs section but was built before any catalogue
// existed, and one exists now: the main loop then builds the menu again.
bool AwaitsArrivedCatalogue();

}  // namespace menu
