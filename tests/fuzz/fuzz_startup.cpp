// Fuzzes start-up with any temporary folder and module path the system could report.
#include "launcher/startup.h"
#include "platform/sim/sim.h"

#include <stdint.h>
#include <string>

// Input: the temporary path, a zero byte, then the module path (each at most 400 bytes).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t split = input.find('\0');
  if (split == std::string::npos) return 0;
  std::string temp = input.substr(0, split);
  std::string module = input.substr(split + 1);
  if (temp.size() > 400 || module.size() > 400 || module.find('\0') != std::string::npos) return 0;

  sim::Reset();
  sim::AddDrive('E', DRIVE_CDROM);
  sim::PutFile("E:\\program files\\harrowlight\\kelvaro\\KWRFILEID", "Kelvaro: Wendraskel, DISK1");
  sim::PutFile("E:\\start.exe", "MZ");
  sim::PutFile("E:\\Res\\back.bmp", sim::BitmapFile(450, 408));
  sim::MakeDir("C:\\Temp");
  // A folder whose start.exe is held open by an earlier copy: it must never be started.
  sim::PutFile("C:\\Locked\\start.exe", "earlier");
  sim::Entry("C:\\Locked\\start.exe")->locked = true;
  sim::world().tempPath = temp;
  sim::world().modulePath = module;

  if (WinMain(nullptr, nullptr, nullptr, 0) != 0) __builtin_trap();

  const sim::World& w = sim::world();
  bool relocated = !w.shellStarts.empty();
  // The shell is only ever given the program just copied from the disc.
  if (relocated && (w.shellStarts.size() != 1 || !w.shellStarts[0].file ||
                    sim::FileBytes(*w.shellStarts[0].file) != "MZ"))
    __builtin_trap();
  if (relocated && (temp.size() >= MAX_PATH || module.size() >= MAX_PATH || module[0] != 'E'))
    __builtin_trap();
  if (relocated == (sim::CountCalls("RegisterClassExA") != 0)) __builtin_trap();
  if (!sim::GdiBalanced() || !w.openKeys.empty() || w.openFiles != 0) __builtin_trap();
  return 0;
}
