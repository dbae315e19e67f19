// Start-up: run the menu, or first move the program off the disc into the temporary folder.
#include "launcher/startup.h"

#include "base/bytestring.h"
#include "launcher/disc_locator.h"
#include "launcher/menu_window.h"

#include <type_traits>

// The artwork beside the program, copied in this order: the name in the temporary Res folder,
// and where it lies beside the program.
static const char* const kArtwork[][2] = {
    {"back.bmp", "Res\\back.bmp"},       {"exit.bmp", "Res\\exit.bmp"},
    {"install.bmp", "Res\\install.bmp"}, {"readme.bmp", "Res\\readme.bmp"},
    {"readme.html", "Res\\readme.html"}, {"start_a.bmp", "Res\\start_a.bmp"},
    {"start_b.bmp", "Res\\start_b.bmp"},
};

bool RelocateToTempFolder(const char* modulePath) {
  char temp[MAX_PATH];
  DWORD length = os::GetTempPathA(MAX_PATH, temp);
  // 0 is a failure; a length that does not fit means the buffer holds no path at all.
  if (length == 0 || length >= MAX_PATH) return false;

  ByteString tempFolder(temp);
  ByteString copy = tempFolder + "start.exe";
  // Only a program file written just now is started: a folder that cannot be written (or whose
  // name the system code page cannot spell) leaves nothing, or someone else's file, there.
  bool copied = os::CopyFileA(modulePath, copy.c_str(), FALSE) != FALSE;

  ByteString artFolder = tempFolder + "Res\\";
  os::CreateDirectoryA(artFolder.c_str(), NULL);

  ByteString module(modulePath);
  ByteString sourceFolder = module.Left(static_cast<size_t>(module.FindLast('\\') + 1));
  for (const auto& art : kArtwork) {
    ByteString source = sourceFolder + art[1];
    ByteString target = artFolder + art[0];
    os::CopyFileA(source.c_str(), target.c_str(), FALSE);
  }

  // The artwork is not needed for the copy to start: the menu draws stand-ins for what is
  // missing, so a failed artwork copy changes nothing here.
  if (!copied) return false;
  // An empty working folder, not a null one: the copy starts where the shell puts it. Values
  // up to 32 are the shell's error codes.
  HINSTANCE started = os::ShellExecuteA(NULL, "Open", copy.c_str(), NULL, "", SW_SHOWDEFAULT);
  return reinterpret_cast<uintptr_t>(started) > 32;
}

// The copy runs from the temporary folder, where anything may have been dropped: libraries
// are to come from the system folder only. Older systems lack the call, and keep their ways.
static void RestrictLibrarySearch() {
  typedef BOOL(WINAPI * SetDefaultDllDirectoriesProc)(DWORD);
#ifdef _WIN32
  // Found by name, so checked here against the system's own declaration.
  static_assert(
      std::is_same<SetDefaultDllDirectoriesProc, decltype(&::SetDefaultDllDirectories)>::value,
      "SetDefaultDllDirectories is not of the type it is called as");
#endif
  HMODULE kernel = os::GetModuleHandleA("kernel32.dll");
  if (!kernel) return;
  FARPROC proc = os::GetProcAddress(kernel, "SetDefaultDllDirectories");
  if (proc)
    reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void*>(proc))(
        LOAD_LIBRARY_SEARCH_SYSTEM32);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // An empty CD-ROM drive probed below must not stop the user with a "no disk" dialog.
  os::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  RestrictLibrarySearch();

  char discFolder[MAX_PATH];
  if (!FindGameDisc(1, discFolder)) return RunMenu();

  char modulePath[MAX_PATH];
  DWORD length = os::GetModuleFileNameA(instance, modulePath, MAX_PATH);
  // Without the whole path there is no drive letter to compare and nothing sound to copy.
  if (length == 0 || length >= MAX_PATH) return RunMenu();

  // Plain bytes: the disc's letter always comes in upper case.
  if (discFolder[0] != modulePath[0]) return RunMenu();

  // When no copy was started, this process is the only one left to show the menu.
  if (!RelocateToTempFolder(modulePath)) return RunMenu();
  return 0;
}
