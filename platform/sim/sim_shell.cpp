// The simulated shell, message boxes, special folders and module look-ups.
#include "platform/sim/sim_internal.h"

#include <cstring>

namespace os {
using namespace sim;
using namespace sim::detail;

static std::optional<std::string> Opt(const char* s) {
  return s ? std::optional<std::string>(s) : std::nullopt;
}

static std::string ShowName(int show) {
  return show == SW_SHOWDEFAULT ? "SW_SHOWDEFAULT" : Num(show);
}

HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        INT show) {
  const Fault* f =
      Enter("ShellExecuteA", Join({Handle(owner), Text(verb), Text(file), Text(parameters),
                                   Text(directory), ShowName(show)}));
  world().shellStarts.push_back(
      {owner, Opt(verb), Opt(file), Opt(parameters), Opt(directory), show});
  // The shell reports by its result alone: an error code up to 32, or more for a start.
  auto result = [](uintptr_t code) { return reinterpret_cast<HINSTANCE>(code); };
  if (f) return result(f->error <= 32 ? f->error : SE_ERR_FNF);
  // The shell finds a relative file in the given working folder.
  std::string path = file ? file : "";
  bool relative = !(path.size() > 1 && path[1] == ':') && !(!path.empty() && path[0] == '\\');
  if (relative && directory && directory[0]) {
    std::string dir = directory;
    if (dir.back() != '\\') dir += '\\';
    path = dir + path;
  }
  if (path.empty() || !Exists(path) || IsDir(path)) return result(SE_ERR_FNF);
  const uintptr_t kStarted = 42; // anything above 32
  return result(kStarted);
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  if (const Fault* f =
          Enter("MessageBoxA", Join({Handle(owner), Text(text), Text(caption), Hex(type)})))
    return Failed(0, f->error);
  World& w = world();
  w.messageBoxes.push_back({owner, Opt(text), Opt(caption), type});
  if (!w.messageBoxAnswers.empty()) {
    int answer = w.messageBoxAnswers.front();
    w.messageBoxAnswers.pop_front();
    return answer;
  }
  return (type & 0xf) == MB_YESNO ? IDNO : IDOK;
}

BOOL SHGetSpecialFolderPathA(HWND owner, LPSTR path, int csidl, BOOL create) {
  if (const Fault* f =
          Enter("SHGetSpecialFolderPathA",
                Join({Handle(owner), path ? "buffer" : "NULL", Hex(csidl), Num(create)})))
    return Failed(FALSE, f->error);
  auto it = world().specialFolders.find(csidl);
  if (it == world().specialFolders.end() || !path) return FALSE;
  // The shell writes at most MAX_PATH bytes; a longer folder path is not available.
  if (it->second.size() >= MAX_PATH) return FALSE;
  memcpy(path, it->second.c_str(), it->second.size() + 1);
  return TRUE;
}

HMODULE GetModuleHandleA(LPCSTR name) {
  HMODULE const kNone = nullptr;
  if (const Fault* f = Enter("GetModuleHandleA", Text(name))) return Failed(kNone, f->error);
  if (!name) return reinterpret_cast<HMODULE>(kModule);
  if (Upper(name) == "KERNEL32" || Upper(name) == "KERNEL32.DLL")
    return reinterpret_cast<HMODULE>(kKernel);
  return Failed(kNone, ERROR_MOD_NOT_FOUND);
}

static BOOL SimSetDefaultDllDirectories(DWORD flags) {
  Enter("SetDefaultDllDirectories", Hex(flags));
  return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  FARPROC const kNone = nullptr;
  if (const Fault* f = Enter("GetProcAddress", Join({Handle(module), Text(name)})))
    return Failed(kNone, f->error);
  if (reinterpret_cast<uintptr_t>(module) == kKernel && name &&
      strcmp(name, "SetDefaultDllDirectories") == 0 && world().hasSetDefaultDllDirectories)
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&SimSetDefaultDllDirectories));
  return Failed(kNone, ERROR_PROC_NOT_FOUND);
}

} // namespace os
