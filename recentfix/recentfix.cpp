// The Recent-folder repair tool: asks, tests the user's Recent folder, and repoints it if unusable.
#include "recentfix/recentfix.h"

bool g_repairFailed = false;

// The texts are Windows-1252 bytes; the question breaks its line with a bare line feed.
static const char kCaption[] = "R\xe9paration du Registre";
static const char kQuestion[] =
    "Certains syst\xe8mes peuvent pr\xe9senter des arguments invalides dans le Registre Windows "
    "concernant le chemin d'acc\xe8s au r\xe9pertoire 'Mes documents'. Ceci peut entra\xeener une "
    "erreur et l'arr\xeat de l'installation.\n"
    "Est-ce que ce programme doit ajuster les entr\xe9"
    "es incorrectes du Registre ?";
static const char kErrorMessage[] = "Erreur lors de la r\xe9paration du Registre";

static const char kTestFile[] = "\\hlwtest.tmp";
static const char kRepairFolder[] = "\\recent";
static const char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
static const char kUserShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
static const char kRecentValue[] = "Recent";

// Whether the folder path in `path`, a MAX_PATH buffer, leaves room for a suffix of `suffixSize`
// bytes (zero included). A path that does not fit is refused rather than cut, since a cut path
// names some other folder.
static bool LeavesRoomFor(const char* path, size_t suffixSize) {
  const void* end = memchr(path, 0, MAX_PATH);
  return end && static_cast<size_t>(static_cast<const char*>(end) - path) + suffixSize <= MAX_PATH;
}

bool TestRecentFolder() {
  char path[MAX_PATH];
  if (!os::SHGetSpecialFolderPathA(NULL, path, CSIDL_RECENT, FALSE)) return false;
  // A folder whose test file's path would not fit cannot be tested, so it counts as unusable.
  if (!LeavesRoomFor(path, sizeof kTestFile)) return false;
  // The system puts '?', which no file name holds, for every letter of the folder's name that
  // its code page cannot spell: the path names nothing from here, yet the folder itself may
  // work. It is left as it is, and the run reports that it could not do its job.
  if (strchr(path, '?')) {
    g_repairFailed = true;
    return true;
  }
  if (os::_chdir(path) != 0) return false;
  strcat(path, kTestFile);
  os::FILE* file = os::fopen(path, "w");
  if (!file) return false;
  os::fclose(file);
  if (!os::DeleteFileA(path)) g_repairFailed = true;
  return true;
}

bool WriteRecentValue(const char* keyPath, const char* path) {
  HKEY key;
  if (os::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return false;
  // The path is literal text, so REG_SZ in both keys: as an expandable string under "User Shell
  // Folders" any % in it would be taken for a variable.
  bool written =
      os::RegSetValueExA(key, kRecentValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                         static_cast<DWORD>(strlen(path) + 1)) == ERROR_SUCCESS;
  bool closed = os::RegCloseKey(key) == ERROR_SUCCESS;
  return written && closed;
}

// An entry "recent" that is already there will do only if it is a folder: pointing the Recent
// values at a file would leave the shell with no Recent folder at all.
static bool IsExistingFolder(const char* path) {
  DWORD attributes = os::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RepairRecentFolder() {
  char path[MAX_PATH];
  if (!os::SHGetSpecialFolderPathA(NULL, path, CSIDL_PERSONAL, FALSE) ||
      !LeavesRoomFor(path, sizeof kRepairFolder)) {
    g_repairFailed = true;
    return;
  }
  strcat(path, kRepairFolder);
  if (os::_mkdir(path) != 0 && (errno != EEXIST || !IsExistingFolder(path))) {
    g_repairFailed = true;
    return;
  }
  // Nothing is undone after a failure: a value already written names a folder that exists.
  if (!WriteRecentValue(kShellFolders, path)) {
    g_repairFailed = true;
    return;
  }
  if (!WriteRecentValue(kUserShellFolders, path)) g_repairFailed = true;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (os::MessageBoxA(NULL, kQuestion, kCaption, MB_ICONQUESTION | MB_YESNO) != IDYES) return 0;
  if (!TestRecentFolder()) RepairRecentFolder();
  if (g_repairFailed) os::MessageBoxA(NULL, kErrorMessage, kCaption, MB_ICONERROR);
  return 0;
}
