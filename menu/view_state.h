#pragma once
// What the menu window shows at its next build; kept between builds, changed by the main loop's
// commands and partly reset by the build itself.
#include <string>

namespace menu {

struct ViewState {
  bool ProgramsShown = false;      // the programs section is listed, not only its link
  bool DocumentsShown = false;     // the recent-documents section is listed, not only its link
  bool AllDocumentsShown = false;  // one-shot: the next build lists every recent document
  std::string ProgramsPageStart;   // folder of the first program group not yet shown; "" = first page
};

ViewState& View();

}  // namespace menu
