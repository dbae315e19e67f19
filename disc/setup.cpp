// setup.exe of demo disc 1: copies the demo game off the disc and writes its install record.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <string.h>
#include <windows.h>

namespace {

const char kTitle[] = "Kelvaro: Wendraskel - Setup";
const char kRecordKey[] = "Software\\Harrowlight\\Kelvaro";
const char kRecordValue[] = "InstallDir";
// Relative to the folder that holds setup.exe, the root of disc 1.
const char kDiscGameFolder[] = "program files\\harrowlight\\kelvaro\\";
const char kDefaultFolder[] = "Games\\Kelvaro\\";
const char* const kGameFiles[] = {"kelvaro.exe", "kelvaro.dat"};
// The menu joins the folder and "kelvaro.exe" in one MAX_PATH buffer: leave it room.
const size_t kMaxFolder = MAX_PATH - sizeof "kelvaro.exe";

enum ExitCode { ExitInstalled = 0, ExitCancelled = 1, ExitFailed = 2 };

bool g_unattended = false;

bool EnvironmentIs(const char* name, const char* value) {
  char text[16];
  DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
  return length > 0 && length < sizeof text && strcmp(text, value) == 0;
}

// Unattended runs have no one to read a box: the text goes to the standard error stream,
// which Wine connects to the terminal of whoever started the run.
void Tell(const char* text, UINT icon) {
  if (!g_unattended) {
    MessageBoxA(NULL, text, kTitle, MB_OK | icon);
    return;
  }
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err == NULL || err == INVALID_HANDLE_VALUE) return;
  DWORD written;
  WriteFile(err, text, static_cast<DWORD>(strlen(text)), &written, NULL);
  WriteFile(err, "\r\n", 2, &written, NULL);
}

void Append(char* buffer, size_t size, const char* text) {
  size_t used = strlen(buffer);
  size_t room = size - used - 1;
  size_t length = strlen(text);
  if (length > room) length = room;
  memcpy(buffer + used, text, length);
  buffer[used + length] = 0;
}

// The install folder, ending in a backslash: KELVARO_INSTALL_DIR when set, else
// \Games\Kelvaro\ on the drive that holds Windows.
bool ChooseInstallFolder(char* folder) {
  DWORD length = GetEnvironmentVariableA("KELVARO_INSTALL_DIR", folder, MAX_PATH);
  if (length >= MAX_PATH) return false;
  if (length == 0) {
    char windows[MAX_PATH];
    UINT got = GetWindowsDirectoryA(windows, MAX_PATH);
    if (got < 3 || got >= MAX_PATH || windows[1] != ':') lstrcpynA(windows, "C:\\", 4);
    lstrcpynA(folder, windows, 4);
    Append(folder, MAX_PATH, kDefaultFolder);
    return true;
  }
  for (char* c = folder; *c; ++c)
    if (*c == '/') *c = '\\';
  // The record is read from any current folder, so it has to name the folder in full.
  bool drivePath = IsCharAlphaA(folder[0]) && folder[1] == ':' && folder[2] == '\\';
  bool networkPath = folder[0] == '\\' && folder[1] == '\\';
  if (!drivePath && !networkPath) return false;
  if (folder[length - 1] != '\\') Append(folder, MAX_PATH, "\\");
  return strlen(folder) <= kMaxFolder;
}

// Creates the folder and every missing folder above it; the path ends in a backslash.
bool CreateFolderPath(const char* folder) {
  char partial[MAX_PATH];
  size_t length = strlen(folder);
  for (size_t i = 0; i < length; ++i) {
    if (folder[i] != '\\' && folder[i] != '/') continue;
    // The drive root needs no creating; for a network path, the tries on the server and the
    // share fail and do no harm.
    if (i < 3) continue;
    memcpy(partial, folder, i);
    partial[i] = 0;
    CreateDirectoryA(partial, NULL);
  }
  DWORD attributes = GetFileAttributesA(folder);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder of this program, the root of disc 1 when it runs from the disc.
bool OwnFolder(char* folder) {
  DWORD length = GetModuleFileNameA(NULL, folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  char* slash = strrchr(folder, '\\');
  if (!slash) return false;
  slash[1] = 0;
  return true;
}

bool CopyGameFiles(const char* discFolder, const char* installFolder) {
  for (const char* name : kGameFiles) {
    char source[MAX_PATH] = "";
    Append(source, MAX_PATH, discFolder);
    Append(source, MAX_PATH, kDiscGameFolder);
    Append(source, MAX_PATH, name);
    char target[MAX_PATH] = "";
    Append(target, MAX_PATH, installFolder);
    Append(target, MAX_PATH, name);
    // Files copied off a CD-ROM keep its read-only mark, which would make the copy of a
    // second installation fail and leave the game's own files unwritable.
    SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
    if (!CopyFileA(source, target, FALSE)) {
      char text[3 * MAX_PATH + 200] = "Setup could not copy the game file\r\n";
      Append(text, sizeof text, source);
      Append(text, sizeof text, "\r\nto\r\n");
      Append(text, sizeof text, target);
      Append(text, sizeof text,
             "\r\n\r\nCheck that disc 1 is in the drive and that the folder can be written.");
      Tell(text, MB_ICONERROR);
      return false;
    }
    SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
  }
  return true;
}

bool WriteInstallRecord(const char* installFolder) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kRecordKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) !=
      ERROR_SUCCESS)
    return false;
  // The terminating zero is part of the data: a reader may rely on finding it.
  LONG result =
      RegSetValueExA(key, kRecordValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(installFolder),
                     static_cast<DWORD>(strlen(installFolder) + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

int Install() {
  char discFolder[MAX_PATH];
  if (!OwnFolder(discFolder)) {
    Tell("Setup cannot tell which folder it was started from.", MB_ICONERROR);
    return ExitFailed;
  }
  char installFolder[MAX_PATH];
  if (!ChooseInstallFolder(installFolder)) {
    Tell("KELVARO_INSTALL_DIR must name a folder by its full path, in at most 248 characters.",
         MB_ICONERROR);
    return ExitFailed;
  }

  if (!g_unattended) {
    char question[MAX_PATH + 200] =
        "Setup will install the Kelvaro: Wendraskel demo in\r\n\r\n    ";
    Append(question, sizeof question, installFolder);
    Append(question, sizeof question, "\r\n\r\nInstall it now?");
    if (MessageBoxA(NULL, question, kTitle, MB_YESNO | MB_ICONQUESTION) != IDYES)
      return ExitCancelled;
  }

  if (!CreateFolderPath(installFolder)) {
    char text[MAX_PATH + 100] = "Setup could not create the folder\r\n";
    Append(text, sizeof text, installFolder);
    Tell(text, MB_ICONERROR);
    return ExitFailed;
  }
  if (!CopyGameFiles(discFolder, installFolder)) return ExitFailed;
  // The record comes last: the menu takes the game as installed as soon as the record names
  // a folder that holds the game, so the files must all be in place by then.
  if (!WriteInstallRecord(installFolder)) {
    Tell("Setup could not write the install record under "
         "HKEY_CURRENT_USER\\Software\\Harrowlight\\Kelvaro.",
         MB_ICONERROR);
    return ExitFailed;
  }

  if (!g_unattended) {
    char done[MAX_PATH + 200] = "The demo is installed in\r\n\r\n    ";
    Append(done, sizeof done, installFolder);
    Append(done, sizeof done, "\r\n\r\nClick Start in the disc menu to play.");
    Tell(done, MB_ICONINFORMATION);
  }
  return ExitInstalled;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  g_unattended = EnvironmentIs("KELVARO_SETUP_UNATTENDED", "1");
  return Install();
}
