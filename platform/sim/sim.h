// The simulated Win32 world that native tests set up, drive and inspect.
#pragma once

#include "platform/win32.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// 1. Setting up the world ------------------------------------------------------------------------
// The simulated platform itself: what the programs' calls read and change. A test sets it up
// beforehand and may look at it afterwards, as one would look at a machine.

struct Drive {
  UINT type = DRIVE_FIXED;
  bool media = true; // false: a removable or CD-ROM drive with nothing in it
};

struct FileEntry {
  bool dir = false;
  std::string bytes;
  bool locked = false; // cannot be opened for writing, replaced or deleted (in use)
};

struct RegValue {
  DWORD type = REG_SZ;
  std::string bytes; // raw bytes: a string stored without its terminating zero is possible
};

struct RegKey {
  std::map<std::string, RegValue> values; // by upper-case name
  bool readOnly = false;                  // opening with KEY_SET_VALUE is refused
};

struct Platform {
  // Drives, files and folders; paths are kept upper-case, without a trailing backslash.
  std::map<char, Drive> drives;
  std::map<std::string, FileEntry> files;
  std::string currentDir = "C:\\";
  std::string modulePath = "C:\\start.exe";
  std::string tempPath = "C:\\Temp\\";
  std::map<int, std::string> specialFolders; // CSIDL -> path
  DWORD lastError = 0;
  UINT errorMode = 0;
  bool hasSetDefaultDllDirectories = true;
  int openFiles = 0;
  int allocations = 0;

  // Registry: keys by upper-case full path ("HKCU\SOFTWARE\...").
  std::map<std::string, RegKey> keys;
  struct OpenKey {
    std::string path; // as opened, in its own letter case
    REGSAM access;
  };
  std::map<uintptr_t, OpenKey> openKeys; // handle -> key
  uintptr_t nextKey = 0x1000;

  std::deque<int> messageBoxAnswers; // scripted answers; when empty: IDOK, or IDNO for MB_YESNO

  // Windows, messages and timers.
  struct WindowClass {
    WNDCLASSEXA wc;
    std::string name;
    ATOM atom;
  };
  struct Window {
    std::string className;
    DWORD style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    WNDPROC proc = nullptr;
    bool alive = true;
    bool invalid = false; // waits for a paint
    bool erase = false;   // that paint erases the background first
  };
  struct Timer {
    HWND window;
    UINT_PTR id;
    bool due = false; // elapsed since its last WM_TIMER; several periods still make one
  };
  std::map<std::string, WindowClass> classes; // by upper-case name
  ATOM nextAtom = 0xC000;
  std::map<HWND, Window> windows;
  uintptr_t nextWindow = 0x10000;
  std::vector<Timer> timers;
  std::deque<MSG> queue; // posted messages
  bool quitPosted = false;
  int quitCode = 0;
  int screenWidth = 1024, screenHeight = 768;
  POINT cursor = {0, 0};
  // What the test does each time the thread's queue runs dry; when none is left, GetMessageA
  // would wait forever: it sets wouldBlock and ends the loop instead.
  std::deque<std::function<void()>> idleSteps;

  // GDI: loaded bitmaps and live device contexts.
  struct DeviceContext {
    bool memory = false;
    HGDIOBJ selected = nullptr;
    HGDIOBJ original = nullptr;
    COLORREF textColor = 0;
  };
  std::map<HGDIOBJ, std::string> bitmaps; // by the file each was loaded from
  uintptr_t nextGdi = 0x1000000;
  std::map<HDC, DeviceContext> dcs;
};

void AddDrive(char letter, UINT type, bool media = true);
void MakeDir(const std::string& path);                           // with its parents
void PutFile(const std::string& path, const std::string& bytes); // with its parent folders
void RemoveFile(const std::string& path);
FileEntry* Entry(const std::string& path); // null when there is none

void CreateKey(const std::string& keyPath); // "HKCU\Software\..."
void SetValue(const std::string& keyPath, const std::string& name, DWORD type,
              const std::string& bytes);
void SetString(const std::string& keyPath, const std::string& name, const std::string& text);
RegKey* Key(const std::string& keyPath); // null when there is none

// A BMP file's bytes (uncompressed, 8 bits) of the given size, for LoadImageA.
std::string BitmapFile(int width, int height);

// Input, as the user and the clock give it: the cursor moves on the screen and a mouse message
// goes to the window; a timer falls due.
void MoveCursor(HWND window, int clientX, int clientY); // posts WM_MOUSEMOVE
void MoveCursorOnScreen(int x, int y);                  // no message (the cursor left)
void Click(HWND window, int clientX, int clientY);      // WM_LBUTTONDOWN, WM_LBUTTONUP
void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
void Tick(HWND window); // the window's timers fall due

// 2. Observing -----------------------------------------------------------------------------------
// What the tests read besides the platform's state: every call in order, and what the calls did
// that leaves no trace in that state (programs started, boxes shown, drawing).

struct Call {
  std::string name;
  std::string args; // the exact arguments, formatted: NULL for a null pointer, "..." for text,
                    // a handle by its name ("window 1", "memory dc 2", "bitmap res\back.bmp")
  std::string Text() const { return name + "(" + args + ")"; }
};

struct ShellStart {
  HWND owner;
  std::optional<std::string> verb, file, parameters, directory;
  int show;
};

struct MessageBoxShown {
  HWND owner;
  std::optional<std::string> text, caption;
  UINT type;
};

struct Blit {
  int x, y, width, height;
  std::string source; // the path of the bitmap selected into the source context
};

struct DrawnText {
  std::string text;
  RECT rect;
};

struct Record {
  std::vector<Call> calls;
  std::map<std::string, int> callCounts; // by name, kept by ClearLog
  std::vector<ShellStart> shellStarts;
  std::vector<MessageBoxShown> messageBoxes;
  std::vector<Blit> blits;
  std::vector<DrawnText> texts;
  std::vector<RECT> fills;
  int paints = 0;
  int erases = 0;
  int dcsDeletedWithSelection = 0; // memory contexts deleted without their own bitmap back
  int keysOpened = 0;
  int keysClosed = 0;
  bool wouldBlock = false; // GetMessageA found nothing could ever arrive
};

std::vector<std::string> CallTexts();                         // "Name(args)" for every call
std::vector<std::string> CallNames();                         // just the names
int CountCalls(const std::string& name);                      // how often a call was made
std::vector<std::string> CallsNamed(const std::string& name); // "Name(args)" of one call
void ClearLog();                                              // forgets the calls so far

bool Exists(const std::string& path);
bool IsDir(const std::string& path);
std::string FileBytes(const std::string& path);
const RegValue* Value(const std::string& keyPath, const std::string& name);
HWND TopWindow(); // the last window created that is still there, or null
// Whether every memory context was deleted with its original bitmap selected back.
bool GdiBalanced();

// 3. Fault injection -----------------------------------------------------------------------------

// A call made to fail: the first `skip` calls pass, then `times` calls fail (-1: all of them)
// with `error` as the last-error code (errno for the C runtime; the result for the registry and
// the shell).
struct Fault {
  int skip = 0;
  int times = -1;
  DWORD error = ERROR_ACCESS_DENIED;
};

void Fail(const std::string& call, Fault fault = {});

// The world a test works on: the platform and the record of what was done to it.
struct World : Platform, Record {};

World& world();
void Reset(); // a fresh world (drive C: fixed, nothing else), an empty record, no faults

} // namespace sim
