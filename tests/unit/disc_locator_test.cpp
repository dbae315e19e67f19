// The disc search: identification file, drive walk, flags and the caller's buffer.
#include "launcher/disc_locator.h"
#include "tests/unit/sim_test.h"

#include <cstring>

namespace {

const char kIdFile[] = "program files\\harrowlight\\kelvaro\\KWRFILEID";
const char kDisc1[] = "Kelvaro: Wendraskel, DISK1";

void InsertDisc(char drive, const std::string& idBytes, UINT type = DRIVE_CDROM) {
  sim::AddDrive(drive, type);
  sim::PutFile(std::string(1, drive) + ":\\" + kIdFile, idBytes);
}

struct Found {
  int result;
  std::string path;
  bool tailUntouched;
};

Found Find(int disc = 1) {
  char buffer[MAX_PATH];
  memset(buffer, kSentinel, sizeof buffer);
  int result = FindGameDisc(disc, buffer);
  Found f{result, "", true};
  if (result) {
    f.path = buffer;
    for (size_t i = f.path.size() + 1; i < sizeof buffer; ++i)
      f.tailUntouched &= static_cast<unsigned char>(buffer[i]) == kSentinel;
  } else {
    for (unsigned char c : buffer) f.tailUntouched &= c == kSentinel;
  }
  return f;
}

// A locator set up as the menu sets one up, but with the given flags and text.
void Configure(DiscLocator& locator, int flags, const char* text = kDisc1) {
  locator.SetFlags(flags);
  locator.SetIdFilePath(kIdFile);
  locator.SetIdText(text);
}

class DiscLocatorTest : public SimTest {};

struct IdCase {
  const char* name;
  std::string bytes;
  int disc;
  bool found;
};

TEST_F(DiscLocatorTest, IdentificationFileIsComparedOnItsFirstBytesExactly) {
  const IdCase cases[] = {
      {"exact text", kDisc1, 1, true},
      {"longer text such as DISK10", "Kelvaro: Wendraskel, DISK10", 1, true},
      {"line end after the text", std::string(kDisc1) + "\r\n", 1, true},
      {"shorter than the text", "Kelvaro: Wendraskel, DISK", 1, false},
      {"empty file", "", 1, false},
      {"letter case differs", "kelvaro: wendraskel, disk1", 1, false},
      {"disc 2 while disc 1 is wanted", "Kelvaro: Wendraskel, DISK2", 1, false},
      {"disc 2 wanted and present", "Kelvaro: Wendraskel, DISK2", 2, true},
      {"leading space", std::string(" ") + kDisc1, 1, false},
      {"a zero byte inside", std::string("Kelvaro: Wendraskel,\0DISK1", 26), 1, false},
  };
  for (const IdCase& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Reset();
    InsertDisc('E', c.bytes);
    Found f = Find(c.disc);
    EXPECT_EQ(f.result, c.found ? 1 : 0);
    if (c.found) {
      EXPECT_EQ(f.path, "E:\\program files\\harrowlight\\kelvaro\\");
    }
    EXPECT_TRUE(f.tailUntouched) << "wrote past the path, or wrote when not found";
    EXPECT_EQ(sim::world().openFiles, 0);
    EXPECT_EQ(sim::world().allocations, 0);
  }
}

TEST_F(DiscLocatorTest, ReadsExactlyTheTextLengthInOneBinaryRead) {
  InsertDisc('E', std::string(kDisc1) + " and more");
  ASSERT_EQ(Find().result, 1);
  EXPECT_EQ(
      sim::CallsNamed("fopen"),
      std::vector<std::string>{R"(fopen("E:\program files\harrowlight\kelvaro\KWRFILEID", "rb"))"});
  EXPECT_EQ(sim::CallsNamed("fread"), std::vector<std::string>{"fread(buffer, 1, 26, stream)"});
  EXPECT_EQ(sim::CountCalls("fclose"), 1);
}

TEST_F(DiscLocatorTest, WalksFromZDownToAAndStopsAtTheFirstMatch) {
  for (char d = 'A'; d <= 'Z'; ++d) sim::AddDrive(d, DRIVE_CDROM, false);
  InsertDisc('D', kDisc1);
  InsertDisc('F', kDisc1);
  Found f = Find();
  EXPECT_EQ(f.path, "F:\\program files\\harrowlight\\kelvaro\\");
  std::vector<std::string> expected;
  for (char d = 'Z'; d >= 'F'; --d)
    expected.push_back(std::string("GetDriveTypeA(\"") + d + ":\\\")");
  EXPECT_EQ(sim::CallsNamed("GetDriveTypeA"), expected);
}

TEST_F(DiscLocatorTest, EmptyDriveAboveTheDiscIsPassedOver) {
  sim::AddDrive('G', DRIVE_CDROM, /*media=*/false);
  InsertDisc('E', kDisc1);
  EXPECT_EQ(Find().path, "E:\\program files\\harrowlight\\kelvaro\\");
  EXPECT_EQ(sim::CountCalls("fopen"), 2); // G fails at the open, E matches
}

TEST_F(DiscLocatorTest, DriveAIsTriedLast) {
  InsertDisc('A', kDisc1);
  sim::AddDrive('E', DRIVE_CDROM, false);
  EXPECT_EQ(Find().path, "A:\\program files\\harrowlight\\kelvaro\\");
  EXPECT_EQ(sim::CallsNamed("GetDriveTypeA").back(), R"(GetDriveTypeA("A:\"))");
}

TEST_F(DiscLocatorTest, OnlyCdromDrivesAreEverOpened) {
  InsertDisc('C', kDisc1, DRIVE_FIXED);
  InsertDisc('N', kDisc1, DRIVE_REMOTE);
  InsertDisc('B', kDisc1, DRIVE_REMOVABLE);
  Found f = Find();
  EXPECT_EQ(f.result, 0);
  EXPECT_TRUE(f.tailUntouched);
  EXPECT_EQ(sim::CountCalls("fopen"), 0);
  EXPECT_EQ(sim::CountCalls("GetDriveTypeA"), 3);
}

TEST_F(DiscLocatorTest, ScanAllDrivesProbesEveryDriveWithoutAskingItsType) {
  InsertDisc('C', kDisc1, DRIVE_FIXED);
  sim::AddDrive('N', DRIVE_REMOTE);
  sim::AddDrive('A', DRIVE_REMOVABLE, false);
  DiscLocator locator;
  Configure(locator, DiscLocator::ScanAllDrives);
  ByteString root("untouched");
  EXPECT_EQ(locator.Locate(root), S_OK);
  EXPECT_STREQ(root.c_str(), "C:\\");
  EXPECT_EQ(sim::CountCalls("GetDriveTypeA"), 0);
  EXPECT_EQ(sim::CountCalls("fopen"), 2); // N, then C
}

TEST_F(DiscLocatorTest, BothFlagsBehaveAsCdromOnly) {
  InsertDisc('C', kDisc1, DRIVE_FIXED);
  DiscLocator locator;
  Configure(locator, DiscLocator::ScanAllDrives | DiscLocator::CdromDrivesOnly | 0x100);
  ByteString root;
  EXPECT_EQ(locator.Locate(root), E_FAIL);
  EXPECT_EQ(sim::CountCalls("fopen"), 0);
}

TEST_F(DiscLocatorTest, NoFlagsSearchesOnlyTheCandidatesWithoutADriveQuery) {
  InsertDisc('E', kDisc1);
  DiscLocator locator;
  Configure(locator, 0);
  ByteString root("before");
  EXPECT_EQ(locator.Locate(root), E_FAIL);
  EXPECT_STREQ(root.c_str(), "before");
  EXPECT_EQ(sim::CountCalls("GetLogicalDrives"), 0);

  locator.AddCandidateRoot("E:\\");
  EXPECT_EQ(locator.Locate(root), S_OK);
  EXPECT_STREQ(root.c_str(), "E:\\");
}

TEST_F(DiscLocatorTest, CandidatesComeFirstAndTheDriveQueryIsStillMade) {
  InsertDisc('E', kDisc1);
  InsertDisc('F', kDisc1);
  DiscLocator locator;
  Configure(locator, DiscLocator::CdromDrivesOnly);
  locator.AddCandidateRoot("X"); // too short to be a drive root: fails the CD-ROM test
  locator.AddCandidateRoot("E:\\");
  ByteString root;
  EXPECT_EQ(locator.Locate(root), S_OK);
  EXPECT_STREQ(root.c_str(), "E:\\");
  EXPECT_EQ(sim::CountCalls("GetLogicalDrives"), 1);
  EXPECT_EQ(sim::CountCalls("GetDriveTypeA"), 1); // only the candidate "E:\"
}

TEST_F(DiscLocatorTest, FailedDriveQueryFailsBeforeAnyDrive) {
  InsertDisc('E', kDisc1);
  sim::Fail("GetLogicalDrives", {0, -1, ERROR_ACCESS_DENIED});
  Found f = Find();
  EXPECT_EQ(f.result, 0);
  EXPECT_TRUE(f.tailUntouched);
  EXPECT_EQ(sim::CountCalls("GetDriveTypeA"), 0);
}

TEST_F(DiscLocatorTest, NoDrivesAtAllIsNotFound) {
  sim::world().drives.clear();
  Found f = Find();
  EXPECT_EQ(f.result, 0);
  EXPECT_TRUE(f.tailUntouched);
  EXPECT_EQ(sim::CountCalls("GetLastError"), 1);
  EXPECT_EQ(sim::CountCalls("GetDriveTypeA"), 0);
}

TEST_F(DiscLocatorTest, EmptyTextMatchesAnyOpenableIdentificationFile) {
  InsertDisc('E', "");
  sim::AddDrive('F', DRIVE_CDROM);
  DiscLocator locator;
  Configure(locator, DiscLocator::CdromDrivesOnly, "");
  ByteString root;
  EXPECT_EQ(locator.Locate(root), S_OK);
  EXPECT_STREQ(root.c_str(), "E:\\");
  EXPECT_EQ(sim::world().allocations, 0);
}

TEST_F(DiscLocatorTest, ReadBufferThatCannotBeAllocatedDoesNotMatch) {
  InsertDisc('E', kDisc1);
  sim::Fail("malloc");
  EXPECT_EQ(Find().result, 0);
  EXPECT_EQ(sim::CountCalls("fopen"), 0);
}

TEST_F(DiscLocatorTest, DefaultsAreTheClassOwn) {
  // The defaults are never what FindGameDisc searches for: a leading backslash and an
  // underscore in the path, and a placeholder text.
  sim::AddDrive('E', DRIVE_CDROM);
  sim::PutFile("E:\\\\program_files\\harrowlight\\kelvaro\\KWRFILEID", "ProductName DISK1");
  DiscLocator locator;
  ByteString root;
  EXPECT_EQ(locator.Locate(root), S_OK);
  EXPECT_EQ(sim::CallsNamed("fopen")[0],
            R"(fopen("E:\\program_files\harrowlight\kelvaro\KWRFILEID", "rb"))");
}

} // namespace
