// The install record: what counts as installed, what each probe costs, and starting the game.
#include "launcher/install_record.h"
#include "tests/unit/sim_test.h"

namespace {

const char kKey[] = "HKCU\\Software\\Harrowlight\\Kelvaro";

std::string Folder(size_t length) {
  // "C:\" + letters + "\" of exactly `length` characters.
  return "C:\\" + std::string(length - 4, 'k') + "\\";
}

struct ProbeCase {
  const char* name;
  bool key;
  bool value;
  DWORD type;
  std::string bytes;      // the stored value
  std::string executable; // where kelvaro.exe is put, "" for nowhere
  bool installed;
};

class InstallRecordTest : public SimTest {};

TEST_F(InstallRecordTest, ProbeAnswersFromTheRecordAndTheExecutable) {
  std::string z(1, '\0');
  const ProbeCase cases[] = {
      {"no key", false, false, REG_SZ, "", "C:\\Games\\kelvaro.exe", false},
      {"key without value", true, false, REG_SZ, "", "C:\\Games\\kelvaro.exe", false},
      {"record and executable", true, true, REG_SZ, "C:\\Games\\" + z, "C:\\Games\\kelvaro.exe",
       true},
      {"executable missing", true, true, REG_SZ, "C:\\Games\\" + z, "", false},
      {"no final backslash", true, true, REG_SZ, "C:\\Games" + z, "C:\\Games\\kelvaro.exe", false},
      {"no final backslash, joined name present", true, true, REG_SZ, "C:\\Games" + z,
       "C:\\Gameskelvaro.exe", true},
      {"stored without its zero", true, true, REG_SZ, "C:\\Games\\", "C:\\Games\\kelvaro.exe",
       true},
      {"type not examined", true, true, REG_EXPAND_SZ, "C:\\Games\\" + z, "C:\\Games\\kelvaro.exe",
       true},
      {"empty value", true, true, REG_SZ, z, "", false},
      {"248 characters: joined path just fits", true, true, REG_SZ, Folder(248) + z,
       Folder(248) + "kelvaro.exe", true},
      {"248 characters without zero", true, true, REG_SZ, Folder(248), Folder(248) + "kelvaro.exe",
       true},
      {"249 characters: joined path does not fit", true, true, REG_SZ, Folder(249) + z, "", false},
      {"259 characters", true, true, REG_SZ, Folder(259) + z, "", false},
      {"259 characters without zero", true, true, REG_SZ, Folder(259), "", false},
      {"260 characters", true, true, REG_SZ, Folder(260) + z, "", false},
      {"260 characters without zero", true, true, REG_SZ, Folder(260), "", false},
      {"300 bytes of binary", true, true, REG_BINARY, std::string(300, 'x'), "", false},
  };
  for (const ProbeCase& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Reset();
    if (c.key) sim::CreateKey(kKey);
    if (c.value) sim::SetValue(kKey, "InstallDir", c.type, c.bytes);
    if (!c.executable.empty()) sim::PutFile(c.executable, "MZ");
    g_gameInstalled = !c.installed;
    ProbeInstallation();
    EXPECT_EQ(g_gameInstalled, c.installed);
    EXPECT_TRUE(sim::world().openKeys.empty()) << "key left open";
    EXPECT_EQ(sim::world().keysOpened, c.key ? 1 : 0);
    EXPECT_EQ(sim::world().openFiles, 0);
  }
}

TEST_F(InstallRecordTest, EachProbeOpensReadsAndClosesOnce) {
  sim::SetString(kKey, "InstallDir", "C:\\Games\\");
  sim::PutFile("C:\\Games\\kelvaro.exe", "MZ");
  ProbeInstallation();
  ProbeInstallation();
  EXPECT_TRUE(g_gameInstalled);
  std::vector<std::string> once = {
      R"(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\Harrowlight\Kelvaro", 0, KEY_READ, result))",
      R"(RegQueryValueExA(key HKCU\Software\Harrowlight\Kelvaro, "InstallDir", NULL, NULL, data, 260))",
      R"(fopen("C:\Games\kelvaro.exe", "r"))",
      "fclose(stream)",
      R"(RegCloseKey(key HKCU\Software\Harrowlight\Kelvaro))",
  };
  std::vector<std::string> calls = sim::CallTexts();
  ASSERT_EQ(calls.size(), 10u);
  EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 5), once);
  EXPECT_EQ(sim::CallNames()[5], "RegOpenKeyExA");
}

TEST_F(InstallRecordTest, ProbeFollowsTheRecordBetweenCalls) {
  ProbeInstallation();
  EXPECT_FALSE(g_gameInstalled);
  sim::SetString(kKey, "InstallDir", "D:\\Kelvaro\\");
  sim::AddDrive('D', DRIVE_FIXED);
  sim::PutFile("D:\\Kelvaro\\kelvaro.exe", "");
  ProbeInstallation();
  EXPECT_TRUE(g_gameInstalled);
  sim::RemoveFile("D:\\Kelvaro\\kelvaro.exe");
  ProbeInstallation();
  EXPECT_FALSE(g_gameInstalled);
}

TEST_F(InstallRecordTest, FailingRegistryOrFileCallsMeanNotInstalled) {
  for (const char* call : {"RegOpenKeyExA", "RegQueryValueExA", "fopen"}) {
    SCOPED_TRACE(call);
    sim::Reset();
    sim::SetString(kKey, "InstallDir", "C:\\Games\\");
    sim::PutFile("C:\\Games\\kelvaro.exe", "MZ");
    sim::Fail(call, {0, -1, ERROR_ACCESS_DENIED});
    g_gameInstalled = true;
    ProbeInstallation();
    EXPECT_FALSE(g_gameInstalled);
    EXPECT_TRUE(sim::world().openKeys.empty());
  }
}

struct LaunchCase {
  const char* name;
  bool value;
  std::string bytes;
  std::optional<std::string> directory; // nullopt: no shell start
};

TEST_F(InstallRecordTest, LaunchPassesTheFolderAsWorkingDirectory) {
  std::string z(1, '\0');
  const LaunchCase cases[] = {
      {"no record", false, "", std::nullopt},
      {"record", true, "C:\\Games\\" + z, "C:\\Games\\"},
      {"no final backslash still starts", true, "C:\\Games" + z, "C:\\Games"},
      {"stored without its zero", true, "C:\\Games\\", "C:\\Games\\"},
      {"259 characters", true, Folder(259) + z, Folder(259)},
      {"259 characters without zero", true, Folder(259), Folder(259)},
      {"260 characters without zero", true, Folder(260), std::nullopt},
      {"260 characters", true, Folder(260) + z, std::nullopt},
  };
  HWND owner = reinterpret_cast<HWND>(0x1234);
  for (const LaunchCase& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Reset();
    sim::CreateKey(kKey);
    if (c.value) sim::SetValue(kKey, "InstallDir", REG_SZ, c.bytes);
    LaunchInstalledGame(owner);
    EXPECT_TRUE(sim::world().openKeys.empty());
    EXPECT_EQ(sim::world().keysOpened, 1);
    if (!c.directory) {
      EXPECT_TRUE(sim::world().shellStarts.empty());
      continue;
    }
    ASSERT_EQ(sim::world().shellStarts.size(), 1u);
    const sim::ShellStart& s = sim::world().shellStarts[0];
    EXPECT_EQ(s.owner, owner);
    EXPECT_EQ(s.verb, "Open");
    EXPECT_EQ(s.file, "kelvaro.exe");
    EXPECT_EQ(s.parameters, std::nullopt);
    EXPECT_EQ(s.directory, c.directory);
    EXPECT_EQ(s.show, SW_SHOWDEFAULT);
  }
}

TEST_F(InstallRecordTest, LaunchIgnoresTheLastProbe) {
  sim::SetString(kKey, "InstallDir", "C:\\Games\\");
  g_gameInstalled = false;
  LaunchInstalledGame(nullptr);
  EXPECT_EQ(sim::world().shellStarts.size(), 1u);
  EXPECT_EQ(sim::CountCalls("fopen"), 0);
}

} // namespace
