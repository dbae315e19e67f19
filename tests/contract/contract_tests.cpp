// Pins the simulated platform to the real one: the same checks run natively and under Wine.
//
// The world they expect: C: a fixed drive, E: a CD-ROM drive holding "contract\id.txt" with the
// text below, no drive Q:, and a writable temporary folder.
#include "platform/win32.h"
#include "tests/support/check.h"

#ifndef _WIN32
#include "platform/sim/sim.h"
#endif

static const char kIdText[] = "Kelvaro: Wendraskel, DISK1\r\n";
static const char kScratchKey[] = "Software\\KelvaroContract";

static void CreateScratchKey() {
#ifdef _WIN32
  HKEY key;
  RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key,
                      NULL) == ERROR_SUCCESS)
    RegCloseKey(key);
#else
  sim::CreateKey(std::string("HKCU\\") + kScratchKey);
#endif
}

static void RemoveScratchKey() {
#ifdef _WIN32
  RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);
#endif
}

static void Drives() {
  CHECK_EQ(os::GetDriveTypeA("C:\\"), DRIVE_FIXED);
  CHECK_EQ(os::GetDriveTypeA("E:\\"), DRIVE_CDROM);
  CHECK_EQ(os::GetDriveTypeA("Q:\\"), DRIVE_NO_ROOT_DIR);
  DWORD mask = os::GetLogicalDrives();
  CHECK(mask & (1u << ('C' - 'A')));
  CHECK(mask & (1u << ('E' - 'A')));
  CHECK(!(mask & (1u << ('Q' - 'A'))));
}

static void ReadingFiles() {
  // A read asks for more than the file holds: the count read is what was there.
  os::FILE* f = os::fopen("e:\\CONTRACT\\id.txt", "rb");
  if (CHECK(f != NULL)) {
    char buffer[100];
    memset(buffer, 0xbd, sizeof buffer);
    CHECK_EQ(os::fread(buffer, 1, sizeof buffer, f), sizeof kIdText - 1);
    CHECK(memcmp(buffer, kIdText, sizeof kIdText - 1) == 0);
    os::fclose(f);
  }
  CHECK(os::fopen("E:\\contract\\missing.txt", "rb") == NULL);
  CHECK(os::fopen("Q:\\contract\\id.txt", "rb") == NULL);
}

static void TempFolderAndFolders() {
  char temp[MAX_PATH];
  memset(temp, 0xbd, sizeof temp);
  DWORD length = os::GetTempPathA(MAX_PATH, temp);
  CHECK(length > 3 && length < MAX_PATH);
  CHECK_EQ(strlen(temp), length);
  CHECK_EQ(temp[length - 1], '\\');
  // Too small a buffer: the size needed, zero included.
  char small[4];
  CHECK_EQ(os::GetTempPathA(sizeof small, small), length + 1);

  char dir[MAX_PATH + 32], file[MAX_PATH + 32];
  snprintf(dir, sizeof dir, "%scontract-dir", temp);
  snprintf(file, sizeof file, "%scontract-file", temp);
  os::_mkdir(dir);
  errno = 0;
  CHECK_EQ(os::_mkdir(dir), -1);
  CHECK_EQ(errno, EEXIST);
  os::FILE* f = os::fopen(file, "w");
  if (CHECK(f != NULL)) os::fclose(f);
  errno = 0;
  CHECK_EQ(os::_mkdir(file), -1);
  CHECK_EQ(errno, EEXIST);
  CHECK(os::GetFileAttributesA(dir) & FILE_ATTRIBUTE_DIRECTORY);
  CHECK(!(os::GetFileAttributesA(file) & FILE_ATTRIBUTE_DIRECTORY));
  CHECK_EQ(os::GetFileAttributesA(file) == INVALID_FILE_ATTRIBUTES, 0);
  CHECK(os::DeleteFileA(file));
  CHECK(!os::DeleteFileA(file));
  // A folder cannot be deleted as a file.
  CHECK(!os::DeleteFileA(dir));
  // CreateDirectoryA on an existing folder fails with ERROR_ALREADY_EXISTS.
  CHECK(!os::CreateDirectoryA(dir, NULL));
  CHECK_EQ(os::GetLastError(), ERROR_ALREADY_EXISTS);
}

static void RegistryStrings() {
  CreateScratchKey();
  HKEY key;
  CHECK_EQ(
      os::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\KelvaroContract\\Missing", 0, KEY_READ, &key),
      ERROR_FILE_NOT_FOUND);
  if (!CHECK_EQ(os::RegOpenKeyExA(HKEY_CURRENT_USER, kScratchKey, 0,
                                  KEY_SET_VALUE | KEY_QUERY_VALUE, &key),
                ERROR_SUCCESS))
    return;
  // A string stored without its terminating zero. The system counts a zero the caller forgot
  // when one follows the data, so the byte after the counted ones is not a zero here.
  static const char kNoZero[] = "C:\\Games\\X";
  CHECK_EQ(os::RegSetValueExA(key, "NoZero", 0, REG_SZ, (const BYTE*)kNoZero, 9), ERROR_SUCCESS);
  CHECK_EQ(os::RegSetValueExA(key, "WithZero", 0, REG_SZ, (const BYTE*)"C:\\Games\\", 10),
           ERROR_SUCCESS);
  CHECK_EQ(os::RegSetValueExA(key, "Forgot", 0, REG_SZ, (const BYTE*)"C:\\Games\\", 9),
           ERROR_SUCCESS);

  // Read back, it is 9 bytes; where the buffer has room a zero follows them, uncounted.
  BYTE data[16];
  DWORD size = sizeof data, type = 0xdeadbeef;
  memset(data, 0xbd, sizeof data);
  CHECK_EQ(os::RegQueryValueExA(key, "NoZero", NULL, &type, data, &size), ERROR_SUCCESS);
  CHECK_EQ(type, REG_SZ);
  CHECK_EQ(size, 9);
  CHECK(memcmp(data, "C:\\Games\\", 9) == 0);
  CHECK_EQ(data[9], 0);
  CHECK_EQ(data[10], 0xbd);
  DWORD needed = 0;
  CHECK_EQ(os::RegQueryValueExA(key, "NoZero", NULL, NULL, NULL, &needed), ERROR_SUCCESS);
  CHECK_EQ(needed, 9);
  // Into exactly its own size it arrives without any zero.
  size = 9;
  memset(data, 0xbd, sizeof data);
  CHECK_EQ(os::RegQueryValueExA(key, "NoZero", NULL, NULL, data, &size), ERROR_SUCCESS);
  CHECK_EQ(size, 9);
  CHECK_EQ(data[9], 0xbd);
  // The forgotten zero was counted on the way in.
  size = sizeof data;
  CHECK_EQ(os::RegQueryValueExA(key, "Forgot", NULL, NULL, data, &size), ERROR_SUCCESS);
  CHECK_EQ(size, 10);

  size = sizeof data;
  memset(data, 0xbd, sizeof data);
  CHECK_EQ(os::RegQueryValueExA(key, "WithZero", NULL, NULL, data, &size), ERROR_SUCCESS);
  CHECK_EQ(size, 10);
  CHECK_EQ(data[9], 0);
  CHECK_EQ(data[10], 0xbd);

  // Too small a buffer: ERROR_MORE_DATA, and the size needed.
  size = 4;
  CHECK_EQ(os::RegQueryValueExA(key, "WithZero", NULL, NULL, data, &size), ERROR_MORE_DATA);
  CHECK_EQ(size, 10);
  size = sizeof data;
  CHECK_EQ(os::RegQueryValueExA(key, "Missing", NULL, NULL, data, &size), ERROR_FILE_NOT_FOUND);
  CHECK_EQ(os::RegCloseKey(key), ERROR_SUCCESS);
  RemoveScratchKey();
}

int main() {
#ifndef _WIN32
  sim::Reset();
  sim::AddDrive('E', DRIVE_CDROM);
  sim::PutFile("E:\\contract\\id.txt", kIdText);
  sim::MakeDir(sim::world().tempPath);
#endif
  Drives();
  ReadingFiles();
  TempFolderAndFolders();
  RegistryStrings();
  return check::Finish();
}
