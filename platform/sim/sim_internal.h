// What the simulated calls share: the log, faults, failing, handle names and argument formatting.
#pragma once

#include "platform/sim/sim.h"

#include <cerrno>
#include <string>

namespace sim::detail {

// Handles that are the same in every world, apart from those handed out one by one (windows
// from 0x10000, registry keys from 0x1000, GDI objects from 0x1000000).
const uintptr_t kModule = 0x400000;   // the program's own module
const uintptr_t kKernel = 0x7b800000; // kernel32.dll
const uintptr_t kDesktop = 0xfff0;
const uintptr_t kIcon = 0x30000;
const uintptr_t kCursor = 0x30001;
const uintptr_t kStockBitmap = 0x40000;  // a memory context's own one-pixel bitmap
const uintptr_t kStockObjects = 0x50000; // GetStockObject(n) is kStockObjects + n

// Logs the call and returns the fault that fires for it, or null. The caller fails with it.
const Fault* Enter(const char* name, const std::string& args);

// The one way a simulated call fails, whether the world refuses it, the caller misuses it or a
// test injected a fault: the code goes where the caller reads it, the thread's last error for
// Win32 calls or errno for the C runtime's, and the call returns `result`. The registry's calls
// report by their result alone, as the system's do.
struct Errno {
  int code;
};
template <typename T> T Failed(T result, DWORD lastError) {
  world().lastError = lastError;
  return result;
}
template <typename T> T Failed(T result, Errno error) {
  errno = error.code;
  return result;
}

// Names a handle in the call log: "<kind> <n>", counted per kind from 1 since the reset, or a
// name of its own (a bitmap by its file, a registry key by its path).
void NameHandle(const void* handle, const std::string& kind);
void NameHandleAs(const void* handle, const std::string& name);

// A new device context, memory or for a window, named "<kind> <n>" in the log.
HDC NewDC(bool memory, const char* kind);

std::string Text(const char* s); // NULL or "text"
std::string Num(long long n);
std::string Hex(unsigned long long n);
std::string Handle(const void* h); // NULL, its name, or #n for one the simulation did not give
std::string Join(std::initializer_list<std::string> args);
std::string Upper(const std::string& s);
bool IsRoot(const std::string& key); // "C:"

// The normalised key of a Windows path (upper-case, absolute, no trailing backslash), or "" when
// the path cannot name anything.
std::string Normalise(const std::string& path);
bool Readable(const std::string& path); // exists, on a drive that can be read now

} // namespace sim::detail
