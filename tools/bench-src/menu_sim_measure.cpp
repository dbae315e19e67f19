// Measures the menu on the simulated platform: platform calls per idle tick, and GDI balance
// after many paints. Prints JSON for tools/bench.
#include "launcher/install_record.h"
#include "launcher/menu_layout.h"
#include "launcher/menu_window.h"
#include "platform/sim/sim.h"
#include "tests/support/menu_world.h"

#include <cstdio>
#include <functional>
#include <map>
#include <string>

namespace {

const char kRecordKey[] = "HKCU\\Software\\Harrowlight\\Kelvaro";
const char kGameFolder[] = "C:\\Games\\Kelvaro\\";
const char kGame[] = "C:\\Games\\Kelvaro\\kelvaro.exe";
// Inside the window's client area but on no button.
const int kRestX = 224, kRestY = 200;

enum class Install { Installed, NoRecord, NoExecutable };

// A fresh world with the artwork in place, and the menu's state as at program start.
void FreshMenu(Install install) {
  sim::Reset();
  menu_world::ResetMenuState();
  menu_world::PutArtwork();
  if (install != Install::NoRecord) sim::SetString(kRecordKey, "InstallDir", kGameFolder);
  if (install == Install::Installed) sim::PutFile(kGame, "MZ");
}

void PrintCounts(const std::map<std::string, int>& counts) {
  printf("{");
  const char* comma = "";
  for (const auto& [name, n] : counts) {
    printf("%s\"%s\": %d", comma, name.c_str(), n);
    comma = ", ";
  }
  printf("}");
}

// Settles the menu with the cursor resting off every button, then lets `ticks` timer ticks
// pass; the calls made in between, by name.
std::map<std::string, int> IdleCalls(Install install, int ticks) {
  FreshMenu(install);
  std::map<std::string, int> before, after;
  int step = 0;
  std::function<void()> next = [&] {
    HWND menu = sim::TopWindow();
    if (step == 0) {
      sim::MoveCursor(menu, kRestX, kRestY);
      sim::Tick(menu);
    } else if (step == 1) {
      sim::Tick(menu);
    } else if (step == 2) {
      before = sim::world().callCounts;
      sim::Tick(menu);
    } else if (step < 2 + ticks) {
      sim::Tick(menu);
    } else {
      after = sim::world().callCounts;
      sim::Post(menu, WM_CLOSE);
      return;
    }
    ++step;
    sim::world().idleSteps.push_back(next);
  };
  sim::world().idleSteps.push_back(next);
  RunMenu();

  std::map<std::string, int> made;
  for (const auto& [name, n] : after)
    if (n - before[name] > 0) made[name] = n - before[name];
  return made;
}

// Moves the cursor between the buttons, off them and out of the window, and adds and removes
// the game's executable, until the menu has painted `paints` times.
void GdiBalance(int paints) {
  FreshMenu(Install::Installed);
  const POINT spots[] = {{20, 365},  {kRestX, kRestY}, {20, 390}, {240, 390},
                         {350, 390}, {-40, -40},       {140, 370}};
  const int spotCount = sizeof spots / sizeof spots[0];
  int step = 0, toggles = 0, maxLiveDcs = 0;
  bool gamePresent = true;
  std::function<void()> next = [&] {
    sim::World& w = sim::world();
    HWND menu = sim::TopWindow();
    int live = static_cast<int>(w.dcs.size());
    if (live > maxLiveDcs) maxLiveDcs = live;
    if (w.paints >= paints || step > 20 * paints) {
      sim::Post(menu, WM_CLOSE);
      return;
    }
    // The log and the drawing record would only grow; the counters are what is reported.
    sim::ClearLog();
    w.blits.clear();
    w.fills.clear();
    w.texts.clear();
    if (step % 11 == 10) {
      if (gamePresent)
        sim::RemoveFile(kGame);
      else
        sim::PutFile(kGame, "MZ");
      gamePresent = !gamePresent;
      ++toggles;
      sim::Tick(menu);
    } else {
      POINT p = spots[step % spotCount];
      if (p.x < 0) {
        sim::MoveCursorOnScreen(0, 0); // left the window: only the tick notices
        sim::Tick(menu);
      } else {
        sim::MoveCursor(menu, p.x, p.y);
      }
    }
    ++step;
    w.idleSteps.push_back(next);
  };
  sim::world().idleSteps.push_back(next);
  RunMenu();

  sim::World& w = sim::world();
  printf("{\"paints\": %d, \"steps\": %d, \"install_toggles\": %d, \"live_dcs\": %zu, "
         "\"max_live_dcs_between_messages\": %d, \"bitmaps\": %zu, \"balanced\": %s, "
         "\"blocked\": %s, \"calls\": ",
         w.paints, step, toggles, w.dcs.size(), maxLiveDcs, w.bitmaps.size(),
         sim::GdiBalanced() ? "true" : "false", w.wouldBlock ? "true" : "false");
  std::map<std::string, int> gdi;
  for (const char* name : {"BeginPaint", "EndPaint", "CreateCompatibleDC", "DeleteDC",
                           "SelectObject", "BitBlt", "LoadImageA", "InvalidateRgn"})
    gdi[name] = w.callCounts[name];
  PrintCounts(gdi);
  printf("}");
}

} // namespace

int main() {
  const int ticks = 60;
  printf("{\"ticks\": %d, \"idle\": {", ticks);
  const struct {
    const char* name;
    Install install;
  } cases[] = {{"installed", Install::Installed},
               {"not installed (no record)", Install::NoRecord},
               {"not installed (record, no executable)", Install::NoExecutable}};
  const char* comma = "";
  for (const auto& c : cases) {
    printf("%s\"%s\": ", comma, c.name);
    PrintCounts(IdleCalls(c.install, ticks));
    comma = ", ";
  }
  printf("}, \"gdi\": ");
  GdiBalance(10000);
  printf("}\n");
  return 0;
}
