// Reports a top-level window of a class as Windows sees it, and optionally waits for its process.
//
//   window_info CLASS [--appear SECONDS] [--exit SECONDS]
//
// Prints key=value lines: how many windows of the class exist, the class, caption, styles and
// rectangles of the first one, and the image path and current folder of the process that owns
// it. --appear waits for the window to show up; --exit then waits for its process to end and
// prints its exit code, which is the only way to learn it for a program the shell started.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct Search {
  const char* className;
  HWND first;
  int count;
};

static BOOL CALLBACK CountWindow(HWND window, LPARAM param) {
  Search* search = reinterpret_cast<Search*>(param);
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  if (strcmp(name, search->className) == 0) {
    if (!search->first) search->first = window;
    ++search->count;
  }
  return TRUE;
}

static FARPROC Proc(const char* module, const char* name) {
  HMODULE handle = GetModuleHandleA(module);
  return handle ? GetProcAddress(handle, name) : NULL;
}

static void PrintImagePath(HANDLE process) {
  typedef BOOL(WINAPI * QueryImageProc)(HANDLE, DWORD, LPSTR, PDWORD);
  FARPROC proc = Proc("kernel32.dll", "QueryFullProcessImageNameA");
  char path[MAX_PATH] = "";
  DWORD size = sizeof path;
  if (proc &&
      reinterpret_cast<QueryImageProc>(reinterpret_cast<void*>(proc))(process, 0, path, &size))
    printf("module=%s\n", path);
  else
    printf("module=?\n");
}

// The current folder of another process sits in its process parameters, which the PEB points
// at; there is no documented call for it. The offsets are those of a process of this one's own
// bitness, which is what the tests read: the 32-bit build beside the 32-bit menu, the 64-bit
// build beside the 64-bit one.
#ifdef _WIN64
static const ULONG_PTR kPebProcessParameters = 0x20;
static const ULONG_PTR kParametersCurrentDirectory = 0x38;
#else
static const ULONG_PTR kPebProcessParameters = 0x10;
static const ULONG_PTR kParametersCurrentDirectory = 0x24;
#endif

static void PrintCurrentFolder(HANDLE process) {
  struct BasicInformation {
    LONG exitStatus;
    ULONG_PTR peb;
    ULONG_PTR affinityMask;
    LONG basePriority;
    ULONG_PTR processId;
    ULONG_PTR parentProcessId;
  };
  typedef LONG(WINAPI * QueryProcessProc)(HANDLE, int, PVOID, ULONG, PULONG);
  FARPROC proc = Proc("ntdll.dll", "NtQueryInformationProcess");
  BasicInformation info;
  ULONG_PTR parameters = 0;
  struct {
    USHORT length;
    USHORT maximumLength;
    ULONG_PTR buffer;
  } dosPath = {0, 0, 0};
  WCHAR wide[MAX_PATH + 1] = L"";
  char folder[2 * MAX_PATH] = "";
  if (!proc ||
      reinterpret_cast<QueryProcessProc>(reinterpret_cast<void*>(proc))(process, 0, &info,
                                                                        sizeof info, NULL) != 0 ||
      !ReadProcessMemory(process, reinterpret_cast<void*>(info.peb + kPebProcessParameters),
                         &parameters, sizeof parameters, NULL) ||
      !ReadProcessMemory(process, reinterpret_cast<void*>(parameters + kParametersCurrentDirectory),
                         &dosPath, sizeof dosPath, NULL) ||
      dosPath.length > MAX_PATH * sizeof(WCHAR) ||
      !ReadProcessMemory(process, reinterpret_cast<void*>(dosPath.buffer), wide, dosPath.length,
                         NULL)) {
    printf("cwd=?\n");
    return;
  }
  WideCharToMultiByte(CP_ACP, 0, wide, dosPath.length / sizeof(WCHAR), folder, sizeof folder - 1,
                      NULL, NULL);
  printf("cwd=%s\n", folder);
}

int main(int argc, char** argv) {
  if (argc < 2) {
    printf("usage: window_info CLASS [--appear SECONDS] [--exit SECONDS]\n");
    return 2;
  }
  double appear = 0, exitWait = -1;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (strcmp(argv[i], "--appear") == 0) appear = atof(argv[i + 1]);
    if (strcmp(argv[i], "--exit") == 0) exitWait = atof(argv[i + 1]);
  }

  Search search = {argv[1], NULL, 0};
  DWORD deadline = GetTickCount() + static_cast<DWORD>(appear * 1000);
  for (;;) {
    search.first = NULL;
    search.count = 0;
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&search));
    // A window is found while CreateWindowEx is still under way, before it shows: wait for it
    // to be visible, or its style is read without WS_VISIBLE.
    if ((search.first && IsWindowVisible(search.first)) ||
        static_cast<LONG>(deadline - GetTickCount()) <= 0)
      break;
    Sleep(50);
  }
  printf("count=%d\n", search.count);
  if (!search.first) return 1;
  HWND window = search.first;

  char text[256] = "";
  GetClassNameA(window, text, sizeof text);
  printf("class=%s\n", text);
  text[0] = 0;
  GetWindowTextA(window, text, sizeof text);
  printf("caption=%s\n", text);
  printf("style=0x%08lx\n", static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)));
  printf("exstyle=0x%08lx\n", static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)));
  RECT rect;
  GetWindowRect(window, &rect);
  printf("window=%ld,%ld,%ld,%ld\n", rect.left, rect.top, rect.right - rect.left,
         rect.bottom - rect.top);
  GetClientRect(window, &rect);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  printf("client=%ld,%ld,%ld,%ld\n", origin.x, origin.y, rect.right, rect.bottom);

  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process =
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, processId);
  if (!process) {
    printf("module=?\ncwd=?\n");
    return exitWait >= 0 ? 1 : 0;
  }
  PrintImagePath(process);
  PrintCurrentFolder(process);
  fflush(stdout);

  int result = 0;
  if (exitWait >= 0) {
    if (WaitForSingleObject(process, static_cast<DWORD>(exitWait * 1000)) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(process, &code);
      printf("exit=%lu\n", static_cast<unsigned long>(code));
    } else {
      printf("exit=timeout\n");
      result = 1;
    }
  }
  CloseHandle(process);
  return result;
}
