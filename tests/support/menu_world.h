// Builds the simulated world the menu expects: its artwork, disc 1, an installed game.
#pragma once

#include "facts/menu_facts.h"
#include "launcher/install_record.h"
#include "launcher/menu_window.h"
#include "platform/sim/sim.h"

#include <string>

namespace menu_world {

// The menu's process-wide state as it is when the program starts.
inline void ResetMenuState() {
  g_gameInstalled = false;
  g_startState = StartDisabled;
  g_installHover = g_readmeHover = g_exitHover = 0;
  g_backBitmap = g_startABitmap = g_startBBitmap = NULL;
  g_installBitmap = g_readmeBitmap = g_exitBitmap = NULL;
}

// The six pictures in `folder`'s res folder, each of its own size.
inline void PutArtwork(const std::string& folder = "C:\\") {
  const struct {
    const char* name;
    int width, height;
  } art[] = {{"back.bmp", 450, 408},   {"start_a.bmp", 134, 18}, {"start_b.bmp", 134, 18},
             {"install.bmp", 202, 18}, {"readme.bmp", 97, 18},   {"exit.bmp", 95, 18}};
  for (const auto& a : art)
    sim::PutFile(folder + "res\\" + a.name, sim::BitmapFile(a.width, a.height));
}

inline void InsertDisc1(char drive = 'E') {
  sim::AddDrive(drive, DRIVE_CDROM);
  sim::PutFile(std::string(1, drive) + ":\\program files\\harrowlight\\kelvaro\\KWRFILEID",
               FACT_DISC_ID_PREFIX "1");
}

inline void InstallGame(const std::string& folder = "C:\\Games\\Kelvaro\\") {
  sim::SetString("HKCU\\Software\\Harrowlight\\Kelvaro", "InstallDir", folder);
  sim::PutFile(folder + "kelvaro.exe", "MZ");
}

} // namespace menu_world
