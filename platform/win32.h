// The one door to the platform: the Win32 and C-runtime calls the programs make, in namespace os.
#pragma once

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
// windows.h first: the shell's headers build on it.
#include <windows.h>

#include <direct.h>
#include <errno.h>
#include <shellapi.h>
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// On Windows the seam is the real platform: every name is the system's own function.
namespace os {
// Kernel
using ::CopyFileA;
using ::CreateDirectoryA;
using ::DeleteFileA;
using ::GetDriveTypeA;
using ::GetFileAttributesA;
using ::GetLastError;
using ::GetLogicalDrives;
using ::GetModuleFileNameA;
using ::GetModuleHandleA;
using ::GetProcAddress;
using ::GetTempPathA;
using ::SetErrorMode;
using ::SetLastError;
// Registry
using ::RegCloseKey;
using ::RegOpenKeyExA;
using ::RegQueryValueExA;
using ::RegSetValueExA;
// Shell: bound on first use (platform/shell_on_demand.cpp).
BOOL SHGetSpecialFolderPathA(HWND owner, LPSTR path, int csidl, BOOL create);
HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        INT show);
// Windows and messages
using ::BeginPaint;
using ::CreateWindowExA;
using ::DefWindowProcA;
using ::DestroyWindow;
using ::DispatchMessageA;
using ::EndPaint;
using ::GetCursorPos;
using ::GetDesktopWindow;
using ::GetMessageA;
using ::GetWindowRect;
using ::InvalidateRgn;
using ::LoadCursorA;
using ::LoadIconA;
using ::LoadImageA;
using ::MessageBoxA;
using ::PostQuitMessage;
using ::RegisterClassExA;
using ::ScreenToClient;
using ::SetTimer;
using ::TranslateMessage;
using ::UnregisterClassA;
// GDI
using ::BitBlt;
using ::CreateCompatibleDC;
using ::DeleteDC;
using ::DrawTextA;
using ::FillRect;
using ::GetStockObject;
using ::SelectObject;
using ::SetBkMode;
using ::SetTextColor;
// C runtime
using ::_chdir;
using ::_mkdir;
using ::fclose;
using ::FILE;
using ::fopen;
using ::fread;
using ::free;
using ::malloc;
// The C++ headers switch stdio to mingw's own formatter, some 20 KB; the system's sprintf
// in msvcrt does all we ask of it.
// i686 symbols carry a leading underscore, x86_64 symbols do not.
#if defined(__i386__)
int __cdecl sprintf(char* buffer, const char* format, ...) __asm__("_sprintf");
#else
int __cdecl sprintf(char* buffer, const char* format, ...) __asm__("sprintf");
#endif
} // namespace os

#else // simulated platform

#include "platform/sim/win32_types.h"
#include <errno.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>

// Natively the same names are implemented by our simulated Win32 (platform/sim).
namespace os {
struct FILE;

// Kernel
BOOL CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists);
BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES security);
BOOL DeleteFileA(LPCSTR path);
UINT GetDriveTypeA(LPCSTR root);
DWORD GetFileAttributesA(LPCSTR path);
DWORD GetLastError();
DWORD GetLogicalDrives();
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
HMODULE GetModuleHandleA(LPCSTR name);
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
DWORD GetTempPathA(DWORD size, LPSTR buffer);
UINT SetErrorMode(UINT mode);
void SetLastError(DWORD error);
// Registry
LONG RegCloseKey(HKEY key);
LONG RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD size);
LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD size);
// Shell
BOOL SHGetSpecialFolderPathA(HWND owner, LPSTR path, int csidl, BOOL create);
HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        INT show);
// Windows and messages
HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR caption, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL DestroyWindow(HWND window);
LRESULT DispatchMessageA(const MSG* msg);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
BOOL GetCursorPos(LPPOINT point);
HWND GetDesktopWindow();
BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax);
BOOL GetWindowRect(HWND window, LPRECT rect);
BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
void PostQuitMessage(int exitCode);
ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);
BOOL ScreenToClient(HWND window, LPPOINT point);
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC callback);
BOOL TranslateMessage(const MSG* msg);
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
// GDI
BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
int DrawTextA(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
HGDIOBJ GetStockObject(int object);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
int SetBkMode(HDC dc, int mode);
COLORREF SetTextColor(HDC dc, COLORREF color);
// C runtime
int _chdir(const char* path);
int _mkdir(const char* path);
int fclose(FILE* stream);
FILE* fopen(const char* path, const char* mode);
size_t fread(void* buffer, size_t size, size_t count, FILE* stream);
void free(void* block);
void* malloc(size_t size);
using ::sprintf;
} // namespace os

#endif
