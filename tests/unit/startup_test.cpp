// Start-up: the menu road, the relocation road, and what happens when the system holds back.
#include "launcher/startup.h"
#include "tests/unit/menu_test.h"

#include <functional>

namespace {

const char* const kArtNames[] = {"back.bmp",    "exit.bmp",    "install.bmp", "readme.bmp",
                                 "readme.html", "start_a.bmp", "start_b.bmp"};

class StartupTest : public MenuTest {
protected:
  void SetUp() override {
    MenuTest::SetUp();
    sim::MakeDir("C:\\Temp");
  }
  // Disc 1 in `drive` with the program and its artwork at the root.
  static void DiscWithProgram(char drive = 'E') {
    InsertDisc1(drive);
    std::string root = std::string(1, drive) + ":\\";
    sim::PutFile(root + "start.exe", "MZ start");
    for (const char* name : kArtNames) sim::PutFile(root + "Res\\" + name, name);
  }
  static int Start(const std::string& modulePath) {
    sim::world().modulePath = modulePath;
    return WinMain(reinterpret_cast<HINSTANCE>(0x400000), nullptr, nullptr, 0);
  }
  static bool RanMenu() { return sim::CountCalls("RegisterClassExA") == 1; }
};

TEST_F(StartupTest, FromDisc1CopiesItselfAndItsArtworkThenStartsTheCopy) {
  DiscWithProgram();
  sim::PutFile("C:\\Temp\\start.exe", "left by an earlier run");
  EXPECT_EQ(Start("E:\\start.exe"), 0);
  EXPECT_FALSE(RanMenu());
  EXPECT_EQ(sim::CountCalls("CreateWindowExA"), 0);

  std::vector<std::string> calls;
  bool after = false;
  for (const std::string& c : sim::CallTexts()) {
    after = after || c.rfind("GetModuleFileNameA", 0) == 0;
    if (after) calls.push_back(c);
  }
  EXPECT_EQ(calls,
            (std::vector<std::string>{
                "GetModuleFileNameA(module, buffer, 260)",
                "GetTempPathA(260, buffer)",
                R"(CopyFileA("E:\start.exe", "C:\Temp\start.exe", 0))",
                R"(CreateDirectoryA("C:\Temp\Res\", NULL))",
                R"(CopyFileA("E:\Res\back.bmp", "C:\Temp\Res\back.bmp", 0))",
                R"(CopyFileA("E:\Res\exit.bmp", "C:\Temp\Res\exit.bmp", 0))",
                R"(CopyFileA("E:\Res\install.bmp", "C:\Temp\Res\install.bmp", 0))",
                R"(CopyFileA("E:\Res\readme.bmp", "C:\Temp\Res\readme.bmp", 0))",
                R"(CopyFileA("E:\Res\readme.html", "C:\Temp\Res\readme.html", 0))",
                R"(CopyFileA("E:\Res\start_a.bmp", "C:\Temp\Res\start_a.bmp", 0))",
                R"(CopyFileA("E:\Res\start_b.bmp", "C:\Temp\Res\start_b.bmp", 0))",
                R"(ShellExecuteA(NULL, "Open", "C:\Temp\start.exe", NULL, "", SW_SHOWDEFAULT))",
            }));
  EXPECT_EQ(sim::FileBytes("C:\\Temp\\start.exe"), "MZ start");
  for (const char* name : kArtNames)
    EXPECT_EQ(sim::FileBytes(std::string("C:\\Temp\\Res\\") + name), name);
}

TEST_F(StartupTest, TheMenuRoadWhereverTheProgramIsNotOnDisc1) {
  struct Case {
    const char* name;
    const char* discs; // drives holding disc 1
    std::string module;
  } cases[] = {
      {"no disc", "", "E:\\start.exe"},
      {"started from the hard disk", "E", "C:\\Games\\start.exe"},
      {"the temporary copy itself", "E", "C:\\Temp\\start.exe"},
      {"drive letter in lower case", "E", "e:\\start.exe"},
      {"network path", "E", "\\\\server\\share\\start.exe"},
      {"the other of two drives with disc 1", "DF", "D:\\start.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    for (const char* d = c.discs; *d; ++d) DiscWithProgram(*d);
    EXPECT_EQ(Start(c.module), 0);
    EXPECT_TRUE(RanMenu());
    EXPECT_EQ(sim::CountCalls("CopyFileA"), 0);
    EXPECT_EQ(sim::CountCalls("GetModuleFileNameA"), *c.discs ? 1 : 0);
  }
}

// Every copy is tried whatever the others did; the copy is started only when the program file
// was written and the shell took it, and otherwise this process shows the menu itself.
TEST_F(StartupTest, StartsTheCopyOnlyWhenItWasWrittenAndTheShellStartedIt) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    bool relocates;
    bool shellAsked;
  } cases[] = {
      {"the program file is in use at the target",
       [] { sim::Entry("C:\\Temp\\start.exe")->locked = true; }, false, false},
      {"the program copy fails",
       [] {
         sim::Fail("CopyFileA", {0, 1, ERROR_ACCESS_DENIED});
       },
       false, false},
      {"the temporary folder is missing", [] { sim::world().tempPath = "C:\\Missing\\"; }, false,
       false},
      // What a folder name beyond the system code page comes back as: no folder at all.
      {"the temporary folder's name is not in the code page",
       [] { sim::world().tempPath = "C:\\????\\"; }, false, false},
      {"the temporary folder cannot be written",
       [] {
         sim::AddDrive('F', DRIVE_CDROM);
         sim::MakeDir("F:\\Temp");
         sim::world().tempPath = "F:\\Temp\\";
       },
       false, false},
      {"the shell fails with 32",
       [] {
         sim::Fail("ShellExecuteA", {0, -1, 32});
       },
       false, true},
      {"the shell fails with 0",
       [] {
         sim::Fail("ShellExecuteA", {0, -1, 0});
       },
       false, true},
      {"one artwork file is missing", [] { sim::RemoveFile("E:\\Res\\install.bmp"); }, true, true},
      {"every artwork copy fails",
       [] {
         sim::Fail("CopyFileA", {1, -1, ERROR_ACCESS_DENIED});
       },
       true, true},
      {"the artwork folder cannot be made", [] { sim::Fail("CreateDirectoryA"); }, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    DiscWithProgram();
    sim::PutFile("C:\\Temp\\start.exe", "earlier copy");
    c.arrange();
    EXPECT_EQ(Start("E:\\start.exe"), 0);
    EXPECT_EQ(sim::CountCalls("CopyFileA"), 8);
    EXPECT_EQ(sim::CountCalls("ShellExecuteA"), c.shellAsked ? 1 : 0);
    EXPECT_EQ(RanMenu(), !c.relocates);
    EXPECT_EQ(sim::CountCalls("CreateWindowExA"), c.relocates ? 0 : 1);
    // Whatever the shell was given is the program just copied, never an earlier file.
    for (const sim::ShellStart& s : sim::world().shellStarts)
      EXPECT_EQ(sim::FileBytes(*s.file), "MZ start");
  }
}

TEST_F(StartupTest, AModulePathWithoutBackslashCopiesFromTheCurrentFolder) {
  DiscWithProgram();
  sim::world().currentDir = "E:\\";
  EXPECT_EQ(Start("E:start.exe"), 0);
  std::vector<std::string> copies = sim::CallsNamed("CopyFileA");
  ASSERT_EQ(copies.size(), 8u);
  EXPECT_EQ(copies[1], R"(CopyFileA("Res\back.bmp", "C:\Temp\Res\back.bmp", 0))");
  EXPECT_EQ(sim::FileBytes("C:\\Temp\\Res\\back.bmp"), "back.bmp");
}

TEST_F(StartupTest, NoSoundPathsTakeTheMenuRoadFromWhereTheProgramIs) {
  struct Case {
    const char* name;
    std::string module;
    std::string temp;
    const char* failing;
  } cases[] = {
      {"module path call fails", "E:\\start.exe", "C:\\Temp\\", "GetModuleFileNameA"},
      {"module path fills the buffer", "E:\\" + std::string(300, 'x') + ".exe", "C:\\Temp\\",
       nullptr},
      {"temporary path call fails", "E:\\start.exe", "C:\\Temp\\", "GetTempPathA"},
      {"temporary path does not fit", "E:\\start.exe", "C:\\" + std::string(260, 't') + "\\",
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    DiscWithProgram();
    sim::world().tempPath = c.temp;
    if (c.failing) sim::Fail(c.failing);
    EXPECT_EQ(Start(c.module), 0);
    EXPECT_TRUE(RanMenu());
    EXPECT_EQ(sim::CountCalls("CopyFileA"), 0);
    EXPECT_TRUE(sim::world().shellStarts.empty());
  }
}

TEST_F(StartupTest, SilencesDriveErrorsAndLimitsLibrariesBeforeTouchingAnyDrive) {
  DiscWithProgram();
  Start("C:\\start.exe");
  std::vector<std::string> calls = sim::CallTexts();
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls[0], "SetErrorMode(0x8001)");
  EXPECT_EQ(calls[1], R"(GetModuleHandleA("kernel32.dll"))");
  EXPECT_EQ(calls[2], R"(GetProcAddress(kernel32.dll, "SetDefaultDllDirectories"))");
  EXPECT_EQ(calls[3], "SetDefaultDllDirectories(0x800)");
  EXPECT_EQ(calls[4], "GetLogicalDrives()");

  // A system without the call carries on as before.
  SetUp();
  sim::world().hasSetDefaultDllDirectories = false;
  EXPECT_EQ(Start("C:\\start.exe"), 0);
  EXPECT_EQ(sim::CountCalls("SetDefaultDllDirectories"), 0);
  EXPECT_TRUE(RanMenu());
}

} // namespace
