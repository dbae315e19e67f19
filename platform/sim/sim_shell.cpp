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
  if (f) return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(f->error <= 32 ? f->error : 2));
  // The shell finds a relative file in the given working folder.
  std::string path = file ? file : "";
  bool relative = !(path.size() > 1 && path[1] == ':') && !(!path.empty() && path[0] == '\\');
  if (relative && directory && directory[0]) {
    std::string dir = directory;
    if (dir.back() != '\\') dir += '\\';
    path = dir + path;
  }
  if (path.empty() || !Exists(path) || IsDir(path))
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(2)); // SE_ERR_FNF
  return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(42));
}

static std::string BoxType(UINT type) { return Hex(type); }

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  if (Enter("MessageBoxA", Join({Handle(owner), Text(text), Text(caption), BoxType(type)})))
    return 0;
  World& w = world();
  MessageBoxShown shown{owner, Opt(text), Opt(caption), type};
  w.messageBoxes.push_back(shown);
  if (w.onMessageBox) w.onMessageBox(shown);
  if (!w.messageBoxAnswers.empty()) {
    int answer = w.messageBoxAnswers.front();
    w.messageBoxAnswers.pop_front();
    return answer;
  }
  return (type & 0xf) == MB_YESNO ? IDNO : IDOK;
}

BOOL SHGetSpecialFolderPathA(HWND owner, LPSTR path, int csidl, BOOL create) {
  if (Enter("SHGetSpecialFolderPathA",
            Join({Handle(owner), path ? "buffer" : "NULL", Hex(csidl), Num(create)})))
    return FALSE;
  auto it = world().specialFolders.find(csidl);
  if (it == world().specialFolders.end() || !path) return FALSE;
  // The shell writes at most MAX_PATH bytes; a longer folder path is not available.
  if (it->second.size() >= MAX_PATH) return FALSE;
  memcpy(path, it->second.c_str(), it->second.size() + 1);
  return TRUE;
}

static const uintptr_t kModule = 0x400000;
static const uintptr_t kKernel = 0x7b800000;

HMODULE GetModuleHandleA(LPCSTR name) {
  if (Enter("GetModuleHandleA", Text(name))) return nullptr;
  if (!name) return reinterpret_cast<HMODULE>(kModule);
  if (Upper(name) == "KERNEL32" || Upper(name) == "KERNEL32.DLL")
    return reinterpret_cast<HMODULE>(kKernel);
  return nullptr;
}

static BOOL SimSetDefaultDllDirectories(DWORD flags) {
  Enter("SetDefaultDllDirectories", Hex(flags));
  world().dllDirectoryFlags = flags;
  return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  if (Enter("GetProcAddress", Join({Handle(module), Text(name)}))) return nullptr;
  if (reinterpret_cast<uintptr_t>(module) == kKernel && name &&
      strcmp(name, "SetDefaultDllDirectories") == 0 && world().hasSetDefaultDllDirectories)
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&SimSetDefaultDllDirectories));
  world().lastError = 127; // ERROR_PROC_NOT_FOUND
  return nullptr;
}

} // namespace os
