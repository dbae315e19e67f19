// Shared set-up for the menu's tests: a fresh world, the menu's state as at program start.
#pragma once

#include "tests/support/menu_world.h"
#include "tests/unit/sim_test.h"

class MenuTest : public SimTest {
protected:
  void SetUp() override {
    SimTest::SetUp();
    menu_world::ResetMenuState();
  }

  static void InsertDisc1(char drive = 'E') { menu_world::InsertDisc1(drive); }
  static void InstallGame(const std::string& folder = "C:\\Games\\Kelvaro\\") {
    menu_world::InstallGame(folder);
  }
  static void PutArtwork(const std::string& folder = "C:\\") { menu_world::PutArtwork(folder); }
};
