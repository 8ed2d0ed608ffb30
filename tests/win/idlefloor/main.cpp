// The floor of an idle program under Wine, for scripts/catalogue_bench.sh: one small window and
// the same 200 ms event wait the program's main loop makes, and nothing else. Runs until its
// window is closed.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA type = {};
  type.lpfnWndProc = Procedure;
  type.hInstance = instance;
  type.lpszClassName = "IdleFloor";
  if (!RegisterClassA(&type)) return 1;
  HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "IdleFloor", "Idle floor", WS_POPUP | WS_VISIBLE,
                                1900, 0, 16, 16, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  for (;;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return 0;
      DispatchMessageA(&message);
    }
  }
}
