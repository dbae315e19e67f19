// Fuzzes the Recent-folder repair with any documents and Recent folder paths.
#include "platform/sim/sim.h"
#include "recentfix/recentfix.h"

#include <stdint.h>
#include <string>

// Input: the Recent folder's path, a zero byte, then the documents folder's path (each at most
// 400 bytes).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t split = input.find('\0');
  if (split == std::string::npos) return 0;
  std::string recent = input.substr(0, split);
  std::string documents = input.substr(split + 1);
  if (recent.size() > 400 || documents.size() > 400 || documents.find('\0') != std::string::npos)
    return 0;

  sim::Reset();
  sim::world().specialFolders[CSIDL_RECENT] = recent;
  sim::world().specialFolders[CSIDL_PERSONAL] = documents;
  sim::MakeDir(recent);
  sim::MakeDir(documents);
  sim::CreateKey("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
  sim::CreateKey(
      "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders");
  sim::world().messageBoxAnswers.push_back(IDYES);
  g_repairFailed = false;

  if (WinMain(nullptr, nullptr, nullptr, 0) != 0) __builtin_trap();

  const sim::World& w = sim::world();
  if (!w.openKeys.empty() || w.openFiles != 0) __builtin_trap();
  // A Recent folder whose path the code page could not spell ('?') is never repointed.
  bool unspelled = recent.find('?') != std::string::npos && recent.size() <= 247;
  if (unspelled && (sim::CountCalls("RegSetValueExA") != 0 || !g_repairFailed)) __builtin_trap();
  // Whatever was written names the documents folder's "recent", and fits a path buffer.
  for (const char* key : {"Shell Folders", "User Shell Folders"}) {
    const sim::RegValue* v = sim::Value(
        std::string("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\") + key,
        "Recent");
    if (!v) continue;
    if (v->type != REG_SZ || v->bytes != documents + "\\recent" + std::string(1, '\0') ||
        v->bytes.size() > MAX_PATH)
      __builtin_trap();
  }
  return 0;
}
