// Times a program from process start to its first paint, and asks Windows about its window.
//
//   bench_probe run --class CLASS [--pixel X,Y,RRGGBB] [--dir DIR] [--timeout S] [--keep]
//               -- COMMAND LINE
//   bench_probe close --class CLASS [--timeout S]
//   bench_probe gdi --class CLASS
//
// Prints key=value lines. run starts COMMAND LINE in DIR and watches, about every millisecond,
// for a visible top-level window of CLASS (window_ms) and for the screen pixel at X,Y turning
// RRGGBB (paint_ms), both counted from just before CreateProcess; then, unless --keep, it
// closes that window with WM_CLOSE and waits for both processes to end. A relocating program
// ends by itself and its copy owns the window, which is why windows are found by class.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct Options {
  const char* command = "run";
  const char* className = NULL;
  const char* dir = NULL;
  bool pixel = false;
  int x = 0, y = 0;
  COLORREF colour = 0;
  double timeout = 20;
  bool keep = false;
  char commandLine[2048] = "";
};

static bool Parse(int argc, char** argv, Options* o) {
  if (argc < 2) return false;
  o->command = argv[1];
  int i = 2;
  for (; i < argc; ++i) {
    const char* a = argv[i];
    const char* next = i + 1 < argc ? argv[i + 1] : NULL;
    if (strcmp(a, "--") == 0) {
      ++i;
      break;
    }
    if (strcmp(a, "--keep") == 0) {
      o->keep = true;
      continue;
    }
    if (!next) return false;
    ++i;
    if (strcmp(a, "--class") == 0) {
      o->className = next;
    } else if (strcmp(a, "--dir") == 0) {
      o->dir = next;
    } else if (strcmp(a, "--timeout") == 0) {
      o->timeout = atof(next);
    } else if (strcmp(a, "--pixel") == 0) {
      unsigned rgb = 0;
      if (sscanf(next, "%d,%d,%x", &o->x, &o->y, &rgb) != 3) return false;
      o->colour = RGB((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
      o->pixel = true;
    } else {
      return false;
    }
  }
  // The command line goes on as the target will see it: one argument a word, quoted if spaced.
  for (; i < argc; ++i) {
    bool quote = strchr(argv[i], ' ') != NULL;
    size_t used = strlen(o->commandLine);
    snprintf(o->commandLine + used, sizeof o->commandLine - used, "%s%s%s%s", used ? " " : "",
             quote ? "\"" : "", argv[i], quote ? "\"" : "");
  }
  return o->className != NULL;
}

static HWND FindVisible(const char* className) {
  HWND window = FindWindowA(className, NULL);
  return window && IsWindowVisible(window) ? window : NULL;
}

static double Since(const LARGE_INTEGER& start, const LARGE_INTEGER& frequency) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Asks the window to close as its user would and waits for its process; forces it if need be.
static const char* CloseWindowOf(const char* className, DWORD waitMs) {
  HWND window = FindWindowA(className, NULL);
  if (!window) return "gone";
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
  PostMessageA(window, WM_CLOSE, 0, 0);
  if (!process) return "unknown";
  const char* how = "yes";
  if (WaitForSingleObject(process, waitMs) != WAIT_OBJECT_0) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, waitMs);
    how = "forced";
  }
  CloseHandle(process);
  return how;
}

static int Run(Options& o) {
  HDC screen = GetDC(NULL);
  // A window left over from the run before would be timed instead of the new one.
  if (FindWindowA(o.className, NULL)) {
    printf("error=a window of the class is already open\n");
    return 3;
  }
  if (o.pixel && GetPixel(screen, o.x, o.y) == o.colour) {
    printf("error=the pixel already has the colour\n");
    return 3;
  }

  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info;
  LARGE_INTEGER frequency, start;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(NULL, o.commandLine, NULL, NULL, FALSE, 0, NULL, o.dir, &startup, &info)) {
    printf("error=CreateProcess failed (%lu)\n", GetLastError());
    return 3;
  }
  CloseHandle(info.hThread);

  double windowMs = -1, paintMs = -1;
  while (Since(start, frequency) < o.timeout * 1000) {
    if (windowMs < 0 && FindVisible(o.className)) windowMs = Since(start, frequency);
    if (o.pixel && GetPixel(screen, o.x, o.y) == o.colour) {
      paintMs = Since(start, frequency);
      if (windowMs < 0) windowMs = paintMs;
      break;
    }
    if (!o.pixel && windowMs >= 0) break;
    Sleep(1);
  }
  ReleaseDC(NULL, screen);

  if (windowMs >= 0)
    printf("window_ms=%.2f\n", windowMs);
  else
    printf("window_ms=timeout\n");
  if (o.pixel) {
    if (paintMs >= 0)
      printf("paint_ms=%.2f\n", paintMs);
    else
      printf("paint_ms=timeout\n");
  }
  fflush(stdout);

  const DWORD waitMs = 10000;
  if (o.keep) {
    printf("closed=kept\n");
  } else {
    printf("closed=%s\n", CloseWindowOf(o.className, waitMs));
    // The started process may be a relocating one that ended long ago, or the window's own.
    if (WaitForSingleObject(info.hProcess, waitMs) != WAIT_OBJECT_0)
      TerminateProcess(info.hProcess, 1);
  }
  CloseHandle(info.hProcess);
  return windowMs >= 0 ? 0 : 1;
}

static int Gdi(const Options& o) {
  HWND window = FindWindowA(o.className, NULL);
  if (!window) {
    printf("error=no window of the class\n");
    return 1;
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
  if (!process) {
    printf("error=OpenProcess failed (%lu)\n", GetLastError());
    return 1;
  }
  SetLastError(0);
  DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  DWORD gdiError = GetLastError();
  DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  CloseHandle(process);
  printf("gdi=%lu\nuser=%lu\nerror_code=%lu\n", gdi, user, gdiError);
  return 0;
}

int main(int argc, char** argv) {
  Options o;
  if (!Parse(argc, argv, &o)) {
    printf("usage: bench_probe run|close|gdi --class CLASS [options] [-- COMMAND LINE]\n");
    return 2;
  }
  if (strcmp(o.command, "run") == 0 && o.commandLine[0]) return Run(o);
  if (strcmp(o.command, "close") == 0) {
    printf("closed=%s\n", CloseWindowOf(o.className, static_cast<DWORD>(o.timeout * 1000)));
    return 0;
  }
  if (strcmp(o.command, "gdi") == 0) return Gdi(o);
  printf("usage: bench_probe run|close|gdi --class CLASS [options] [-- COMMAND LINE]\n");
  return 2;
}
