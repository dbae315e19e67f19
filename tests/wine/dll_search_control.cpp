// Loads a library the way start.exe's process would meet it, with or without start.exe's
// restriction of the library search to the system folder, and says which file it got.
//
//   dll_search_control NAME [--restrict] [--window]
//
// --window creates (and destroys) a window instead of calling LoadLibraryA, so the system
// loads its on-demand helpers itself, as it does for the menu.
#include <windows.h>

#include <stdio.h>
#include <string.h>

int main(int argc, char** argv) {
  if (argc < 2) {
    printf("usage: dll_search_control NAME [--restrict] [--window]\n");
    return 2;
  }
  bool restrict = false, window = false;
  for (int i = 2; i < argc; ++i) {
    restrict = restrict || strcmp(argv[i], "--restrict") == 0;
    window = window || strcmp(argv[i], "--window") == 0;
  }
  if (restrict) {
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesProc)(DWORD);
    FARPROC proc = GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (!proc || !reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void*>(proc))(
                     LOAD_LIBRARY_SEARCH_SYSTEM32)) {
      printf("restrict=failed\n");
      return 1;
    }
  }
  HMODULE module = NULL;
  if (window) {
    HWND w = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    module = GetModuleHandleA(argv[1]);
    if (w) DestroyWindow(w);
  } else {
    module = LoadLibraryA(argv[1]);
  }
  char path[MAX_PATH] = "";
  if (module) GetModuleFileNameA(module, path, sizeof path);
  printf("loaded=%s\n", module ? path : "no");
  return 0;
}
