// Holds a file open as a program still running from it would, until told to let go.
//
//   hold_file FILE MARKER SECONDS [read]
//
// Opens FILE with no sharing at all (or, with "read", sharing reading only, as the system holds
// the image of a running program: it can be started again but not replaced), prints "held",
// then waits until MARKER exists or SECONDS have passed. Exit code 0 when the marker came.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5 || (argc == 5 && strcmp(argv[4], "read") != 0)) {
    printf("usage: hold_file FILE MARKER SECONDS [read]\n");
    return 2;
  }
  DWORD share = argc == 5 ? FILE_SHARE_READ : 0;
  HANDLE file =
      CreateFileA(argv[1], GENERIC_READ, share, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) {
    printf("cannot open %s: error %lu\n", argv[1], static_cast<unsigned long>(GetLastError()));
    return 1;
  }
  printf("held\n");
  fflush(stdout);

  DWORD deadline = GetTickCount() + static_cast<DWORD>(atof(argv[3]) * 1000);
  int result = 1;
  while (static_cast<LONG>(deadline - GetTickCount()) > 0) {
    if (GetFileAttributesA(argv[2]) != INVALID_FILE_ATTRIBUTES) {
      result = 0;
      break;
    }
    Sleep(50);
  }
  CloseHandle(file);
  printf(result == 0 ? "released\n" : "timeout\n");
  return result;
}
