// The floor for the menu's measurements: the least a Win32 program can do to show such a window.
#include "tools/bench-src/bare_window.h"

// Same size, style and place as the menu, one flat colour that the timing probe looks for.
static const int kWidth = 450;
static const int kHeight = 408;
static const COLORREF kFill = RGB(0x23, 0x8c, 0x5a);

static LRESULT CALLBACK BareWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT: {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(kFill);
    FillRect(dc, &paint.rcPaint, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
  }
  case WM_CLOSE: PostQuitMessage(0); return 0;
  default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

int RunBareWindow(HINSTANCE instance) {
  WNDCLASSEXA wc;
  ZeroMemory(&wc, sizeof wc);
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = BareWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = "Bare window class";
  ATOM atom = RegisterClassExA(&wc);
  if (!atom) return 1;

  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  HWND window = CreateWindowExA(
      WS_EX_APPWINDOW, MAKEINTATOM(atom), "Bare window", WS_POPUPWINDOW | WS_VISIBLE,
      (desktop.right - desktop.left - kWidth) / 2, (desktop.bottom - desktop.top - kHeight) / 2,
      kWidth, kHeight, NULL, NULL, instance, NULL);
  if (!window) return 1;

  MSG msg;
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  DestroyWindow(window);
  UnregisterClassA(MAKEINTATOM(atom), instance);
  return 0;
}
