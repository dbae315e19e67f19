// The floor for the relocation road: the least a program can do to move off the disc and show.
//
// From a CD-ROM drive it moves into the temporary folder as start.exe does and starts its copy
// there; from anywhere else, as that copy, it shows the bare window.
#include "platform/win32.h"
#include "tools/bench-src/bare_window.h"

// The seven files start.exe copies out of Res\ beside it, in its order. The benchmark's disc
// holds the menu's own, so the same bytes are copied.
static const char* const kFiles[] = {"back.bmp",    "exit.bmp",    "install.bmp", "readme.bmp",
                                     "readme.html", "start_a.bmp", "start_b.bmp"};

// Copies this program and its files to the temporary folder and starts the copy through the
// shell, the same calls with the same arguments as start.exe; true once the copy is started.
static bool Relocate(const char* module) {
  char temp[MAX_PATH];
  DWORD length = GetTempPathA(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) return false;
  // Room for a folder of MAX_PATH and the longest name after it.
  char copy[MAX_PATH + 32], source[MAX_PATH + 32], target[MAX_PATH + 32];
  lstrcpyA(copy, temp);
  lstrcatA(copy, "bare_relocation.exe");
  bool copied = CopyFileA(module, copy, FALSE) != FALSE;

  lstrcpyA(target, temp);
  lstrcatA(target, "Res\\");
  CreateDirectoryA(target, NULL);
  char* targetName = target + lstrlenA(target);
  lstrcpyA(source, module);
  char* sourceName = strrchr(source, '\\') + 1;
  lstrcpyA(sourceName, "Res\\");
  sourceName += 4;
  for (const char* name : kFiles) {
    lstrcpyA(sourceName, name);
    lstrcpyA(targetName, name);
    CopyFileA(source, target, FALSE);
  }
  if (!copied) return false;
  // shell32 bound on demand, as start.exe binds it: the copy does not load it to start.
  HINSTANCE started = os::ShellExecuteA(NULL, "Open", copy, NULL, "", SW_SHOWDEFAULT);
  return reinterpret_cast<ULONG_PTR>(started) > 32;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  char module[MAX_PATH];
  DWORD length = GetModuleFileNameA(instance, module, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || !strchr(module, '\\')) return RunBareWindow(instance);
  char root[] = {module[0], ':', '\\', 0};
  if (GetDriveTypeA(root) == DRIVE_CDROM && Relocate(module)) return 0;
  return RunBareWindow(instance);
}
