// The programs section: the current catalogue walked page by page into columns, with group
// titles per folder level and the kind filters of the tool column.
#include <algorithm>

#include "menu/menu_controls.h"
#include "menu/sections.h"
#include "menu/view_state.h"
#include "settings/settings.h"
#include "sources/catalogue.h"
#include "sources/shown_names.h"
#include "ui/controls.h"
#include "ui/font_numbers.h"

namespace menu {

namespace {

constexpr int kLaunchProgramsIcon = 37, kLaunchProgramsImage = 11;
constexpr int kMoreProgramsIcon = 39, kMoreProgramsImage = 2;
constexpr char kProgramsTitle[] = "Lancer les programmes";
constexpr char kMiddleDot[] = "·";

settings::Colour Active(settings::ColourIndex index) { return settings::ActiveColours()[index]; }

bool Contains(const char* list, const std::string& extension) {
  return !extension.empty() && std::string(list).find(extension) != std::string::npos;
}

// Applications, help files and other files, by a substring test on the lists below.
bool IsIncluded(const std::string& extension) {
  const settings::Settings& options = settings::Current();
  if (Contains("exe,msc,bat,cmd,com,cpl,hta,msi,msp,pif,wsc", extension)) return options.ShowFilterExe != 0;
  if (Contains("chm,hlp", extension)) return options.ShowFilterHlp != 0;
  return options.ShowFilterDoc != 0;
}

// " " + one middle dot per level below the first + the group's own folder name, as Windows shows it.
std::string GroupTitle(const sources::CatalogueRecord& header, int* level) {
  *level = static_cast<int>(std::count(header.Name.begin(), header.Name.end(), '\\'));
  std::string title = " ";
  for (int i = 1; i < *level; ++i) title += kMiddleDot;
  return title + sources::GroupOwnName(header);
}

void DrawGroupTitle(LayoutCursor& cursor, const sources::CatalogueRecord& header) {
  if (header.Name.empty()) return;
  int level = 0;
  const std::string title = GroupTitle(header, &level);
  const int x = ColumnX(cursor) + 5;
  if (level == 1) {
    DrawSeparator(x, cursor.Y, settings::kHorizontalLineImage);
    cursor.Y += 1;
  }
  const int label = ui::AddText(kMenuWindow, ui::kAutoNumber, {x, cursor.Y, cursor.column_width - 10, kGroupTitleHeight},
                                title, ui::kFontSmallBold);
  if (level == 1) {
    ui::SetColours(kMenuWindow, label, {Active(settings::kSubTitleColor), Active(settings::kSubTitleBackColor), false});
  } else {
    ui::SetColours(kMenuWindow, label, {Active(settings::kFontColor), 0, true});
    LabelColours().push_back({label, Active(settings::kFontColor)});
  }
  cursor.Y += kGroupTitleHeight;
}

void DrawProgramEntry(LayoutCursor& cursor, const sources::CatalogueRecord& entry) {
  if (!IsIncluded(entry.TargetExtension)) return;
  const std::string text = sources::EntryLabel(entry);
  EntryRow row;
  row.icon = entry.Icon;
  row.text = text;
  row.tooltip = text + " [" + entry.Target + "]";
  row.binding.LaunchPath = entry.Folder + entry.Name;
  row.binding.TargetPath = entry.Target;
  row.binding.CountsAsUse = 1;
  AddEntryRow(cursor, std::move(row));
}

// False when the group does not fit on this page (ProgramsPageStart then names it).
bool PlaceGroup(LayoutCursor& cursor, const sources::CatalogueRecord& header) {
  const int needed = header.Count * kRowHeight + kGroupTitleHeight;
  if (cursor.Y + needed > cursor.Bottom) {
    const bool empty_column_too_small = cursor.Y <= 6 && needed > cursor.Bottom;
    if (!empty_column_too_small) {
      if (cursor.Column >= cursor.MaxColumns) {
        View().ProgramsPageStart = header.Folder;
        return false;
      }
      StartNewColumn(cursor);
    }
  }
  DrawGroupTitle(cursor, header);
  return true;
}

// Without a catalogue yet the section shows its title alone; the menu is built again when one
// comes (no click waits for it).
void WalkCatalogue(LayoutCursor& cursor) {
  const sources::SharedCatalogue catalogue = sources::TakeCurrentCatalogue();
  if (!catalogue) {
    NoteProgramsWithoutCatalogue();
    return;
  }
  std::string& page_start = View().ProgramsPageStart;
  for (const sources::CatalogueRecord& record : *catalogue) {
    if (!page_start.empty()) {
      if (record.Folder != page_start) continue;
      page_start.clear();
    }
    if (record.Kind == sources::kGroupHeader) {
      if (!PlaceGroup(cursor, record)) return;
    } else {
      DrawProgramEntry(cursor, record);
    }
  }
}

}  // namespace

void BuildPrograms(LayoutCursor& cursor) {
  const settings::Settings& options = settings::Current();
  ViewState& view = View();
  if (!view.ProgramsShown) {
    if (cursor.Y > cursor.Bottom - 36) {
      StartNewColumn(cursor);
    } else {
      cursor.Y += kRowHeight;
    }
    LinkRow(cursor, kLaunchProgramsLink, kLaunchProgramsIcon, kLaunchProgramsImage, "Lancer les programmes ...");
    view.ProgramsShown = options.ShowProgImmediate != 0;
    return;
  }
  if (cursor.Y > cursor.Bottom / 4) {
    StartNewColumn(cursor);
  } else {
    cursor.Y += kSectionGap;
  }
  const int title = SectionFrame(cursor, kProgramsTitle);
  WalkCatalogue(cursor);
  if (view.ProgramsPageStart.empty()) return;
  LinkRow(cursor, kMoreProgramsLink, kMoreProgramsIcon, kMoreProgramsImage, "Plus de programmes ...");
  view.ProgramsShown = options.ShowProgImmediate != 0;
  ui::SetText(kMenuWindow, title, std::string(" ") + kProgramsTitle + " ...");
}

}  // namespace menu
