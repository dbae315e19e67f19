// The menu's clicks: which button a release point hits, and what each button starts or shows.
#include "launcher/menu_actions.h"
#include "tests/unit/menu_test.h"

namespace {

const HWND kMenu = reinterpret_cast<HWND>(0x4242);

enum Action { None, Launch, Install, Readme, Quit };

Action WhatHappened() {
  const sim::World& w = sim::world();
  if (w.quitPosted) return Quit;
  if (w.shellStarts.empty()) return None;
  const std::string& file = *w.shellStarts.back().file;
  if (file == "kelvaro.exe") return Launch;
  if (file == "E:\\setup.exe") return Install;
  if (file == "E:\\res\\readme.html") return Readme;
  return None;
}

class MenuActionsTest : public MenuTest {};

TEST_F(MenuActionsTest, ReleasePointPicksTheButtonEdgesIncluded) {
  struct Case {
    int x, y;
    Action action;
  } cases[] = {
      {15, 361, Launch},  {148, 378, Launch}, {149, 370, None},   {14, 370, None},
      {20, 360, None},    {20, 379, None},    {20, 384, None},    {20, 385, Install},
      {20, 402, Install}, {20, 403, None},    {15, 390, Install}, {216, 390, Install},
      {217, 390, None},   {228, 390, None},   {229, 390, Readme}, {325, 390, Readme},
      {326, 390, None},   {343, 390, None},   {344, 390, Quit},   {438, 390, Quit},
      {439, 390, None},   {0, 0, None},       {447, 405, None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
    sim::Reset();
    InsertDisc1();
    InstallGame();
    HandleMenuClick(kMenu, MAKELPARAM(c.x, c.y));
    EXPECT_EQ(WhatHappened(), c.action);
    EXPECT_LE(sim::world().shellStarts.size(), 1u);
  }
}

TEST_F(MenuActionsTest, CoordinatesAreUnsignedSixteenBitHalves) {
  InsertDisc1();
  InstallGame();
  // -1 as a 16-bit x is 65535: far right of every button, not left of them.
  for (LPARAM lParam : {MAKELPARAM(-1, 390), MAKELPARAM(20, -1), MAKELPARAM(65535, 65535),
                        static_cast<LPARAM>(MAKELPARAM(20, 390) | (LPARAM(1) << 40))}) {
    sim::world().shellStarts.clear();
    HandleMenuClick(kMenu, lParam);
    if (lParam == static_cast<LPARAM>(MAKELPARAM(20, 390) | (LPARAM(1) << 40))) {
      EXPECT_EQ(WhatHappened(), Install) << "bits above the two halves play no part";
    } else {
      EXPECT_EQ(WhatHappened(), None);
    }
  }
}

TEST_F(MenuActionsTest, InstallAndReadmeOpenFromTheRootOfDisc1) {
  InsertDisc1();
  HandleMenuClick(kMenu, MAKELPARAM(100, 390));
  HandleMenuClick(kMenu, MAKELPARAM(250, 390));
  EXPECT_EQ(sim::CallsNamed("ShellExecuteA"),
            (std::vector<std::string>{
                R"(ShellExecuteA(#0x4242, "Open", "E:\setup.exe", NULL, "", SW_SHOWDEFAULT))",
                R"(ShellExecuteA(#0x4242, "Open", "E:\res\readme.html", NULL, "", SW_SHOWDEFAULT))",
            }));
  EXPECT_TRUE(sim::world().messageBoxes.empty());
}

TEST_F(MenuActionsTest, HigherDriveWinsWhenDisc1IsInTwo) {
  InsertDisc1('D');
  InsertDisc1('F');
  HandleMenuClick(kMenu, MAKELPARAM(100, 390));
  EXPECT_EQ(sim::world().shellStarts.at(0).file, "F:\\setup.exe");
}

TEST_F(MenuActionsTest, MissingDiscAsksForItAndStartsNothingUntilItIsBack) {
  for (int x : {100, 250}) {
    HandleMenuClick(kMenu, MAKELPARAM(x, 390));
  }
  ASSERT_EQ(sim::world().messageBoxes.size(), 2u);
  for (const sim::MessageBoxShown& box : sim::world().messageBoxes) {
    EXPECT_EQ(box.owner, kMenu);
    EXPECT_EQ(box.text, "ins\xe9rer CD no. 1");
    EXPECT_EQ(box.caption, "Disk 1");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
  }
  EXPECT_TRUE(sim::world().shellStarts.empty());
  EXPECT_FALSE(sim::world().quitPosted);

  // Disc 2 is not disc 1.
  sim::AddDrive('E', DRIVE_CDROM);
  sim::PutFile("E:\\program files\\harrowlight\\kelvaro\\KWRFILEID", "Kelvaro: Wendraskel, DISK2");
  HandleMenuClick(kMenu, MAKELPARAM(100, 390));
  EXPECT_EQ(sim::world().messageBoxes.size(), 3u);

  InsertDisc1();
  HandleMenuClick(kMenu, MAKELPARAM(100, 390));
  EXPECT_EQ(sim::world().messageBoxes.size(), 3u);
  EXPECT_EQ(WhatHappened(), Install);
}

TEST_F(MenuActionsTest, StartActsWhateverItsButtonShows) {
  InsertDisc1();
  sim::SetString("HKCU\\Software\\Harrowlight\\Kelvaro", "InstallDir", "C:\\Games\\Kelvaro");
  g_startState = StartDisabled;
  HandleMenuClick(kMenu, MAKELPARAM(20, 365));
  ASSERT_EQ(sim::world().shellStarts.size(), 1u);
  EXPECT_EQ(sim::world().shellStarts[0].directory, "C:\\Games\\Kelvaro");
  EXPECT_EQ(sim::world().shellStarts[0].owner, kMenu);

  // Without a record nothing starts and nothing is said.
  sim::Reset();
  HandleMenuClick(kMenu, MAKELPARAM(20, 365));
  EXPECT_TRUE(sim::world().shellStarts.empty());
  EXPECT_TRUE(sim::world().messageBoxes.empty());
}

} // namespace
