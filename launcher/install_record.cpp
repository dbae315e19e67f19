// Reads the game's install record: is the game installed, and starting it.
#include "launcher/install_record.h"

bool g_gameInstalled = false;

static const char kRecordKey[] = "Software\\Harrowlight\\Kelvaro";
static const char kRecordValue[] = "InstallDir";
static const char kGameExecutable[] = "kelvaro.exe";

// Reads the install folder from the open key into `folder` (MAX_PATH bytes) as a terminated
// string. The registry hands back a string value exactly as it was stored, so a value written
// without its terminating zero arrives without one; it is terminated here where room remains.
static bool ReadInstallFolder(HKEY key, char* folder) {
  DWORD size = MAX_PATH;
  if (os::RegQueryValueExA(key, kRecordValue, NULL, NULL, reinterpret_cast<BYTE*>(folder), &size) !=
      ERROR_SUCCESS)
    return false;
  if (size < MAX_PATH) {
    folder[size] = 0;
    return true;
  }
  // A full buffer holds a usable string only if its last byte is the terminator.
  return folder[MAX_PATH - 1] == 0;
}

void ProbeInstallation() {
  bool installed = false;
  HKEY key;
  if (os::RegOpenKeyExA(HKEY_CURRENT_USER, kRecordKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    char path[MAX_PATH];
    if (ReadInstallFolder(key, path)) {
      size_t length = strlen(path);
      // The executable's name goes right after the folder, which ends in its own backslash.
      if (length + sizeof kGameExecutable <= sizeof path) {
        memcpy(path + length, kGameExecutable, sizeof kGameExecutable);
        if (os::FILE* file = os::fopen(path, "r")) {
          os::fclose(file);
          installed = true;
        }
      }
    }
    os::RegCloseKey(key);
  }
  g_gameInstalled = installed;
}

void LaunchInstalledGame(HWND owner) {
  HKEY key;
  if (os::RegOpenKeyExA(HKEY_CURRENT_USER, kRecordKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  char folder[MAX_PATH];
  if (ReadInstallFolder(key, folder))
    os::ShellExecuteA(owner, "Open", kGameExecutable, NULL, folder, SW_SHOWDEFAULT);
  os::RegCloseKey(key);
}
