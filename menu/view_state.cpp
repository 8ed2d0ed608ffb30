#include "menu/view_state.h"

namespace menu {

ViewState& View() {
  static ViewState view;
  return view;
}

}  // namespace menu
