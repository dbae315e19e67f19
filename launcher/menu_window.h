// The menu window: its class, artwork, painting, button states and the message loop.
#pragma once

#include "platform/win32.h"

enum StartButtonState { StartDisabled = 0, StartNormal = 1, StartHover = 2 };

extern StartButtonState g_startState;
extern int g_installHover;
extern int g_readmeHover;
extern int g_exitHover;

extern HBITMAP g_backBitmap;
extern HBITMAP g_startABitmap;
extern HBITMAP g_startBBitmap;
extern HBITMAP g_installBitmap;
extern HBITMAP g_readmeBitmap;
extern HBITMAP g_exitBitmap;

// Shows the menu until it is closed; the program's exit code, always 0.
int RunMenu();
LRESULT CALLBACK MenuWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PaintMenu(HWND window);
void RefreshMenuState(HWND window);
