// A library planted beside a program under a system library's name: it leaves a mark if loaded.
#include <windows.h>

// The mark names the program that loaded us, so a test can tell who fell for it. Loading is
// then refused, so the host goes on as if the library were missing rather than calling into us.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char path[MAX_PATH + 32];
  DWORD length = GetTempPathA(MAX_PATH, path);
  if (length == 0 || length >= MAX_PATH) return FALSE;
  lstrcatA(path, "planted-dll-loaded.txt");
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, 0, NULL);
  if (file != INVALID_HANDLE_VALUE) {
    char module[MAX_PATH + 2];
    DWORD size = GetModuleFileNameA(NULL, module, MAX_PATH);
    module[size] = '\r';
    module[size + 1] = '\n';
    DWORD written = 0;
    WriteFile(file, module, size + 2, &written, NULL);
    CloseHandle(file);
  }
  return FALSE;
}
