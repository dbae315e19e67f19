// Stands in for the browser: appends the command line it was started with to opened.log beside it.
#include <windows.h>

#include <string.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char log[MAX_PATH];
  DWORD length = GetModuleFileNameA(NULL, log, MAX_PATH);
  char* slash = strrchr(log, '\\');
  if (length == 0 || length >= MAX_PATH || !slash ||
      static_cast<size_t>(slash + 1 - log) + sizeof "opened.log" > MAX_PATH)
    return 1;
  strcpy(slash + 1, "opened.log");
  // The whole line, quotes included, so the test sees exactly what the shell passed on.
  const char* line = GetCommandLineA();
  HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written;
  WriteFile(file, line, static_cast<DWORD>(strlen(line)), &written, NULL);
  WriteFile(file, "\r\n", 2, &written, NULL);
  CloseHandle(file);
  return 0;
}
