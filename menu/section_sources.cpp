// The running-programs and recent-documents sections.
#include "menu/menu_controls.h"
#include "menu/sections.h"
#include "menu/view_state.h"
#include "platform/environment.h"
#include "settings/settings.h"
#include "sources/icon_cache.h"
#include "sources/recent_documents.h"
#include "sources/running_programs.h"

namespace menu {

namespace {

constexpr int kMoreDocumentsIcon = 36, kMoreDocumentsImage = 10;
constexpr int kRecentDocumentsIcon = 38, kRecentDocumentsImage = 13;

void AddRecentDocumentRows(LayoutCursor& cursor) {
  const std::string& recent_folder = platform::Env().recent_folder;
  for (const sources::RecentDocument& document : sources::RecentDocuments()) {
    if (cursor.Y > cursor.Bottom) StartNewColumn(cursor);
    EntryRow row;
    row.icon = sources::ExtensionIcon(document.Extension);
    row.text = document.DisplayName;
    row.tooltip = document.DisplayName;
    row.binding.LaunchPath = recent_folder + document.ShortcutName;
    row.binding.TargetPath = row.binding.LaunchPath;
    AddEntryRow(cursor, std::move(row));
  }
}

}  // namespace

void BuildRunningPrograms(LayoutCursor& cursor) {
  SectionFrame(cursor, "Programmes en cours");
  for (const sources::RunningProgram& program : sources::EnumerateRunningPrograms()) {
    EntryRow row;
    const std::string path = services::ProcessImagePath(program.Window);
    row.icon = path.empty() ? 0 : sources::FileIcon(path);
    row.text = program.Title;
    row.tooltip = program.Title;
    row.binding.WindowHandle = program.Window;
    AddEntryRow(cursor, std::move(row));
  }
  cursor.SectionsShown += 1;
}

bool BuildRecentDocuments(LayoutCursor& cursor) {
  const settings::Settings& options = settings::Current();
  ViewState& view = View();
  if (!view.DocumentsShown) {
    if (cursor.Y > cursor.Bottom - 72) {
      StartNewColumn(cursor);
    } else {
      cursor.Y += kRowHeight;
    }
    LinkRow(cursor, kRecentDocumentsLink, kRecentDocumentsIcon, kRecentDocumentsImage, "Document récents ...");
    view.DocumentsShown = options.ShowDocsImmediate != 0;
    return true;
  }
  sources::ReadRecentDocuments(view.AllDocumentsShown);
  if (cursor.Y + (options.RecentDocsMaximum + 1) * kRowHeight + 26 > cursor.Bottom) {
    StartNewColumn(cursor);
  } else {
    cursor.Y = cursor.SectionsShown > 0 ? cursor.Y + kSectionGap : kTop;
  }
  SectionFrame(cursor, "Documents récents");
  AddRecentDocumentRows(cursor);
  if (view.AllDocumentsShown) {
    view.AllDocumentsShown = false;
    return false;
  }
  LinkRow(cursor, kMoreDocumentsLink, kMoreDocumentsIcon, kMoreDocumentsImage, "Plus de documents ...");
  return true;
}

}  // namespace menu
