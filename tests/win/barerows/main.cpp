// The floors under the menu's opening, for scripts/performance.sh: a bare program with a button
// window like the program's (titled "Kestrivalume", 16 x 16 in the corner) that opens, at each
// click, a window titled like the menu, of the menu's size and look (layered, alpha 230, a plain
// background), with the given number of rows of an icon and a label, and destroys it at the next
// click or when told to close (WM_CLOSE, WM_COMMAND 17 as the menu's close button, or a click in
// it). perfprobe
// times it from the click to the painted window exactly as it times the program.
//   barerows.exe windows <rows>   a child window per icon and per label (static controls,
//                                 transparent over the background): what the menu was
//   barerows.exe drawn <rows>     the same rows painted by the window itself, off the screen first
// A reader's question (WM_GETOBJECT) gets the system's standard object, marshalled to it as the
// program marshals its own: the floor of what a screen reader costs the program it reads.
// Runs until its button window is closed.
#include <windows.h>
#include <oleacc.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char kButtonClass[] = "BareRowsButton";
constexpr char kMenuClass[] = "BareRowsMenu";
constexpr int kCloseCommand = 17;
constexpr int kColumnWidth = 190;
constexpr COLORREF kBackground = RGB(234, 244, 252);
constexpr COLORREF kText = RGB(32, 32, 32);

int g_dpi = 96;              // the screen's: boxes and font scaled as the program scales its own
int g_rows_per_column = 55;  // as many as the menu's layout puts in a column of the screen
bool g_drawn = false;
int g_rows = 0;
HWND g_menu = nullptr;
HFONT g_font = nullptr;
HICON g_icon = nullptr;
HBRUSH g_background = nullptr;

int S(int value) { return MulDiv(value, g_dpi, 96); }

RECT RowIcon(int row) {
  const int x = 26 + (row / g_rows_per_column) * kColumnWidth + 5, y = 5 + (row % g_rows_per_column) * 18;
  return {S(x), S(y), S(x + 16), S(y + 16)};
}

RECT RowLabel(int row) {
  const int x = 26 + (row / g_rows_per_column) * kColumnWidth + 24, y = 5 + (row % g_rows_per_column) * 18;
  return {S(x), S(y), S(x + kColumnWidth - 28), S(y + 18)};
}

std::string RowText(int row) { return "Programme " + std::to_string(row); }

void AddChildRows() {
  for (int row = 0; row < g_rows; ++row) {
    const RECT icon = RowIcon(row), label = RowLabel(row);
    HWND picture = CreateWindowExA(0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL, icon.left,
                                   icon.top, icon.right - icon.left, icon.bottom - icon.top, g_menu, nullptr, nullptr,
                                   nullptr);
    SendMessageA(picture, STM_SETICON, reinterpret_cast<WPARAM>(g_icon), 0);
    HWND text = CreateWindowExA(0, "STATIC", RowText(row).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                                label.left, label.top, label.right - label.left, label.bottom - label.top, g_menu,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000 + row)), nullptr, nullptr);
    SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), FALSE);
  }
  CreateWindowExA(0, "STATIC", nullptr, WS_CHILD, 0, 0, 1, 1, g_menu,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseCommand)), nullptr, nullptr);
}

void PaintRows(HWND window) {
  PAINTSTRUCT paint;
  HDC screen = BeginPaint(window, &paint);
  const RECT area = paint.rcPaint;
  const int width = area.right - area.left, height = area.bottom - area.top;
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SetViewportOrgEx(dc, -area.left, -area.top, nullptr);
  FillRect(dc, &area, g_background);
  HGDIOBJ old_font = SelectObject(dc, g_font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kText);
  for (int row = 0; row < g_rows; ++row) {
    const RECT icon = RowIcon(row);
    RECT label = RowLabel(row), touched;
    if (!IntersectRect(&touched, &label, &area) && !IntersectRect(&touched, &icon, &area)) continue;
    DrawIconEx(dc, icon.left, icon.top, g_icon, icon.right - icon.left, icon.bottom - icon.top, 0, nullptr, DI_NORMAL);
    const std::string text = RowText(row);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &label, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  SelectObject(dc, old_font);
  BitBlt(screen, area.left, area.top, width, height, dc, area.left, area.top, SRCCOPY);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  EndPaint(window, &paint);
}

void CloseMenu() {
  if (g_menu) DestroyWindow(g_menu);
  g_menu = nullptr;
}

void OpenMenu() {
  const int columns = (g_rows + g_rows_per_column - 1) / g_rows_per_column;
  const int height = MulDiv(GetSystemMetrics(SM_CYSCREEN), 96, g_dpi) - 65;
  g_menu = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED, kMenuClass, "Start - Kestrivalume", WS_POPUP,
                           S(16), 0, S(26 + columns * kColumnWidth + 26), S(height), nullptr, nullptr, nullptr, nullptr);
  if (!g_menu) return;
  SetLayeredWindowAttributes(g_menu, 0, 230, LWA_ALPHA);
  if (!g_drawn) AddChildRows();
  ShowWindow(g_menu, SW_SHOW);
  SetForegroundWindow(g_menu);
}

LRESULT AnswerReader(HWND window, WPARAM wparam) {
  static const HRESULT com = CoInitialize(nullptr);  // at the first question, as the program does
  if (FAILED(com)) return 0;
  IAccessible* object = nullptr;
  if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object))))
    return 0;
  const LRESULT answer = LresultFromObject(IID_IAccessible, wparam, object);
  object->Release();
  return answer > 0 ? answer : 0;
}

LRESULT CALLBACK MenuProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_GETOBJECT:
      if (static_cast<LONG>(lparam) == static_cast<LONG>(OBJID_CLIENT)) return AnswerReader(window, wparam);
      break;
    case WM_PAINT:
      if (!g_drawn) break;
      PaintRows(window);
      return 0;
    case WM_ERASEBKGND:
      if (g_drawn) return 1;
      break;
    case WM_CTLCOLORSTATIC:
      SetTextColor(reinterpret_cast<HDC>(wparam), kText);
      SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_COMMAND:
      if (LOWORD(wparam) != kCloseCommand) break;
      PostMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
    case WM_LBUTTONUP:  // any click closes it, as the menu's close button does
      CloseMenu();
      return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK ButtonProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_LBUTTONUP:
      if (g_menu) {
        CloseMenu();
      } else {
        OpenMenu();
      }
      return 0;
    case WM_CLOSE:
      CloseMenu();
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

bool RegisterClasses(HINSTANCE instance) {
  WNDCLASSA button = {};
  button.lpfnWndProc = ButtonProcedure;
  button.hInstance = instance;
  button.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  button.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1);
  button.lpszClassName = kButtonClass;
  WNDCLASSA menu = button;
  menu.lpfnWndProc = MenuProcedure;
  menu.style = CS_DROPSHADOW;
  menu.hbrBackground = g_background;
  menu.lpszClassName = kMenuClass;
  return RegisterClassA(&button) && RegisterClassA(&menu);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
  const char* rows = std::strchr(command_line, ' ');
  g_drawn = std::strncmp(command_line, "drawn", 5) == 0;
  g_rows = rows ? std::atoi(rows + 1) : 0;
  if ((!g_drawn && std::strncmp(command_line, "windows", 7) != 0) || g_rows <= 0 || g_rows > 5000) return 2;
  HDC screen = GetDC(nullptr);
  g_dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  g_rows_per_column = (MulDiv(GetSystemMetrics(SM_CYSCREEN), 96, g_dpi) - 80) / 18;
  g_background = CreateSolidBrush(kBackground);
  g_font = CreateFontA(-MulDiv(9, g_dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  g_icon = static_cast<HICON>(
      LoadImageA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION), IMAGE_ICON, S(16), S(16), LR_SHARED));
  if (!RegisterClasses(instance)) return 1;
  HWND button = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kButtonClass, "Kestrivalume", WS_POPUP | WS_VISIBLE, 0, 0,
                                S(16), S(16), nullptr, nullptr, instance, nullptr);
  if (!button) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
