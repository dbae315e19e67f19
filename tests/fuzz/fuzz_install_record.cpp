// Fuzzes the install probe and the game's launch with any install record value.
#include "launcher/install_record.h"
#include "platform/sim/sim.h"

#include <stdint.h>
#include <string.h>
#include <string>

// Input: one byte choosing the value's type, then the value's bytes (at most 300).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 301) return 0;
  static const DWORD kTypes[] = {REG_SZ,    REG_EXPAND_SZ, REG_BINARY,
                                 REG_DWORD, REG_MULTI_SZ,  REG_NONE};
  DWORD type = kTypes[data[0] % 6];
  std::string value(reinterpret_cast<const char*>(data + 1), size - 1);

  sim::Reset();
  sim::SetValue("HKCU\\Software\\Harrowlight\\Kelvaro", "InstallDir", type, value);
  // The game where the value points, when the value is a plain folder path.
  std::string folder = value.substr(0, value.find('\0'));
  if (!folder.empty() && folder.size() < 300) sim::PutFile(folder + "kelvaro.exe", "MZ");

  ProbeInstallation();
  if (g_gameInstalled && folder.size() + 11 >= MAX_PATH) __builtin_trap();
  LaunchInstalledGame(nullptr);

  const sim::World& w = sim::world();
  if (!w.openKeys.empty() || w.openFiles != 0 || w.keysOpened != 2) __builtin_trap();
  for (const sim::ShellStart& s : w.shellStarts)
    if (!s.directory || s.directory->size() >= MAX_PATH) __builtin_trap();
  return 0;
}
