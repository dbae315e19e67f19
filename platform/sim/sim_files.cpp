// Simulated drives, files and folders, the kernel's file calls and the C runtime's streams.
#include "platform/sim/sim_internal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace os {
struct FILE {
  std::string key;
  std::string data;
  size_t pos = 0;
  bool write = false;
};
} // namespace os

namespace sim {
using namespace detail;

void AddDrive(char letter, UINT type, bool media) {
  char up = Upper(std::string(1, letter))[0];
  world().drives[up] = Drive{type, media};
}

static std::string Parent(const std::string& key) {
  size_t slash = key.rfind('\\');
  return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

// The error met on the way to an entry: its drive missing or empty.
static DWORD DriveError(const std::string& key) {
  if (key.size() < 2) return ERROR_PATH_NOT_FOUND;
  auto it = world().drives.find(key[0]);
  if (it == world().drives.end()) return ERROR_PATH_NOT_FOUND;
  if (!it->second.media) return ERROR_NOT_READY;
  return 0;
}

static bool DirExists(const std::string& key) {
  if (DriveError(key)) return false;
  if (IsRoot(key)) return true;
  auto it = world().files.find(key);
  return it != world().files.end() && it->second.dir;
}

void MakeDir(const std::string& path) {
  std::string key = Normalise(path);
  while (!key.empty() && !IsRoot(key)) {
    world().files[key].dir = true;
    key = Parent(key);
  }
}

void PutFile(const std::string& path, const std::string& bytes) {
  std::string key = Normalise(path);
  MakeDir(Parent(key));
  FileEntry& e = world().files[key];
  e.dir = false;
  e.bytes = bytes;
}

void RemoveFile(const std::string& path) { world().files.erase(Normalise(path)); }

FileEntry* Entry(const std::string& path) {
  auto it = world().files.find(Normalise(path));
  return it == world().files.end() ? nullptr : &it->second;
}

bool Exists(const std::string& path) {
  std::string key = Normalise(path);
  return IsRoot(key) ? !DriveError(key) : Entry(path) != nullptr;
}

bool detail::Readable(const std::string& path) {
  std::string key = Normalise(path);
  return !key.empty() && !DriveError(key) && world().files.count(key);
}

bool IsDir(const std::string& path) { return DirExists(Normalise(path)); }

std::string FileBytes(const std::string& path) {
  FileEntry* e = Entry(path);
  return e ? e->bytes : std::string();
}

} // namespace sim

namespace os {
using namespace sim;
using namespace sim::detail;

// Where a file may be written: the drive readable, the parent a folder, the entry no folder.
static DWORD WritableFileError(const std::string& key) {
  if (key.empty()) return ERROR_PATH_NOT_FOUND;
  if (DWORD e = DriveError(key)) return e;
  if (world().drives[key[0]].type == DRIVE_CDROM) return ERROR_ACCESS_DENIED;
  if (IsRoot(key) || !DirExists(Parent(key))) return ERROR_PATH_NOT_FOUND;
  auto it = world().files.find(key);
  if (it != world().files.end() && (it->second.dir || it->second.locked))
    return it->second.dir ? ERROR_ACCESS_DENIED : ERROR_SHARING_VIOLATION;
  return 0;
}

BOOL CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists) {
  if (const Fault* f = Enter("CopyFileA", Join({Text(existing), Text(target), Num(failIfExists)})))
    return Failed(FALSE, f->error);
  std::string from = existing ? Normalise(existing) : "";
  std::string to = target ? Normalise(target) : "";
  if (from.empty()) return Failed(FALSE, ERROR_PATH_NOT_FOUND);
  if (DWORD e = DriveError(from)) return Failed(FALSE, e);
  auto src = world().files.find(from);
  if (src == world().files.end() || src->second.dir) return Failed(FALSE, ERROR_FILE_NOT_FOUND);
  if (DWORD e = WritableFileError(to)) return Failed(FALSE, e);
  if (failIfExists && world().files.count(to)) return Failed(FALSE, ERROR_FILE_EXISTS);
  FileEntry copy = src->second;
  copy.locked = false;
  world().files[to] = copy;
  return TRUE;
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES security) {
  if (const Fault* f = Enter("CreateDirectoryA", Join({Text(path), Handle(security)})))
    return Failed(FALSE, f->error);
  std::string key = path ? Normalise(path) : "";
  if (key.empty()) return Failed(FALSE, ERROR_PATH_NOT_FOUND);
  if (IsRoot(key)) return Failed(FALSE, ERROR_ACCESS_DENIED);
  if (DWORD e = DriveError(key)) return Failed(FALSE, e);
  if (world().files.count(key)) return Failed(FALSE, ERROR_ALREADY_EXISTS);
  if (!DirExists(Parent(key))) return Failed(FALSE, ERROR_PATH_NOT_FOUND);
  if (world().drives[key[0]].type == DRIVE_CDROM) return Failed(FALSE, ERROR_ACCESS_DENIED);
  world().files[key].dir = true;
  return TRUE;
}

BOOL DeleteFileA(LPCSTR path) {
  if (const Fault* f = Enter("DeleteFileA", Text(path))) return Failed(FALSE, f->error);
  std::string key = path ? Normalise(path) : "";
  if (key.empty()) return Failed(FALSE, ERROR_PATH_NOT_FOUND);
  if (DWORD e = DriveError(key)) return Failed(FALSE, e);
  auto it = world().files.find(key);
  if (it == world().files.end()) return Failed(FALSE, ERROR_FILE_NOT_FOUND);
  if (it->second.dir || it->second.locked) return Failed(FALSE, ERROR_ACCESS_DENIED);
  if (world().drives[key[0]].type == DRIVE_CDROM) return Failed(FALSE, ERROR_ACCESS_DENIED);
  world().files.erase(it);
  return TRUE;
}

UINT GetDriveTypeA(LPCSTR root) {
  if (const Fault* f = Enter("GetDriveTypeA", Text(root))) return Failed(DRIVE_UNKNOWN, f->error);
  // The drive is named by its first letter; the rest of the root is not looked at further.
  if (!root || !root[0] || root[1] != ':') return DRIVE_NO_ROOT_DIR;
  auto it = world().drives.find(Upper(std::string(1, root[0]))[0]);
  return it == world().drives.end() ? DRIVE_NO_ROOT_DIR : it->second.type;
}

DWORD GetFileAttributesA(LPCSTR path) {
  if (const Fault* f = Enter("GetFileAttributesA", Text(path)))
    return Failed(INVALID_FILE_ATTRIBUTES, f->error);
  std::string key = path ? Normalise(path) : "";
  if (key.empty()) return Failed(INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND);
  if (DWORD e = DriveError(key)) return Failed(INVALID_FILE_ATTRIBUTES, e);
  if (IsRoot(key)) return FILE_ATTRIBUTE_DIRECTORY;
  auto it = world().files.find(key);
  if (it == world().files.end()) return Failed(INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND);
  return it->second.dir ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

DWORD GetLastError() {
  Enter("GetLastError", "");
  return world().lastError;
}

void SetLastError(DWORD error) {
  Enter("SetLastError", Num(error));
  world().lastError = error;
}

DWORD GetLogicalDrives() {
  if (const Fault* f = Enter("GetLogicalDrives", "")) return Failed(DWORD{0}, f->error);
  DWORD mask = 0;
  for (const auto& [letter, drive] : world().drives)
    if (letter >= 'A' && letter <= 'Z') mask |= 1u << (letter - 'A');
  return mask;
}

// The module path and the temporary path fill a caller's buffer the way the system does.
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  if (const Fault* f = Enter("GetModuleFileNameA",
                             Join({Handle(module), buffer ? "buffer" : "NULL", Num(size)})))
    return Failed(DWORD{0}, f->error);
  const std::string& path = world().modulePath;
  if (size == 0) return Failed(DWORD{0}, ERROR_INSUFFICIENT_BUFFER);
  if (path.size() >= size) {
    // Truncated: the system fills the whole buffer, ends it with a zero, and returns the size.
    memcpy(buffer, path.data(), size - 1);
    buffer[size - 1] = 0;
    return Failed(size, ERROR_INSUFFICIENT_BUFFER);
  }
  memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

DWORD GetTempPathA(DWORD size, LPSTR buffer) {
  if (const Fault* f = Enter("GetTempPathA", Join({Num(size), buffer ? "buffer" : "NULL"})))
    return Failed(DWORD{0}, f->error);
  const std::string& path = world().tempPath;
  if (path.size() + 1 > size) return static_cast<DWORD>(path.size() + 1); // buffer untouched
  memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

UINT SetErrorMode(UINT mode) {
  Enter("SetErrorMode", Hex(mode));
  UINT old = world().errorMode;
  world().errorMode = mode;
  return old;
}

// C runtime --------------------------------------------------------------------------------

int _chdir(const char* path) {
  if (const Fault* f = Enter("_chdir", Text(path))) return Failed(-1, Errno{int(f->error)});
  std::string key = path ? Normalise(path) : "";
  if (key.empty() || !DirExists(key)) return Failed(-1, Errno{ENOENT});
  world().currentDir = IsRoot(key) ? key + "\\" : key;
  return 0;
}

int _mkdir(const char* path) {
  if (const Fault* f = Enter("_mkdir", Text(path))) return Failed(-1, Errno{int(f->error)});
  std::string key = path ? Normalise(path) : "";
  if (key.empty() || DriveError(key)) return Failed(-1, Errno{ENOENT});
  if (IsRoot(key) || world().files.count(key)) return Failed(-1, Errno{EEXIST});
  if (!DirExists(Parent(key))) return Failed(-1, Errno{ENOENT});
  if (world().drives[key[0]].type == DRIVE_CDROM) return Failed(-1, Errno{EACCES});
  world().files[key].dir = true;
  return 0;
}

FILE* fopen(const char* path, const char* mode) {
  FILE* const kNone = nullptr;
  if (const Fault* f = Enter("fopen", Join({Text(path), Text(mode)})))
    return Failed(kNone, Errno{int(f->error)});
  if (!path || !mode) return Failed(kNone, Errno{EINVAL});
  std::string key = Normalise(path);
  bool write = mode[0] == 'w';
  if (mode[0] != 'r' && !write) return Failed(kNone, Errno{EINVAL});
  if (key.empty() || DriveError(key)) return Failed(kNone, Errno{ENOENT});
  auto it = world().files.find(key);
  if (write) {
    if (WritableFileError(key)) return Failed(kNone, Errno{EACCES});
    world().files[key].bytes.clear(); // "w" creates the file, or empties the one that is there
  } else if (it == world().files.end()) {
    return Failed(kNone, Errno{ENOENT});
  } else if (it->second.dir) {
    return Failed(kNone, Errno{EACCES});
  }
  FILE* f = new FILE;
  f->key = key;
  f->write = write;
  if (!write) {
    f->data = it->second.bytes;
    if (strchr(mode, 'b') == nullptr) {
      // Text mode: a carriage return before a line feed is dropped on reading.
      std::string text;
      for (size_t i = 0; i < f->data.size(); ++i)
        if (!(f->data[i] == '\r' && i + 1 < f->data.size() && f->data[i + 1] == '\n'))
          text += f->data[i];
      f->data = text;
    }
  }
  ++world().openFiles;
  return f;
}

size_t fread(void* buffer, size_t size, size_t count, FILE* stream) {
  Enter("fread", Join({"buffer", Num(static_cast<long long>(size)),
                       Num(static_cast<long long>(count)), stream ? "stream" : "NULL"}));
  if (!stream || size == 0 || stream->write) return 0;
  size_t available = (stream->data.size() - stream->pos) / size;
  size_t n = count < available ? count : available;
  memcpy(buffer, stream->data.data() + stream->pos, n * size);
  stream->pos += n * size;
  return n;
}

int fclose(FILE* stream) {
  Enter("fclose", stream ? "stream" : "NULL");
  if (!stream) return EOF;
  --world().openFiles;
  delete stream;
  return 0;
}

void* malloc(size_t size) {
  void* const kNone = nullptr;
  if (const Fault* f = Enter("malloc", Num(static_cast<long long>(size))))
    return Failed(kNone, Errno{int(f->error)});
  ++world().allocations;
  return ::malloc(size ? size : 1);
}

void free(void* block) {
  Enter("free", block ? "block" : "NULL");
  if (block) --world().allocations;
  ::free(block);
}

} // namespace os
