// Fuzzes the disc search with any identification file bytes against any expected text.
#include "launcher/disc_locator.h"
#include "platform/sim/sim.h"

#include <stdint.h>
#include <string>

// Input: one byte of flags, one byte giving the text's length, the text, then the file's bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  int flags = data[0] & 3;
  size_t length = data[1];
  data += 2;
  size -= 2;
  if (length > size) length = size;
  std::string text(reinterpret_cast<const char*>(data), length);
  std::string file(reinterpret_cast<const char*>(data + length), size - length);

  sim::Reset();
  sim::AddDrive('E', DRIVE_CDROM);
  sim::PutFile("E:\\program files\\harrowlight\\kelvaro\\KWRFILEID", file);

  DiscLocator locator;
  locator.SetFlags(flags);
  locator.SetIdFilePath("program files\\harrowlight\\kelvaro\\KWRFILEID");
  locator.SetIdText(ByteString(text.data(), text.size()));
  ByteString root("untouched");
  HRESULT hr = locator.Locate(root);

  bool expected =
      flags != 0 && file.size() >= text.size() && file.compare(0, text.size(), text) == 0;
  if ((hr == S_OK) != expected) __builtin_trap();
  if (hr == S_OK ? !(root == ByteString("E:\\")) : !(root == ByteString("untouched")))
    __builtin_trap();
  if (sim::world().openFiles != 0 || sim::world().allocations != 0) __builtin_trap();

  // The whole search, as the menu makes it, with the buffer it gives.
  char buffer[MAX_PATH];
  memset(buffer, 0xbd, sizeof buffer);
  int found = FindGameDisc(1, buffer);
  bool disc1 = file.compare(0, 26, "Kelvaro: Wendraskel, DISK1") == 0;
  if (found != (disc1 ? 1 : 0)) __builtin_trap();
  if (static_cast<unsigned char>(buffer[found ? 38 : 0]) != 0xbd) __builtin_trap();
  return 0;
}
