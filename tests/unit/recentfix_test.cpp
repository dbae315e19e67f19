// recentfix against the simulated platform: the question, the folder test, the repair, the report.
#include "recentfix/recentfix.h"
#include "tests/unit/sim_test.h"

#include <functional>

namespace {

const char kShellFolders[] = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                             "Shell Folders";
const char kUserShellFolders[] = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                                 "User Shell Folders";
const char kRecent[] = "C:\\Users\\Ann\\Recent";
const char kTestFile[] = "C:\\Users\\Ann\\Recent\\hlwtest.tmp";
const char kDocuments[] = "D:\\Data";
const char kRepaired[] = "D:\\Data\\recent";

// "User Shell Folders" as the shell leaves it, in the form Names() gives.
const std::string kOldUserValue = std::string("type 2: %USERPROFILE%\\Recent") + '\0';

const std::string kCaption = "R\xe9paration du Registre";
const std::string kErrorMessage = "Erreur lors de la r\xe9paration du Registre";
const std::string kQuestion =
    "Certains syst\xe8mes peuvent pr\xe9senter des arguments invalides dans le Registre Windows "
    "concernant le chemin d'acc\xe8s au r\xe9pertoire 'Mes documents'. Ceci peut entra\xeener une "
    "erreur et l'arr\xeat de l'installation.\nEst-ce que ce programme doit ajuster les entr\xe9"
    "es incorrectes du Registre ?";

// A folder path of exactly `length` characters on drive `drive`.
std::string Folder(char drive, size_t length) {
  return std::string(1, drive) + ":\\" + std::string(length - 3, 'r');
}

// Everything a run could change, as text: files, folders and registry values.
std::string Snapshot() {
  std::string s;
  for (const auto& [key, entry] : sim::world().files)
    s += key + (entry.dir ? " <dir>" : " = " + entry.bytes) + "\n";
  for (const auto& [path, key] : sim::world().keys)
    for (const auto& [name, value] : key.values)
      s += path + " " + name + " " + std::to_string(value.type) + " = " + value.bytes + "\n";
  return s;
}

// What a value names, "" when it is missing; a REG_SZ with its zero counted, or the raw bytes.
std::string Names(const char* keyPath) {
  const sim::RegValue* v = sim::Value(keyPath, "Recent");
  if (!v) return "";
  if (v->type == REG_SZ && !v->bytes.empty() && v->bytes.back() == '\0')
    return v->bytes.substr(0, v->bytes.size() - 1);
  return "type " + std::to_string(v->type) + ": " + v->bytes;
}

void UseFolders(const std::string& recent, const std::string& documents) {
  sim::MakeDir(recent);
  sim::MakeDir(documents);
  sim::world().specialFolders[CSIDL_RECENT] = recent;
  sim::world().specialFolders[CSIDL_PERSONAL] = documents;
}

// The shell has no path for the Recent folder, so the test fails and the repair runs.
void LoseRecentFolder() { sim::world().specialFolders.erase(CSIDL_RECENT); }

// A world with a usable Recent folder on C:, the documents folder at D:\Data, and both Recent
// values as the shell writes them.
class RecentFixTest : public SimTest {
protected:
  void SetUp() override {
    SimTest::SetUp();
    g_repairFailed = false;
    sim::AddDrive('D', DRIVE_FIXED);
    UseFolders(kRecent, kDocuments);
    sim::SetString(kShellFolders, "Recent", kRecent);
    sim::SetValue(kUserShellFolders, "Recent", REG_EXPAND_SZ,
                  std::string("%USERPROFILE%\\Recent") + '\0');
  }

  int Run(int answer = IDYES) {
    sim::world().messageBoxAnswers = {answer};
    char commandLine[] = "";
    return WinMain(nullptr, nullptr, commandLine, SW_SHOWDEFAULT);
  }

  bool ErrorShown() {
    const auto& boxes = sim::world().messageBoxes;
    return boxes.size() == 2 && boxes[1].owner == nullptr && boxes[1].text == kErrorMessage &&
           boxes[1].caption == kCaption && boxes[1].type == MB_ICONERROR;
  }

  // Every key opened was closed, each exactly once.
  void ExpectKeysClosed() {
    EXPECT_TRUE(sim::world().openKeys.empty());
    EXPECT_EQ(sim::world().keysClosed, sim::world().keysOpened);
    EXPECT_EQ(sim::CountCalls("RegCloseKey"), sim::world().keysOpened);
  }
};

TEST_F(RecentFixTest, TextsAreWindows1252BytesAndTheQuestionBreaksWithABareLineFeed) {
  LoseRecentFolder();
  sim::world().specialFolders.erase(CSIDL_PERSONAL);
  EXPECT_EQ(Run(), 0);
  const auto& boxes = sim::world().messageBoxes;
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONQUESTION | MB_YESNO));
  EXPECT_EQ(boxes[0].caption, kCaption);
  const std::string& question = *boxes[0].text;
  EXPECT_EQ(question, kQuestion);
  EXPECT_EQ(question.size(), 280u);
  EXPECT_EQ(question.find('\n'), 205u);
  EXPECT_EQ(question.rfind('\n'), 205u);
  EXPECT_EQ(question.find('\r'), std::string::npos);
  EXPECT_EQ(question.substr(question.size() - 2), " ?");
  EXPECT_EQ(question.substr(9, 8), "syst\xe8mes");
  EXPECT_EQ(kCaption.size(), 22u);
  EXPECT_EQ(static_cast<unsigned char>(kCaption[1]), 0xe9);
  EXPECT_TRUE(ErrorShown());
}

TEST_F(RecentFixTest, AnyAnswerButYesEndsTheProgramUntouched) {
  for (int answer : {IDNO, IDCANCEL, 0}) {
    SCOPED_TRACE(answer);
    SetUp();
    LoseRecentFolder(); // a repair, were one to run, would show in the world
    std::string before = Snapshot();
    EXPECT_EQ(Run(answer), 0);
    EXPECT_EQ(sim::CallNames(), std::vector<std::string>{"MessageBoxA"});
    EXPECT_EQ(sim::world().messageBoxes.size(), 1u);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(g_repairFailed);
  }
}

struct UsableCase {
  const char* name;
  std::optional<std::string> testFile; // already in the Recent folder
  bool deleteFails;
};

TEST_F(RecentFixTest, UsableRecentFolderGetsTheTestFileAndNoRepair) {
  const UsableCase cases[] = {
      {"no test file there", std::nullopt, false},
      {"test file there with content", "left over", false},
      {"test file not deletable", std::nullopt, true},
      {"test file there and not deletable", "left over", true},
  };
  for (const UsableCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    std::string before = Snapshot(); // without the test file
    if (c.testFile) sim::PutFile(kTestFile, *c.testFile);
    if (c.deleteFails) sim::Fail("DeleteFileA");
    EXPECT_EQ(Run(), 0);
    std::vector<std::string> calls = sim::CallTexts();
    calls.erase(calls.begin());
    if (c.deleteFails) calls.pop_back(); // the error box
    EXPECT_EQ(calls, (std::vector<std::string>{
                         R"(SHGetSpecialFolderPathA(NULL, buffer, 0x8, 0))",
                         R"(_chdir("C:\Users\Ann\Recent"))",
                         R"(fopen("C:\Users\Ann\Recent\hlwtest.tmp", "w"))",
                         "fclose(stream)",
                         R"(DeleteFileA("C:\Users\Ann\Recent\hlwtest.tmp"))",
                     }));
    EXPECT_EQ(sim::world().openFiles, 0);
    EXPECT_EQ(g_repairFailed, c.deleteFails);
    EXPECT_EQ(ErrorShown(), c.deleteFails);
    if (c.deleteFails) {
      // Left behind, and emptied by the test; nothing else has changed.
      EXPECT_TRUE(sim::Exists(kTestFile));
      EXPECT_EQ(sim::FileBytes(kTestFile), "");
      sim::RemoveFile(kTestFile);
    }
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(sim::world().messageBoxes.size(), c.deleteFails ? 2u : 1u);
  }
}

// The letters the code page cannot spell come back as '?', so the path names no folder here
// although the folder may work: it is not repointed, and the run reports that it did nothing.
TEST_F(RecentFixTest, ARecentPathTheCodePageCannotSpellIsLeftAloneAndReported) {
  sim::world().specialFolders[CSIDL_RECENT] = "C:\\Users\\????\\Recent";
  std::string before = Snapshot();
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(sim::CountCalls("_chdir"), 0);
  EXPECT_EQ(sim::CountCalls("_mkdir"), 0);
  EXPECT_EQ(sim::CountCalls("RegOpenKeyExA"), 0);
  EXPECT_TRUE(ErrorShown());
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(RecentFixTest, RepairWritesTheDocumentsRecentFolderIntoBothKeysAsRegSz) {
  LoseRecentFolder();
  EXPECT_EQ(Run(), 0);
  std::vector<std::string> calls = sim::CallTexts();
  calls.erase(calls.begin());
  EXPECT_EQ(
      calls,
      (std::vector<std::string>{
          R"(SHGetSpecialFolderPathA(NULL, buffer, 0x8, 0))",
          R"(SHGetSpecialFolderPathA(NULL, buffer, 0x5, 0))",
          R"(_mkdir("D:\Data\recent"))",
          R"(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders", 0, KEY_SET_VALUE, result))",
          R"(RegSetValueExA(key HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders, "Recent", 0, REG_SZ, "D:\Data\recent", 15))",
          R"(RegCloseKey(key HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders))",
          R"(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders", 0, KEY_SET_VALUE, result))",
          R"(RegSetValueExA(key HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders, "Recent", 0, REG_SZ, "D:\Data\recent", 15))",
          R"(RegCloseKey(key HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders))",
      }));
  for (const char* key : {kShellFolders, kUserShellFolders}) {
    const sim::RegValue* v = sim::Value(key, "Recent");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(v->bytes, std::string("D:\\Data\\recent", 15));
  }
  EXPECT_TRUE(sim::IsDir(kRepaired));
  EXPECT_EQ(sim::world().messageBoxes.size(), 1u);
  EXPECT_FALSE(g_repairFailed);
  ExpectKeysClosed();
}

struct UnusableCase {
  const char* name;
  std::function<void()> spoil;
};

TEST_F(RecentFixTest, EachWayTheFolderTestFailsLeadsToTheRepairWithoutAnError) {
  const UnusableCase cases[] = {
      {"no path", [] { LoseRecentFolder(); }},
      {"folder missing", [] { sim::RemoveFile(kRecent); }},
      {"folder cannot be entered",
       [] {
         sim::Fail("_chdir", {0, -1, EACCES});
       }},
      {"test file name taken by a folder", [] { sim::MakeDir(kTestFile); }},
      {"test file in use",
       [] {
         sim::PutFile(kTestFile, "x");
         sim::Entry(kTestFile)->locked = true;
       }},
      {"test file cannot be created",
       [] {
         sim::Fail("fopen", {0, -1, EACCES});
       }},
  };
  for (const UnusableCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    c.spoil();
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Names(kShellFolders), kRepaired);
    EXPECT_EQ(Names(kUserShellFolders), kRepaired);
    EXPECT_TRUE(sim::IsDir(kRepaired));
    EXPECT_FALSE(g_repairFailed);
    EXPECT_EQ(sim::world().messageBoxes.size(), 1u);
    EXPECT_EQ(sim::CountCalls("DeleteFileA"), 0);
    EXPECT_EQ(sim::world().openFiles, 0);
    ExpectKeysClosed();
  }
}

struct ExistingCase {
  const char* name;
  bool folder;
  bool attributesFail;
  bool written;
};

// An entry "recent" already in the documents folder is used only when it is a folder.
TEST_F(RecentFixTest, ExistingRecentEntryMustBeAFolder) {
  const ExistingCase cases[] = {
      {"a folder", true, false, true},
      {"a file", false, false, false},
      {"a folder whose attributes cannot be read", true, true, false},
  };
  for (const ExistingCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    LoseRecentFolder();
    if (c.folder)
      sim::MakeDir(kRepaired);
    else
      sim::PutFile(kRepaired, "not a folder");
    if (c.attributesFail) sim::Fail("GetFileAttributesA");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(sim::CallsNamed("GetFileAttributesA"),
              std::vector<std::string>{R"(GetFileAttributesA("D:\Data\recent"))"});
    EXPECT_EQ(Names(kShellFolders), c.written ? kRepaired : kRecent);
    EXPECT_EQ(Names(kUserShellFolders), c.written ? kRepaired : kOldUserValue);
    EXPECT_EQ(sim::CountCalls("RegOpenKeyExA"), c.written ? 2 : 0);
    EXPECT_EQ(g_repairFailed, !c.written);
    EXPECT_EQ(ErrorShown(), !c.written);
    EXPECT_EQ(sim::IsDir(kRepaired), c.folder);
    EXPECT_EQ(sim::world().messageBoxes.size(), c.written ? 1u : 2u);
  }
}

void FailCall(const char* call, int skip) { sim::Fail(call, {skip, 1, ERROR_ACCESS_DENIED}); }

struct FailureCase {
  const char* name;
  std::function<void()> fault;
  bool folderCreated;
  int valuesWritten; // 1: only "Shell Folders", 2: both
  int keysOpened;
};

// Every failure sets the error and shows the one message; what was done before it stays done.
TEST_F(RecentFixTest, FailingRepairStepsStopWhereTheyFailAndReportOnce) {
  const FailureCase cases[] = {
      {"documents path not available", [] { sim::world().specialFolders.erase(CSIDL_PERSONAL); },
       false, 0, 0},
      {"documents folder missing", [] { sim::RemoveFile(kDocuments); }, false, 0, 0},
      {"recent not creatable",
       [] {
         sim::Fail("_mkdir", {0, -1, EACCES});
       },
       false, 0, 0},
      {"Shell Folders refuses setting values", [] { sim::Key(kShellFolders)->readOnly = true; },
       true, 0, 0},
      {"Shell Folders value not written", [] { FailCall("RegSetValueExA", 0); }, true, 0, 1},
      {"Shell Folders not closed", [] { FailCall("RegCloseKey", 0); }, true, 1, 1},
      {"User Shell Folders refuses setting values",
       [] { sim::Key(kUserShellFolders)->readOnly = true; }, true, 1, 1},
      {"User Shell Folders value not written", [] { FailCall("RegSetValueExA", 1); }, true, 1, 2},
      {"User Shell Folders not closed", [] { FailCall("RegCloseKey", 1); }, true, 2, 2},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    LoseRecentFolder();
    c.fault();
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(g_repairFailed);
    EXPECT_TRUE(ErrorShown());
    EXPECT_EQ(sim::IsDir(kRepaired), c.folderCreated);
    EXPECT_EQ(Names(kShellFolders), c.valuesWritten >= 1 ? kRepaired : kRecent);
    EXPECT_EQ(Names(kUserShellFolders), c.valuesWritten == 2 ? kRepaired : kOldUserValue);
    EXPECT_EQ(sim::world().keysOpened, c.keysOpened);
    ExpectKeysClosed();
  }
}

TEST_F(RecentFixTest, WriteRecentValueClosesTheKeyItOpenedAndReportsEveryStep) {
  const struct {
    const char* name;
    const char* fault;
    bool result;
    int closes;
  } cases[] = {
      {"all succeed", nullptr, true, 1},
      {"open fails", "RegOpenKeyExA", false, 0},
      {"write fails", "RegSetValueExA", false, 1},
      {"close fails", "RegCloseKey", false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    if (c.fault) sim::Fail(c.fault);
    EXPECT_EQ(WriteRecentValue("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell "
                               "Folders",
                               "E:\\x"),
              c.result);
    EXPECT_EQ(sim::CountCalls("RegCloseKey"), c.closes);
    EXPECT_TRUE(sim::world().openKeys.empty());
    EXPECT_FALSE(g_repairFailed);
  }
}

// The two 260-byte buffers: the Recent folder may have 247 characters, the documents folder 252.
TEST_F(RecentFixTest, FolderPathsUpToTheBufferAreUsedAndLongerOnesAreNot) {
  const struct {
    size_t recent, documents;
    bool recentUsable, repaired;
  } cases[] = {
      {247, 20, true, false},  {248, 20, false, true},   {259, 20, false, true},
      {248, 252, false, true}, {248, 253, false, false}, {248, 259, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.recent << " / " << c.documents);
    SetUp();
    std::string recent = Folder('C', c.recent), documents = Folder('D', c.documents);
    UseFolders(recent, documents);
    std::string before = Snapshot();
    EXPECT_EQ(TestRecentFolder(), c.recentUsable);
    if (c.recentUsable) {
      EXPECT_EQ(sim::CallsNamed("fopen"),
                std::vector<std::string>{"fopen(\"" + recent + "\\hlwtest.tmp\", \"w\")"});
      EXPECT_EQ(Snapshot(), before);
      continue;
    }
    EXPECT_EQ(sim::CountCalls("_chdir"), 0);
    RepairRecentFolder();
    EXPECT_EQ(g_repairFailed, !c.repaired);
    if (c.repaired) {
      EXPECT_EQ(Names(kUserShellFolders), documents + "\\recent");
      EXPECT_EQ(sim::Value(kShellFolders, "Recent")->bytes.size(), c.documents + 8);
    } else {
      EXPECT_EQ(sim::CountCalls("_mkdir"), 0);
      EXPECT_EQ(Snapshot(), before);
    }
  }
}

} // namespace
