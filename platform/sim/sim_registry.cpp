// The simulated registry: keys of typed values held as raw bytes, and open-key accounting.
#include "platform/sim/sim_internal.h"

#include <cstring>

namespace sim {
using namespace detail;

static std::string KeyPathKey(const std::string& keyPath) { return Upper(keyPath); }

void CreateKey(const std::string& keyPath) {
  // Parents exist too, so that a key can be opened level by level as on the system.
  std::string key = KeyPathKey(keyPath);
  for (size_t i = key.find('\\'); i != std::string::npos; i = key.find('\\', i + 1))
    world().keys[key.substr(0, i)];
  world().keys[key];
}

RegKey* Key(const std::string& keyPath) {
  auto it = world().keys.find(KeyPathKey(keyPath));
  return it == world().keys.end() ? nullptr : &it->second;
}

void SetValue(const std::string& keyPath, const std::string& name, DWORD type,
              const std::string& bytes) {
  CreateKey(keyPath);
  world().keys[KeyPathKey(keyPath)].values[Upper(name)] = RegValue{type, bytes};
}

void SetString(const std::string& keyPath, const std::string& name, const std::string& text) {
  SetValue(keyPath, name, REG_SZ, text + std::string(1, '\0'));
}

const RegValue* Value(const std::string& keyPath, const std::string& name) {
  RegKey* k = Key(keyPath);
  if (!k) return nullptr;
  auto it = k->values.find(Upper(name));
  return it == k->values.end() ? nullptr : &it->second;
}

} // namespace sim

namespace os {
using namespace sim;
using namespace sim::detail;

// The path a key handle stands for, as opened: "HKCU\Software\...", or "" for no key.
static std::string RootName(HKEY root) {
  if (root == HKEY_CURRENT_USER) return "HKCU";
  if (root == HKEY_LOCAL_MACHINE) return "HKLM";
  if (root == HKEY_CLASSES_ROOT) return "HKCR";
  auto it = world().openKeys.find(reinterpret_cast<uintptr_t>(root));
  return it == world().openKeys.end() ? std::string() : it->second.path;
}

static std::string AccessName(REGSAM access) {
  if (access == KEY_READ) return "KEY_READ";
  if (access == KEY_SET_VALUE) return "KEY_SET_VALUE";
  if (access == KEY_WRITE) return "KEY_WRITE";
  return Hex(access);
}

static std::string TypeName(DWORD type) {
  switch (type) {
  case REG_SZ: return "REG_SZ";
  case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
  case REG_BINARY: return "REG_BINARY";
  case REG_DWORD: return "REG_DWORD";
  default: return Num(type);
  }
}

LONG RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) {
  if (const Fault* f =
          Enter("RegOpenKeyExA", Join({Handle(root), Text(subKey), Num(options), AccessName(access),
                                       result ? "result" : "NULL"})))
    return static_cast<LONG>(f->error);
  if (!result) return ERROR_INVALID_PARAMETER;
  std::string base = RootName(root);
  if (base.empty()) return ERROR_INVALID_HANDLE;
  std::string path = subKey && subKey[0] ? base + "\\" + subKey : base;
  RegKey* key = Key(path);
  if (!key) return ERROR_FILE_NOT_FOUND;
  if (key->readOnly && (access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  World& w = world();
  uintptr_t handle = w.nextKey++;
  w.openKeys[handle] = {path, access};
  ++w.keysOpened;
  *result = reinterpret_cast<HKEY>(handle);
  NameHandleAs(*result, "key " + path);
  return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY hkey, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD size) {
  if (const Fault* f =
          Enter("RegQueryValueExA",
                Join({Handle(hkey), Text(name), reserved ? "reserved" : "NULL",
                      type ? "type" : "NULL", data ? "data" : "NULL", size ? Num(*size) : "NULL"})))
    return static_cast<LONG>(f->error);
  auto open = world().openKeys.find(reinterpret_cast<uintptr_t>(hkey));
  if (open == world().openKeys.end()) return ERROR_INVALID_HANDLE;
  if (!(open->second.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  const RegValue* v = Value(open->second.path, name ? name : "");
  if (!v) return ERROR_FILE_NOT_FOUND;
  if (type) *type = v->type;
  DWORD length = static_cast<DWORD>(v->bytes.size());
  if (!size) return data ? ERROR_NOACCESS : ERROR_SUCCESS;
  if (data && length > *size) {
    *size = length;
    return ERROR_MORE_DATA;
  }
  // Exactly the stored bytes. A string stored without its zero gets one after it where the
  // buffer has room, not counted in the size; into a buffer of its own size it arrives bare.
  if (data) {
    memcpy(data, v->bytes.data(), length);
    bool text = v->type == REG_SZ || v->type == REG_EXPAND_SZ || v->type == REG_MULTI_SZ;
    if (text && length && length < *size && v->bytes[length - 1] != 0) data[length] = 0;
  }
  *size = length;
  return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY hkey, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD size) {
  std::string shown = data && (type == REG_SZ || type == REG_EXPAND_SZ)
                          ? Text(reinterpret_cast<const char*>(data))
                          : (data ? "data" : "NULL");
  if (const Fault* f = Enter("RegSetValueExA", Join({Handle(hkey), Text(name), Num(reserved),
                                                     TypeName(type), shown, Num(size)})))
    return static_cast<LONG>(f->error);
  auto open = world().openKeys.find(reinterpret_cast<uintptr_t>(hkey));
  if (open == world().openKeys.end()) return ERROR_INVALID_HANDLE;
  if (!(open->second.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  // The system counts a terminating zero the caller left out when one follows the data.
  bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
  if (text && data && size && data[size - 1] != 0 && data[size] == 0) ++size;
  std::string bytes(data ? reinterpret_cast<const char*>(data) : "", data ? size : 0);
  world().keys[Upper(open->second.path)].values[Upper(name ? name : "")] = RegValue{type, bytes};
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hkey) {
  const Fault* f = Enter("RegCloseKey", Handle(hkey));
  auto open = world().openKeys.find(reinterpret_cast<uintptr_t>(hkey));
  if (open == world().openKeys.end()) return ERROR_INVALID_HANDLE; // never opened, or twice
  world().openKeys.erase(open);
  ++world().keysClosed;
  // A failing close still releases the handle: the caller cannot close it again.
  return f ? static_cast<LONG>(f->error) : ERROR_SUCCESS;
}

} // namespace os
