// The simulated world itself: reset, the call log, faults and path handling.
#include "platform/sim/sim_internal.h"

#include <cctype>
#include <cerrno>
#include <cstdio>

namespace sim {

static World* g_world = nullptr;

World& world() {
  if (!g_world) {
    g_world = new World;
    Reset();
  }
  return *g_world;
}

void Reset() {
  if (!g_world) g_world = new World;
  *g_world = World{};
  AddDrive('C', DRIVE_FIXED);
}

void Fail(const std::string& call, Fault fault) { world().faults[call] = fault; }

std::vector<std::string> CallTexts() {
  std::vector<std::string> out;
  for (const Call& c : world().calls) out.push_back(c.Text());
  return out;
}

std::vector<std::string> CallNames() {
  std::vector<std::string> out;
  for (const Call& c : world().calls) out.push_back(c.name);
  return out;
}

int CountCalls(const std::string& name) {
  int n = 0;
  for (const Call& c : world().calls) n += c.name == name;
  return n;
}

std::vector<std::string> CallsNamed(const std::string& name) {
  std::vector<std::string> out;
  for (const Call& c : world().calls)
    if (c.name == name) out.push_back(c.Text());
  return out;
}

void ClearLog() { world().calls.clear(); }

namespace detail {

const Fault* Enter(const char* name, const std::string& args) {
  World& w = world();
  w.calls.push_back({name, args});
  int index = w.callCounts[name]++;
  auto it = w.faults.find(name);
  if (it == w.faults.end()) return nullptr;
  const Fault& f = it->second;
  if (index < f.skip) return nullptr;
  if (f.times >= 0 && index >= f.skip + f.times) return nullptr;
  w.lastError = f.error;
  errno = static_cast<int>(f.error);
  return &f;
}

std::string Text(const char* s) {
  if (!s) return "NULL";
  std::string out = "\"";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
    if (*p < 0x20 || *p == 0x7f) {
      char hex[8];
      snprintf(hex, sizeof hex, "\\x%02x", *p);
      out += hex;
    } else {
      out += static_cast<char>(*p);
    }
  }
  return out + "\"";
}

std::string Num(long long n) { return std::to_string(n); }

std::string Hex(unsigned long long n) {
  char buf[32];
  snprintf(buf, sizeof buf, "0x%llx", n);
  return buf;
}

std::string Handle(const void* h) {
  if (!h) return "NULL";
  uintptr_t v = reinterpret_cast<uintptr_t>(h);
  if (h == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
  if (h == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
  return "#" + Hex(v);
}

std::string Join(std::initializer_list<std::string> args) {
  std::string out;
  for (const std::string& a : args) {
    if (!out.empty()) out += ", ";
    out += a;
  }
  return out;
}

std::string Upper(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return out;
}

bool IsRoot(const std::string& key) { return key.size() == 2 && key[1] == ':'; }

} // namespace detail

std::string Normalise(const std::string& path) {
  using detail::Upper;
  World& w = world();
  std::string full;
  if (path.size() >= 2 && path[1] == ':' && isalpha(static_cast<unsigned char>(path[0]))) {
    if (path.size() >= 3 && (path[2] == '\\' || path[2] == '/')) {
      full = path;
    } else if (toupper(static_cast<unsigned char>(path[0])) ==
               toupper(static_cast<unsigned char>(w.currentDir[0]))) {
      full = w.currentDir + "\\" + path.substr(2); // drive-relative: against the current folder
    } else {
      full = path.substr(0, 2) + "\\" + path.substr(2);
    }
  } else if (path.size() >= 2 && (path[0] == '\\' || path[0] == '/') &&
             (path[1] == '\\' || path[1] == '/')) {
    return ""; // network paths name nothing in this world
  } else if (!path.empty() && (path[0] == '\\' || path[0] == '/')) {
    full = w.currentDir.substr(0, 2) + path;
  } else {
    full = w.currentDir + "\\" + path;
  }
  // Split into parts, folding "." and "..", and rebuild with single backslashes.
  std::vector<std::string> parts;
  std::string part;
  for (size_t i = 0; i <= full.size(); ++i) {
    char c = i < full.size() ? full[i] : '\\';
    if (c == '/' || c == '\\') {
      if (part == "..") {
        if (parts.size() > 1) parts.pop_back();
      } else if (!part.empty() && part != ".") {
        parts.push_back(part);
      }
      part.clear();
    } else {
      part += c;
    }
  }
  if (parts.empty()) return "";
  std::string out;
  for (const std::string& p : parts) {
    if (!out.empty()) out += "\\";
    out += p;
  }
  return Upper(out);
}

} // namespace sim
