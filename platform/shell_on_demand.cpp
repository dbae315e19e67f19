// The shell's two calls, bound when first made: shell32 drags a dozen more libraries into the
// process at start-up, and the menu needs it only for a click or the relocation.
#include "platform/win32.h"

// The types come from the system's own declarations, so a call through a pointer found by name
// cannot disagree with the function it finds.
typedef decltype(&::ShellExecuteA) ShellExecuteProc;
typedef decltype(&::SHGetSpecialFolderPathA) SpecialFolderProc;

// By its full path in the system folder: never a look-alike from the program's own folder.
static FARPROC ShellProc(const char* name) {
  static HMODULE shell = NULL;
  if (!shell) {
    char path[MAX_PATH + 16];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return NULL;
    lstrcpyA(path + length, "\\shell32.dll");
    shell = LoadLibraryA(path);
    if (!shell) return NULL;
  }
  return GetProcAddress(shell, name);
}

namespace os {

HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        INT show) {
  static ShellExecuteProc proc = NULL;
  if (!proc)
    proc = reinterpret_cast<ShellExecuteProc>(reinterpret_cast<void*>(ShellProc("ShellExecuteA")));
  if (!proc) return reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(SE_ERR_DLLNOTFOUND));
  return proc(owner, verb, file, parameters, directory, show);
}

BOOL SHGetSpecialFolderPathA(HWND owner, LPSTR path, int csidl, BOOL create) {
  static SpecialFolderProc proc = NULL;
  if (!proc)
    proc = reinterpret_cast<SpecialFolderProc>(
        reinterpret_cast<void*>(ShellProc("SHGetSpecialFolderPathA")));
  return proc ? proc(owner, path, csidl, create) : FALSE;
}

} // namespace os
