#pragma once
// The console helper's options, shared by the helper and the program that runs it.

namespace platform {

// First parameter: list every Start-menu folder.
constexpr char kStartMenuOption[] = "-startmenu";
// Second parameter of a listing: no pause before each directory entry. The program asks for it
// when it has no catalogue at all to show; the output is the same.
constexpr char kNoPauseOption[] = "-nopause";

}  // namespace platform
