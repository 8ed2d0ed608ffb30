#include "menu/menu_bindings.h"

namespace menu {

std::vector<MenuBinding>& MenuBindings() {
  static std::vector<MenuBinding> bindings;
  return bindings;
}

std::vector<LabelColour>& LabelColours() {
  static std::vector<LabelColour> colours;
  return colours;
}

const MenuBinding* FindBinding(int control) {
  for (const MenuBinding& binding : MenuBindings()) {
    if (binding.ControlId == control) return &binding;
  }
  return nullptr;
}

}  // namespace menu
