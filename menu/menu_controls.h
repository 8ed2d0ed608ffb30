#pragma once
// The menu window's number and those of its fixed controls: the buttons of its tool column (left)
// and of its fixed column (right), and the links that show more of a section. The main loop
// dispatches clicks by these numbers; the entries' links take automatic numbers above them.
namespace menu {

constexpr int kMenuWindow = 1;

// Tool column.
constexpr int kHelpButton = 1;
constexpr int kCloseButton = 2;
constexpr int kNextProgramsPageButton = 3;
constexpr int kSettingsButton = 5;
constexpr int kProgramsFilterButton = 6;   // applications
constexpr int kHelpFilesFilterButton = 7;
constexpr int kDocumentsFilterButton = 8;  // other files
constexpr int kShowDocumentsButton = 9;    // shows and hides the recent documents
constexpr int kShowProgramsButton = 10;    // shows and hides the Start-menu programs

// Links at the foot of a section.
constexpr int kMoreDocumentsLink = 11;
constexpr int kLaunchProgramsLink = 12;
constexpr int kRecentDocumentsLink = 13;
constexpr int kMoreProgramsLink = 14;

// Fixed column: closing, then the system commands.
constexpr int kFixedCloseButton = 17;
constexpr int kExplorerButton = 18;
constexpr int kControlPanelButton = 19;
constexpr int kTaskManagerButton = 20;
constexpr int kPrintersButton = 21;
constexpr int kRunButton = 22;
constexpr int kShutDownButton = 23;

}  // namespace menu
