#include <windows.h>

#include "ui/message_box.h"
#include "ui/win32/runtime_state.h"

namespace ui {

Answer ShowMessage(const std::string& title, const std::string& text, Buttons buttons, Mark mark, int owner_window) {
  UINT style = buttons == Buttons::YesNo ? MB_YESNO : MB_OK;
  switch (mark) {
    case Mark::Information: style |= MB_ICONINFORMATION; break;
    case Mark::Warning: style |= MB_ICONWARNING; break;
    case Mark::Error: style |= MB_ICONERROR; break;
    case Mark::Question: style |= MB_ICONQUESTION; break;
    case Mark::None: break;
  }
  win32::WindowRecord* owner = win32::FindWindowRecord(owner_window);
  const int answer = MessageBoxA(owner ? owner->handle : nullptr, text.c_str(), title.c_str(), style);
  if (answer == IDYES) return Answer::Yes;
  if (answer == IDNO) return Answer::No;
  return Answer::Ok;
}

}  // namespace ui
