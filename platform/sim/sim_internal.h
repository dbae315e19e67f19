// What the simulated calls share: logging, faults and argument formatting.
#pragma once

#include "platform/sim/sim.h"

#include <string>

namespace sim::detail {

// Logs the call and returns the fault that fires for it, or null. A firing fault has set the
// last error (and errno) to its code already.
const Fault* Enter(const char* name, const std::string& args);

std::string Text(const char* s); // NULL or "text"
std::string Num(long long n);
std::string Hex(unsigned long long n);
std::string Handle(const void* h); // NULL or #n / a known name
std::string Join(std::initializer_list<std::string> args);
std::string Upper(const std::string& s);
bool IsRoot(const std::string& key); // "C:"

} // namespace sim::detail
