// The menu window: set-up and tear-down, painting in each state, hover, ticks and closing.
#include "launcher/menu_layout.h"
#include "tests/unit/menu_test.h"

#include <functional>

namespace {

struct BlitSeen {
  int x, y, width, height;
  std::string source;
  bool operator==(const BlitSeen& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height && source == o.source;
  }
};
std::ostream& operator<<(std::ostream& os, const BlitSeen& b) {
  return os << b.source << " at (" << b.x << ", " << b.y << ") " << b.width << "x" << b.height;
}

std::vector<BlitSeen> Blits() {
  std::vector<BlitSeen> out;
  for (const auto& b : sim::world().blits) out.push_back({b.x, b.y, b.width, b.height, b.source});
  return out;
}

const BlitSeen kBack{0, 0, 450, 408, "res\\back.bmp"};

class MenuWindowTest : public MenuTest {
protected:
  // Runs the menu; `steps` run one by one whenever its queue runs dry.
  int Run(std::vector<std::function<void()>> steps) {
    for (auto& s : steps) sim::world().idleSteps.push_back(s);
    return RunMenu();
  }
  static HWND Menu() { return sim::TopWindow(); }
  static void Close() { sim::Post(Menu(), WM_CLOSE); }
};

TEST_F(MenuWindowTest, SetsUpRunsAndTearsDownInOrder) {
  PutArtwork();
  sim::World::WindowClass registered{};
  sim::World::Window created;
  int result = Run({[&] {
    registered = sim::world().classes.begin()->second;
    created = sim::world().windows.begin()->second;
    Close();
  }});
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(sim::world().wouldBlock);

  std::vector<std::string> setUp;
  std::vector<std::string> own; // the menu's own calls, not the system's calls back into it
  for (const std::string& call : sim::CallTexts())
    if (call.rfind("DefWindowProcA", 0) != 0) own.push_back(call);
  for (const std::string& call : own) {
    if (call.rfind("GetMessageA", 0) == 0) break;
    setUp.push_back(call);
  }
  EXPECT_EQ(setUp, (std::vector<std::string>{
                       "GetModuleHandleA(NULL)",
                       "LoadIconA(module, atom 0x65)",
                       "LoadCursorA(NULL, atom 0x7f00)",
                       "GetStockObject(4)",
                       R"(RegisterClassExA("Kelvaro window class"))",
                       "GetDesktopWindow()",
                       "GetWindowRect(desktop, rect)",
                       R"(LoadImageA(NULL, "res\back.bmp", 0, 0, 0, 0x50))",
                       R"(LoadImageA(NULL, "res\start_a.bmp", 0, 0, 0, 0x50))",
                       R"(LoadImageA(NULL, "res\start_b.bmp", 0, 0, 0, 0x50))",
                       R"(LoadImageA(NULL, "res\install.bmp", 0, 0, 0, 0x50))",
                       R"(LoadImageA(NULL, "res\readme.bmp", 0, 0, 0, 0x50))",
                       R"(LoadImageA(NULL, "res\exit.bmp", 0, 0, 0, 0x50))",
                       "CreateWindowExA(0x40000, atom 0xc000, \"Kelvaro - Ombrevale\", "
                       "0x90880000, 287, 180, 450, 408, NULL, NULL, module, NULL)",
                       "SetTimer(window 1, 0, 1000, NULL)",
                   }));
  ASSERT_GE(own.size(), 2u);
  EXPECT_EQ(own[own.size() - 2], "DestroyWindow(window 1)");
  EXPECT_EQ(own.back(), "UnregisterClassA(atom 0xc000, module)");
  EXPECT_TRUE(sim::world().classes.empty());

  EXPECT_EQ(registered.wc.style, 0u); // no double-click messages: each release acts
  EXPECT_EQ(registered.wc.cbClsExtra, 0);
  EXPECT_EQ(registered.wc.cbWndExtra, 0);
  EXPECT_EQ(registered.wc.lpfnWndProc, &MenuWndProc);
  EXPECT_EQ(registered.wc.lpszMenuName, nullptr);
  EXPECT_EQ(registered.wc.hIconSm, nullptr);
  EXPECT_EQ(created.style, static_cast<DWORD>(WS_POPUPWINDOW | WS_VISIBLE));
}

TEST_F(MenuWindowTest, CentresOnTheScreenEvenWhenItDoesNotFit) {
  struct Case {
    int width, height, x, y;
  } cases[] = {{1024, 768, 287, 180}, {800, 600, 175, 96}, {400, 300, -25, -54}, {451, 409, 0, 0}};
  for (const Case& c : cases) {
    sim::Reset();
    sim::world().screenWidth = c.width;
    sim::world().screenHeight = c.height;
    int x = 0, y = 0;
    Run({[&] {
      x = sim::world().windows.begin()->second.x;
      y = sim::world().windows.begin()->second.y;
      Close();
    }});
    EXPECT_EQ(x, c.x) << c.width << "x" << c.height;
    EXPECT_EQ(y, c.y) << c.width << "x" << c.height;
  }
}

TEST_F(MenuWindowTest, ExitAndCloseBothEndTheLoopWithZero) {
  for (bool useExit : {true, false}) {
    sim::Reset();
    int result = Run({[&] {
      if (useExit)
        sim::Click(Menu(), 400, 390);
      else
        Close();
    }});
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(sim::world().wouldBlock);
    EXPECT_EQ(sim::world().quitCode, 0);
    EXPECT_EQ(sim::CountCalls("DestroyWindow"), 1);
    EXPECT_EQ(sim::CountCalls("UnregisterClassA"), 1);
  }
}

TEST_F(MenuWindowTest, NoClassOrNoWindowReturnsAtOnce) {
  for (const char* failing : {"RegisterClassExA", "CreateWindowExA"}) {
    SCOPED_TRACE(failing);
    sim::Reset();
    sim::Fail(failing);
    EXPECT_EQ(RunMenu(), 0);
    EXPECT_EQ(sim::CountCalls("GetMessageA"), 0) << "nothing could ever end the loop";
    EXPECT_FALSE(sim::world().wouldBlock);
    EXPECT_TRUE(sim::world().classes.empty());
  }
}

TEST_F(MenuWindowTest, FirstPaintShowsStartNotInstalledUntilTheFirstTick) {
  PutArtwork();
  InstallGame();
  sim::MoveCursorOnScreen(0, 0);
  std::vector<BlitSeen> first, afterTick;
  Run({[&] {
         first = Blits();
         sim::world().blits.clear();
         sim::Tick(Menu());
       },
       [&] {
         afterTick = Blits();
         Close();
       }});
  EXPECT_EQ(first, (std::vector<BlitSeen>{kBack, {15, 361, 134, 18, "res\\start_b.bmp"}}));
  EXPECT_EQ(afterTick, std::vector<BlitSeen>{kBack});
  EXPECT_EQ(sim::world().erases, 1) << "only the first showing erases";
}

struct PaintCase {
  const char* name;
  bool installed;
  int x, y; // cursor, client coordinates
  std::vector<BlitSeen> overlays;
};

TEST_F(MenuWindowTest, PaintsTheBackgroundThenTheOverlaysOfTheState) {
  const PaintCase cases[] = {
      {"not installed, cursor away", false, 5, 5, {{15, 361, 134, 18, "res\\start_b.bmp"}}},
      {"not installed, cursor on Start", false, 20, 365, {{15, 361, 134, 18, "res\\start_b.bmp"}}},
      {"not installed, cursor on Install",
       false,
       20,
       390,
       {{15, 361, 134, 18, "res\\start_b.bmp"}, {15, 385, 202, 18, "res\\install.bmp"}}},
      {"installed, cursor away", true, 5, 5, {}},
      {"installed, cursor on Start", true, 148, 378, {{15, 361, 134, 18, "res\\start_a.bmp"}}},
      {"installed, Read me", true, 229, 385, {{229, 385, 97, 18, "res\\readme.bmp"}}},
      {"installed, Exit", true, 438, 402, {{344, 385, 95, 18, "res\\exit.bmp"}}},
      {"installed, cursor left of the window", true, -3, 390, {}},
  };
  for (const PaintCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    PutArtwork();
    if (c.installed) InstallGame();
    std::vector<BlitSeen> painted;
    std::vector<std::string> paintCalls;
    Run({[&] {
           sim::MoveCursor(Menu(), c.x, c.y);
           sim::Tick(Menu());
         },
         [&] {
           sim::world().blits.clear();
           sim::ClearLog();
           sim::Post(Menu(), WM_PAINT);
         },
         [&] {
           painted = Blits();
           paintCalls = sim::CallNames();
           Close();
         }});
    std::vector<BlitSeen> expected{kBack};
    expected.insert(expected.end(), c.overlays.begin(), c.overlays.end());
    EXPECT_EQ(painted, expected);
    EXPECT_TRUE(sim::GdiBalanced());
    // One memory context, each picture selected in turn, the original put back before it goes.
    std::vector<std::string> gdi;
    for (const std::string& n : paintCalls)
      if (n != "GetMessageA" && n != "TranslateMessage" && n != "DispatchMessageA")
        gdi.push_back(n);
    std::vector<std::string> want = {"BeginPaint", "CreateCompatibleDC", "SelectObject", "BitBlt"};
    for (size_t i = 0; i < c.overlays.size(); ++i) {
      want.push_back("SelectObject");
      want.push_back("BitBlt");
    }
    want.insert(want.end(), {"SelectObject", "DeleteDC", "EndPaint"});
    EXPECT_EQ(gdi, want);
  }
}

TEST_F(MenuWindowTest, APaintBlitsFromItsMemoryContextAndPutsItsOwnBitmapBack) {
  PutArtwork();
  InstallGame();
  std::vector<std::string> paint;
  Run({[&] { sim::MoveCursor(Menu(), 400, 390); }, // onto Exit: the second paint
       [&] {
         sim::ClearLog();
         sim::Post(Menu(), WM_PAINT);
       },
       [&] {
         for (const std::string& call : sim::CallTexts())
           if (call.rfind("GetMessageA", 0) != 0 && call.rfind("TranslateMessage", 0) != 0 &&
               call.rfind("DispatchMessageA", 0) != 0)
             paint.push_back(call);
         Close();
       }});
  EXPECT_EQ(paint, (std::vector<std::string>{
                       "BeginPaint(window 1, paint)",
                       "CreateCompatibleDC(paint dc 3)",
                       R"(SelectObject(memory dc 3, bitmap res\back.bmp))",
                       "BitBlt(paint dc 3, 0, 0, 450, 408, memory dc 3, 0, 0, 0xcc0020)",
                       R"(SelectObject(memory dc 3, bitmap res\exit.bmp))",
                       "BitBlt(paint dc 3, 344, 385, 95, 18, memory dc 3, 0, 0, 0xcc0020)",
                       "SelectObject(memory dc 3, stock bitmap)",
                       "DeleteDC(memory dc 3)",
                       "EndPaint(window 1, paint)",
                   }));
}

TEST_F(MenuWindowTest, RepaintsOnlyWhenAStateChangesAndNeverErases) {
  PutArtwork();
  std::vector<std::string> invalidations;
  Run({[&] { sim::MoveCursor(Menu(), 5, 5); },
       // Not installed: moving onto Start changes nothing that shows.
       [&] { sim::MoveCursor(Menu(), 20, 365); }, [&] { sim::MoveCursor(Menu(), 30, 370); },
       [&] { sim::Tick(Menu()); },
       [&] {
         EXPECT_EQ(sim::CountCalls("InvalidateRgn"), 0);
         sim::MoveCursor(Menu(), 20, 390); // onto Install
       },
       [&] { sim::MoveCursor(Menu(), 100, 395); }, // within Install
       [&] { sim::Tick(Menu()); },
       [&] {
         invalidations = sim::CallsNamed("InvalidateRgn");
         Close();
       }});
  EXPECT_EQ(invalidations, std::vector<std::string>{"InvalidateRgn(window 1, NULL, 0)"});
  EXPECT_EQ(sim::world().erases, 1);
  EXPECT_EQ(g_installHover, 1);
}

TEST_F(MenuWindowTest, StartFollowsTheInstallRecordAtTheNextTick) {
  PutArtwork();
  sim::MoveCursorOnScreen(0, 0);
  std::vector<StartButtonState> seen;
  auto record = [&] { seen.push_back(g_startState); };
  Run({[&] { sim::Tick(Menu()); },
       [&] {
         record();
         InstallGame();
         sim::Tick(Menu());
       },
       [&] {
         record();
         sim::MoveCursor(Menu(), 15, 361);
       },
       [&] {
         record();
         sim::RemoveFile("C:\\Games\\Kelvaro\\kelvaro.exe");
         sim::Tick(Menu());
       },
       [&] {
         record();
         Close();
       }});
  EXPECT_EQ(seen,
            (std::vector<StartButtonState>{StartDisabled, StartNormal, StartHover, StartDisabled}));
}

TEST_F(MenuWindowTest, HighlightGoesOutAtTheNextTickWhenTheCursorLeavesTheWindow) {
  PutArtwork();
  Run({[&] { sim::MoveCursor(Menu(), 400, 390); },
       [&] {
         EXPECT_EQ(g_exitHover, 1);
         sim::MoveCursorOnScreen(1000, 700); // no mouse message outside the window
       },
       [&] {
         EXPECT_EQ(g_exitHover, 1);
         sim::Tick(Menu());
       },
       [&] {
         EXPECT_EQ(g_exitHover, 0);
         Close();
       }});
}

TEST_F(MenuWindowTest, OnlyTheReleaseActsAndEachReleaseActs) {
  InsertDisc1();
  Run({[&] {
    // Pressed over Install, released over Exit: the menu ends.
    sim::Post(Menu(), WM_LBUTTONDOWN, 1, MAKELPARAM(20, 390));
    sim::Post(Menu(), WM_LBUTTONUP, 0, MAKELPARAM(400, 390));
  }});
  EXPECT_TRUE(sim::world().shellStarts.empty());
  EXPECT_EQ(sim::world().quitCode, 0);

  SetUp();
  InsertDisc1();
  Run({[&] {
         // A double click on Install: two releases, two starts. The right button, keys and
         // modifier keys do nothing of their own.
         sim::Click(Menu(), 20, 390);
         sim::Click(Menu(), 20, 390);
         sim::Post(Menu(), WM_RBUTTONUP, 0, MAKELPARAM(400, 390));
         sim::Post(Menu(), WM_KEYDOWN, 0x0D, 0);
         sim::Post(Menu(), WM_LBUTTONUP, 0x0004 /*MK_SHIFT*/, MAKELPARAM(250, 390));
       },
       [&] { Close(); }});
  ASSERT_EQ(sim::world().shellStarts.size(), 3u);
  EXPECT_EQ(sim::world().shellStarts[0].file, "E:\\setup.exe");
  EXPECT_EQ(sim::world().shellStarts[1].file, "E:\\setup.exe");
  EXPECT_EQ(sim::world().shellStarts[2].file, "E:\\res\\readme.html");
}

TEST_F(MenuWindowTest, MissingPicturesGetPlainLabelsAndTheMenuStillWorks) {
  // No res folder at all.
  InsertDisc1();
  std::vector<std::string> labels;
  Run({[&] {
         for (const auto& t : sim::world().texts) labels.push_back(t.text);
         sim::world().texts.clear();
         sim::MoveCursor(Menu(), 250, 390);
       },
       [&] {
         EXPECT_EQ(g_readmeHover, 1);
         ASSERT_FALSE(sim::world().texts.empty());
         const auto& lit = sim::world().texts.back();
         EXPECT_EQ(lit.text, "Read me");
         EXPECT_EQ(lit.rect.left, 229);
         EXPECT_EQ(lit.rect.top, 385);
         EXPECT_EQ(lit.rect.right, 326);
         EXPECT_EQ(lit.rect.bottom, 403);
         sim::Click(Menu(), 20, 390);
       },
       [&] { Close(); }});
  // The plain labels of all four, then Start's not-installed stand-in.
  EXPECT_EQ(labels, (std::vector<std::string>{"Start", "Install", "Read me", "Exit", "Start"}));
  EXPECT_TRUE(sim::world().blits.empty());
  EXPECT_EQ(sim::world().shellStarts.size(), 1u);
  EXPECT_TRUE(sim::GdiBalanced());

  // Only one overlay missing: the rest is drawn from the pictures.
  SetUp();
  PutArtwork();
  sim::RemoveFile("C:\\res\\exit.bmp");
  Run({[&] { sim::MoveCursor(Menu(), 400, 390); },
       [&] {
         sim::world().blits.clear();
         sim::world().texts.clear();
         sim::Post(Menu(), WM_PAINT);
       },
       [&] {
         EXPECT_EQ(Blits(), (std::vector<BlitSeen>{kBack, {15, 361, 134, 18, "res\\start_b.bmp"}}));
         ASSERT_EQ(sim::world().texts.size(), 1u);
         EXPECT_EQ(sim::world().texts[0].text, "Exit");
         Close();
       }});
  EXPECT_TRUE(sim::GdiBalanced());
}

TEST_F(MenuWindowTest, ManyPaintsAndStateChangesLeaveGdiBalanced) {
  PutArtwork();
  InstallGame();
  std::vector<std::function<void()>> steps;
  const int points[][2] = {{20, 365}, {20, 390}, {250, 390}, {400, 390}, {5, 5}};
  for (int i = 0; i < 2000; ++i)
    steps.push_back([&, i] { sim::MoveCursor(Menu(), points[i % 5][0], points[i % 5][1]); });
  steps.push_back([&] { Close(); });
  Run(steps);
  EXPECT_GE(sim::world().paints, 2000);
  EXPECT_TRUE(sim::GdiBalanced());
  EXPECT_TRUE(sim::world().openKeys.empty());
  EXPECT_EQ(sim::world().openFiles, 0);
}

} // namespace
