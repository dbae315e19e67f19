// The simulated world itself: reset, the call log, faults, handle names and path handling.
#include "platform/sim/sim_internal.h"

#include <cctype>
#include <cstdio>
#include <map>

namespace sim {

static World* g_world = nullptr;

// Test-side bookkeeping that is neither the platform nor what the tests read: the faults and
// their own call counts, and the names handles go by in the log.
struct Bookkeeping {
  struct Armed {
    Fault fault;
    int calls = 0;
  };
  std::map<std::string, Armed> faults;
  std::map<const void*, std::string> names;
  std::map<std::string, int> named; // handles named so far, by kind
};
static Bookkeeping g_books;

World& world() {
  if (!g_world) Reset();
  return *g_world;
}

void Reset() {
  if (!g_world) g_world = new World;
  *g_world = World{};
  g_books = Bookkeeping{};
  AddDrive('C', DRIVE_FIXED);
}

void Fail(const std::string& call, Fault fault) { g_books.faults[call] = {fault, 0}; }

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
  ++w.callCounts[name];
  auto it = g_books.faults.find(name);
  if (it == g_books.faults.end()) return nullptr;
  int index = it->second.calls++;
  const Fault& f = it->second.fault;
  if (index < f.skip) return nullptr;
  if (f.times >= 0 && index >= f.skip + f.times) return nullptr;
  return &f;
}

void NameHandle(const void* handle, const std::string& kind) {
  NameHandleAs(handle, kind + " " + std::to_string(++g_books.named[kind]));
}

void NameHandleAs(const void* handle, const std::string& name) { g_books.names[handle] = name; }

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
  if (v == kModule) return "module";
  if (v == kKernel) return "kernel32.dll";
  if (v == kDesktop) return "desktop";
  if (v == kStockBitmap) return "stock bitmap";
  if (v == kStockObjects + BLACK_BRUSH) return "BLACK_BRUSH";
  auto it = g_books.names.find(h);
  return it != g_books.names.end() ? it->second : "#" + Hex(v);
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

std::string Normalise(const std::string& path) {
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

} // namespace detail
} // namespace sim
