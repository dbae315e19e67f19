// The menu window: its class, artwork, painting, button states and the message loop.
#include "launcher/menu_window.h"

#include "launcher/install_record.h"
#include "launcher/menu_actions.h"
#include "launcher/menu_layout.h"
#include "launcher/resource.h"

StartButtonState g_startState = StartDisabled;
int g_installHover = 0;
int g_readmeHover = 0;
int g_exitHover = 0;

HBITMAP g_backBitmap = NULL;
HBITMAP g_startABitmap = NULL;
HBITMAP g_startBBitmap = NULL;
HBITMAP g_installBitmap = NULL;
HBITMAP g_readmeBitmap = NULL;
HBITMAP g_exitBitmap = NULL;

static const char kClassName[] = FACT_MENU_CLASS;
static const char kCaption[] = FACT_MENU_CAPTION;
static const UINT_PTR kTimerId = 0;
static const UINT kTimerPeriod = 1000;

// Labels drawn in place of a picture that failed to load, so the menu stays readable.
static const char* const kButtonLabels[ButtonCount] = {"Start", "Install", "Read me", "Exit"};
static const COLORREF kPlainLabel = RGB(200, 200, 200);
static const COLORREF kLitLabel = RGB(255, 216, 96);
static const COLORREF kDisabledLabel = RGB(96, 96, 96);

// Pictures are relative to the current folder, where the program and its Res folder lie.
static HBITMAP LoadArtwork(const char* path) {
  return static_cast<HBITMAP>(
      os::LoadImageA(NULL, path, IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE | LR_LOADFROMFILE));
}

static void DrawStandIn(HDC dc, MenuButton button, COLORREF color) {
  const ButtonRect& b = g_buttons[button];
  RECT r = {b.left, b.top, b.left + b.width, b.top + b.height};
  os::FillRect(dc, &r, static_cast<HBRUSH>(os::GetStockObject(BLACK_BRUSH)));
  os::SetBkMode(dc, TRANSPARENT);
  os::SetTextColor(dc, color);
  os::DrawTextA(dc, kButtonLabels[button], -1, &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// Selects a picture into the memory context, remembering what the context held first.
static void SelectPicture(HDC memory, HBITMAP picture, HGDIOBJ* original) {
  HGDIOBJ previous = os::SelectObject(memory, picture);
  if (!*original) *original = previous;
}

// Copies the picture over the button's rectangle, or draws its stand-in when it is missing.
static void DrawOverlay(HDC dc, HDC memory, HGDIOBJ* original, HBITMAP picture, MenuButton button,
                        COLORREF color) {
  if (!picture) {
    DrawStandIn(dc, button, color);
    return;
  }
  const ButtonRect& b = g_buttons[button];
  SelectPicture(memory, picture, original);
  os::BitBlt(dc, b.left, b.top, b.width, b.height, memory, 0, 0, SRCCOPY);
}

void PaintMenu(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = os::BeginPaint(window, &paint);
  HDC memory = os::CreateCompatibleDC(dc);
  HGDIOBJ original = NULL;

  if (g_backBitmap) {
    SelectPicture(memory, g_backBitmap, &original);
    os::BitBlt(dc, 0, 0, kMenuWidth, kMenuHeight, memory, 0, 0, SRCCOPY);
  } else {
    RECT all = {0, 0, kMenuWidth, kMenuHeight};
    os::FillRect(dc, &all, static_cast<HBRUSH>(os::GetStockObject(BLACK_BRUSH)));
    for (int b = 0; b < ButtonCount; ++b) DrawStandIn(dc, static_cast<MenuButton>(b), kPlainLabel);
  }

  if (g_startState == StartHover)
    DrawOverlay(dc, memory, &original, g_startABitmap, ButtonStart, kLitLabel);
  if (g_startState == StartDisabled)
    DrawOverlay(dc, memory, &original, g_startBBitmap, ButtonStart, kDisabledLabel);
  if (g_installHover == 1)
    DrawOverlay(dc, memory, &original, g_installBitmap, ButtonInstall, kLitLabel);
  if (g_readmeHover == 1)
    DrawOverlay(dc, memory, &original, g_readmeBitmap, ButtonReadme, kLitLabel);
  if (g_exitHover == 1) DrawOverlay(dc, memory, &original, g_exitBitmap, ButtonExit, kLitLabel);

  if (original) os::SelectObject(memory, original);
  os::DeleteDC(memory);
  os::EndPaint(window, &paint);
}

void RefreshMenuState(HWND window) {
  // The cursor is read afresh, so a tick and a mouse move compute alike.
  POINT cursor = {0, 0};
  os::GetCursorPos(&cursor);
  os::ScreenToClient(window, &cursor);
  int x = cursor.x;
  int y = cursor.y;

  ProbeInstallation();

  StartButtonState start = !g_gameInstalled                ? StartDisabled
                           : IsOnButton(ButtonStart, x, y) ? StartHover
                                                           : StartNormal;
  int install = IsOnButton(ButtonInstall, x, y) ? 1 : 0;
  int readme = IsOnButton(ButtonReadme, x, y) ? 1 : 0;
  int exitHover = IsOnButton(ButtonExit, x, y) ? 1 : 0;

  bool changed = start != g_startState || install != g_installHover || readme != g_readmeHover ||
                 exitHover != g_exitHover;
  g_startState = start;
  g_installHover = install;
  g_readmeHover = readme;
  g_exitHover = exitHover;
  // The whole picture is drawn again over itself: no erase, so no black flash.
  if (changed) os::InvalidateRgn(window, NULL, FALSE);
}

LRESULT CALLBACK MenuWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT: PaintMenu(window); return 0;
  case WM_TIMER:
  case WM_MOUSEMOVE: RefreshMenuState(window); return 0;
  case WM_LBUTTONUP: HandleMenuClick(window, lParam); return 0;
  case WM_CLOSE: os::PostQuitMessage(0); return 0;
  default: return os::DefWindowProcA(window, message, wParam, lParam);
  }
}

int RunMenu() {
  HINSTANCE instance = os::GetModuleHandleA(NULL);

  WNDCLASSEXA wc;
  memset(&wc, 0, sizeof wc);
  wc.cbSize = sizeof wc;
  wc.style = 0;
  wc.lpfnWndProc = MenuWndProc;
  wc.hInstance = instance;
  wc.hIcon = os::LoadIconA(instance, MAKEINTRESOURCEA(IDI_START));
  wc.hCursor = os::LoadCursorA(NULL, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(os::GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kClassName;
  ATOM atom = os::RegisterClassExA(&wc);
  // Without a class there can be no window, and without a window no quit message would
  // ever end the loop.
  if (!atom) return 0;

  RECT desktop = {0, 0, 0, 0};
  os::GetWindowRect(os::GetDesktopWindow(), &desktop);
  int x = (desktop.right - desktop.left - kMenuWidth) / 2;
  int y = (desktop.bottom - desktop.top - kMenuHeight) / 2;

  g_backBitmap = LoadArtwork("res\\back.bmp");
  g_startABitmap = LoadArtwork("res\\start_a.bmp");
  g_startBBitmap = LoadArtwork("res\\start_b.bmp");
  g_installBitmap = LoadArtwork("res\\install.bmp");
  g_readmeBitmap = LoadArtwork("res\\readme.bmp");
  g_exitBitmap = LoadArtwork("res\\exit.bmp");

  HWND window =
      os::CreateWindowExA(WS_EX_APPWINDOW, MAKEINTATOM(atom), kCaption, WS_POPUPWINDOW | WS_VISIBLE,
                          x, y, kMenuWidth, kMenuHeight, NULL, NULL, instance, NULL);
  if (!window) {
    os::UnregisterClassA(MAKEINTATOM(atom), instance);
    return 0;
  }
  os::SetTimer(window, kTimerId, kTimerPeriod, NULL);

  MSG msg;
  while (os::GetMessageA(&msg, NULL, 0, 0) > 0) {
    os::TranslateMessage(&msg);
    os::DispatchMessageA(&msg);
  }

  // The timer ends with its window.
  os::DestroyWindow(window);
  os::UnregisterClassA(MAKEINTATOM(atom), instance);
  return 0;
}
