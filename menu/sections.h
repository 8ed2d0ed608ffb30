#pragma once
// The five sections of the menu window, each placing its rows at the layout cursor.
#include "menu/layout.h"

namespace menu {

// The programs section found no catalogue to show (the build notes it for AwaitsArrivedCatalogue).
void NoteProgramsWithoutCatalogue();

void BuildRunningPrograms(LayoutCursor& cursor);
void BuildMostUsed(LayoutCursor& cursor);
void BuildLastUsed(LayoutCursor& cursor);
// Recent documents: the expanded section or its collapsed link. False when the build lists
// every document and no programs section follows.
bool BuildRecentDocuments(LayoutCursor& cursor);
// Start-menu programs: the expanded, paged section or its collapsed link.
void BuildPrograms(LayoutCursor& cursor);

}  // namespace menu
