// Pins the simulated platform to the real one: the same checks run natively and under Wine.
//
// The world they expect: C: a fixed drive, E: a CD-ROM drive holding "contract\id.txt" with the
// text below, no drive Q:, and a writable temporary folder.
#include "facts/menu_facts.h"
#include "platform/win32.h"
#include "tests/support/check.h"

#ifndef _WIN32
#include "platform/sim/sim.h"
#endif

static const char kIdText[] = FACT_DISC_ID_PREFIX "1\r\n";
static const char kScratchKey[] = "Software\\KelvaroContract";

static void CreateScratchKey() {
#ifdef _WIN32
  HKEY key;
  RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key,
                      NULL) == ERROR_SUCCESS)
    RegCloseKey(key);
#else
  sim::CreateKey(std::string("HKCU\\") + kScratchKey);
#endif
}

static void RemoveScratchKey() {
#ifdef _WIN32
  RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);
#endif
}

static void Drives() {
  CHECK_EQ(os::GetDriveTypeA("C:\\"), DRIVE_FIXED);
  CHECK_EQ(os::GetDriveTypeA("E:\\"), DRIVE_CDROM);
  CHECK_EQ(os::GetDriveTypeA("Q:\\"), DRIVE_NO_ROOT_DIR);
  DWORD mask = os::GetLogicalDrives();
  CHECK(mask & (1u << ('C' - 'A')));
  CHECK(mask & (1u << ('E' - 'A')));
  CHECK(!(mask & (1u << ('Q' - 'A'))));
}

static void ReadingFiles() {
  // A read asks for more than the file holds: the count read is what was there.
  os::FILE* f = os::fopen("e:\\CONTRACT\\id.txt", "rb");
  if (CHECK(f != NULL)) {
    char buffer[100];
    memset(buffer, 0xbd, sizeof buffer);
    CHECK_EQ(os::fread(buffer, 1, sizeof buffer, f), sizeof kIdText - 1);
    CHECK(memcmp(buffer, kIdText, sizeof kIdText - 1) == 0);
    os::fclose(f);
  }
  CHECK(os::fopen("E:\\contract\\missing.txt", "rb") == NULL);
  CHECK(os::fopen("Q:\\contract\\id.txt", "rb") == NULL);
}

static void TempFolderAndFolders() {
  char temp[MAX_PATH];
  memset(temp, 0xbd, sizeof temp);
  DWORD length = os::GetTempPathA(MAX_PATH, temp);
  CHECK(length > 3 && length < MAX_PATH);
  CHECK_EQ(strlen(temp), length);
  CHECK_EQ(temp[length - 1], '\\');
  // Too small a buffer: the size needed, zero included.
  char small[4];
  CHECK_EQ(os::GetTempPathA(sizeof small, small), length + 1);

  char dir[MAX_PATH + 32], file[MAX_PATH + 32];
  snprintf(dir, sizeof dir, "%scontract-dir", temp);
  snprintf(file, sizeof file, "%scontract-file", temp);
  os::_mkdir(dir);
  errno = 0;
  CHECK_EQ(os::_mkdir(dir), -1);
  CHECK_EQ(errno, EEXIST);
  os::FILE* f = os::fopen(file, "w");
  if (CHECK(f != NULL)) os::fclose(f);
  errno = 0;
  CHECK_EQ(os::_mkdir(file), -1);
  CHECK_EQ(errno, EEXIST);
  CHECK(os::GetFileAttributesA(dir) & FILE_ATTRIBUTE_DIRECTORY);
  CHECK(!(os::GetFileAttributesA(file) & FILE_ATTRIBUTE_DIRECTORY));
  CHECK_EQ(os::GetFileAttributesA(file) == INVALID_FILE_ATTRIBUTES, 0);
  CHECK(os::DeleteFileA(file));
  CHECK(!os::DeleteFileA(file));
  // A folder cannot be deleted as a file.
  CHECK(!os::DeleteFileA(dir));
  // CreateDirectoryA on an existing folder fails with ERROR_ALREADY_EXISTS.
  CHECK(!os::CreateDirectoryA(dir, NULL));
  CHECK_EQ(os::GetLastError(), ERROR_ALREADY_EXISTS);
}

static void RegistryStrings() {
  CreateScratchKey();
  HKEY key;
  CHECK_EQ(
      os::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\KelvaroContract\\Missing", 0, KEY_READ, &key),
      ERROR_FILE_NOT_FOUND);
  if (!CHECK_EQ(os::RegOpenKeyExA(HKEY_CURRENT_USER, kScratchKey, 0,
                                  KEY_SET_VALUE | KEY_QUERY_VALUE, &key),
                ERROR_SUCCESS))
    return;
  // A string stored without its terminating zero. The system counts a zero the caller forgot
  // when one follows the data, so the byte after the counted ones is not a zero here.
  static const char kNoZero[] = "C:\\Games\\X";
  CHECK_EQ(os::RegSetValueExA(key, "NoZero", 0, REG_SZ, (const BYTE*)kNoZero, 9), ERROR_SUCCESS);
  CHECK_EQ(os::RegSetValueExA(key, "WithZero", 0, REG_SZ, (const BYTE*)"C:\\Games\\", 10),
           ERROR_SUCCESS);
  CHECK_EQ(os::RegSetValueExA(key, "Forgot", 0, REG_SZ, (const BYTE*)"C:\\Games\\", 9),
           ERROR_SUCCESS);

  // Read back, it is 9 bytes; where the buffer has room a zero follows them, uncounted.
  BYTE data[16];
  DWORD size = sizeof data, type = 0xdeadbeef;
  memset(data, 0xbd, sizeof data);
  CHECK_EQ(os::RegQueryValueExA(key, "NoZero", NULL, &type, data, &size), ERROR_SUCCESS);
  CHECK_EQ(type, REG_SZ);
  CHECK_EQ(size, 9);
  CHECK(memcmp(data, "C:\\Games\\", 9) == 0);
  CHECK_EQ(data[9], 0);
  CHECK_EQ(data[10], 0xbd);
  DWORD needed = 0;
  CHECK_EQ(os::RegQueryValueExA(key, "NoZero", NULL, NULL, NULL, &needed), ERROR_SUCCESS);
  CHECK_EQ(needed, 9);
  // Into exactly its own size it arrives without any zero.
  size = 9;
  memset(data, 0xbd, sizeof data);
  CHECK_EQ(os::RegQueryValueExA(key, "NoZero", NULL, NULL, data, &size), ERROR_SUCCESS);
  CHECK_EQ(size, 9);
  CHECK_EQ(data[9], 0xbd);
  // The forgotten zero was counted on the way in.
  size = sizeof data;
  CHECK_EQ(os::RegQueryValueExA(key, "Forgot", NULL, NULL, data, &size), ERROR_SUCCESS);
  CHECK_EQ(size, 10);

  size = sizeof data;
  memset(data, 0xbd, sizeof data);
  CHECK_EQ(os::RegQueryValueExA(key, "WithZero", NULL, NULL, data, &size), ERROR_SUCCESS);
  CHECK_EQ(size, 10);
  CHECK_EQ(data[9], 0);
  CHECK_EQ(data[10], 0xbd);

  // Too small a buffer: ERROR_MORE_DATA, and the size needed.
  size = 4;
  CHECK_EQ(os::RegQueryValueExA(key, "WithZero", NULL, NULL, data, &size), ERROR_MORE_DATA);
  CHECK_EQ(size, 10);
  size = sizeof data;
  CHECK_EQ(os::RegQueryValueExA(key, "Missing", NULL, NULL, data, &size), ERROR_FILE_NOT_FOUND);
  CHECK_EQ(os::RegCloseKey(key), ERROR_SUCCESS);
  RemoveScratchKey();
}

// Windows, messages, timers and paint, as the menu uses them --------------------------------------
//
// A window of the menu's class and styles records the messages it receives. Sequences are
// tables, walked against the record as in Wine's own message tests: an entry marked optional
// may be absent, and the first difference is reported with both sides.

// What the contract's world lacks and its checks need: posting a message, and time passing.
static void PostToWindow(HWND window, UINT message, WPARAM wParam) {
#ifdef _WIN32
  PostMessageA(window, message, wParam, 0);
#else
  sim::Post(window, message, wParam);
#endif
}

static void LetTimersFallDue(HWND window) {
#ifdef _WIN32
  (void)window;
  Sleep(100);
#else
  sim::Tick(window);
#endif
}

enum {
  kSent = 1,     // from inside a platform call, straight to the window procedure
  kQueued = 2,   // returned by GetMessageA and handed over by DispatchMessageA
  kOptional = 4, // the real system sends it, the simulation may leave it out: nothing of ours
                 // handles it
  kWparam = 8,   // wParam must match too
};

struct Msg {
  UINT message;
  int flags;
  WPARAM wParam;
};

static const struct {
  UINT message;
  const char* name;
  bool noise; // activation, focus, input methods, icons, palettes and the pointer's whereabouts:
              // whether and when they come depends on the desktop, and the menu leaves them all
              // to DefWindowProcA
} kMessages[] = {
    {WM_CREATE, "WM_CREATE", false},
    {WM_DESTROY, "WM_DESTROY", false},
    {WM_MOVE, "WM_MOVE", false},
    {WM_SIZE, "WM_SIZE", false},
    {0x0006, "WM_ACTIVATE", true},
    {0x0007, "WM_SETFOCUS", true},
    {0x0008, "WM_KILLFOCUS", true},
    {WM_PAINT, "WM_PAINT", false},
    {WM_CLOSE, "WM_CLOSE", false},
    {WM_ERASEBKGND, "WM_ERASEBKGND", false},
    {WM_SHOWWINDOW, "WM_SHOWWINDOW", false},
    {0x001c, "WM_ACTIVATEAPP", true},
    {0x0020, "WM_SETCURSOR", true},
    {0x0021, "WM_MOUSEACTIVATE", true},
    {0x0024, "WM_GETMINMAXINFO", true},
    {0x003d, "WM_GETOBJECT", true},
    {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING", false},
    {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED", false},
    {0x007f, "WM_GETICON", true},
    {WM_NCCREATE, "WM_NCCREATE", false},
    {WM_NCDESTROY, "WM_NCDESTROY", false},
    {WM_NCCALCSIZE, "WM_NCCALCSIZE", false},
    {0x0084, "WM_NCHITTEST", true},
    {WM_NCPAINT, "WM_NCPAINT", false},
    {0x0086, "WM_NCACTIVATE", true},
    {0x00a0, "WM_NCMOUSEMOVE", true},
    {WM_TIMER, "WM_TIMER", false},
    {WM_MOUSEMOVE, "WM_MOUSEMOVE", true},
    {0x0281, "WM_IME_SETCONTEXT", true},
    {0x0282, "WM_IME_NOTIFY", true},
    {0x0285, "WM_IME_SELECT", true},
    {0x02a2, "WM_NCMOUSELEAVE", true},
    {0x02a3, "WM_MOUSELEAVE", true},
    {0x030f, "WM_QUERYNEWPALETTE", true},
    {0x031f, "WM_DWMNCRENDERINGCHANGED", true},
    {WM_USER, "WM_USER", false},
    {WM_USER + 1, "WM_USER+1", false},
};

static const char* MessageName(UINT message) {
  static char unknown[16];
  for (const auto& m : kMessages)
    if (m.message == message) return m.name;
  snprintf(unknown, sizeof unknown, "0x%04x", message);
  return unknown;
}

static bool IsNoise(UINT message) {
  for (const auto& m : kMessages)
    if (m.message == message) return m.noise;
  return false;
}

static Msg g_received[64];
static int g_receivedCount;
static bool g_dispatching;  // DispatchMessageA is handing over what GetMessageA returned
static int g_depth;         // window procedure calls under way
static PAINTSTRUCT g_paint; // as the last BeginPaint filled it
static void (*g_onPaint)(HDC dc);

static LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsNoise(message) && g_receivedCount < 64)
    g_received[g_receivedCount++] = {message, g_dispatching && g_depth == 0 ? kQueued : kSent,
                                     wParam};
  ++g_depth;
  LRESULT result = 0;
  if (message == WM_PAINT) {
    memset(&g_paint, 0xbd, sizeof g_paint);
    HDC dc = os::BeginPaint(window, &g_paint);
    if (g_onPaint) g_onPaint(dc);
    os::EndPaint(window, &g_paint);
  } else {
    result = os::DefWindowProcA(window, message, wParam, lParam);
  }
  --g_depth;
  return result;
}

// Hands over what the queue gives until `last` has been dispatched; a few dozen at most, so
// that a simulation that never delivers it ends the check.
static void PumpUntil(UINT last) {
  for (int i = 0; i < 40; ++i) {
    MSG msg;
    memset(&msg, 0xbd, sizeof msg);
    if (os::GetMessageA(&msg, NULL, 0, 0) <= 0) return;
    g_dispatching = true;
    os::DispatchMessageA(&msg);
    g_dispatching = false;
    if (msg.message == last) return;
  }
}

static void Describe(char* out, size_t size, const Msg& m) {
  snprintf(out, size, "%s (%s%s)", MessageName(m.message), m.flags & kSent ? "sent" : "queued",
           m.flags & kOptional ? ", optional" : "");
  if (m.flags & kWparam)
    snprintf(out + strlen(out), size - strlen(out), " wParam %llu", (unsigned long long)m.wParam);
}

static bool Matches(const Msg& want, const Msg& got) {
  return want.message == got.message && (want.flags & (kSent | kQueued)) == got.flags &&
         (!(want.flags & kWparam) || want.wParam == got.wParam);
}

// Checks the messages received since the last check against `want` (ended by a zero entry).
static bool CheckSequence(const Msg* want, const char* what, const char* file, int line) {
  const Msg* got = g_received;
  const Msg* end = g_received + g_receivedCount;
  char expected[96] = "nothing more", received[96] = "nothing more";
  bool ok = true;
  while (want->message && got < end) {
    if (Matches(*want, *got)) {
      ++want, ++got;
    } else if (want->flags & kOptional) {
      ++want;
    } else {
      break;
    }
  }
  while (want->message && (want->flags & kOptional)) ++want;
  if (want->message || got < end) {
    ok = false;
    if (want->message) Describe(expected, sizeof expected, *want);
    if (got < end) Describe(received, sizeof received, *got);
  }
  if (!check::Report(ok, what, file, line)) {
    printf("    message %d: expected %s, got %s\n", (int)(got - g_received) + 1, expected,
           received);
    printf("    received:");
    for (const Msg* m = g_received; m < end; ++m)
      printf(" %s(%s)", MessageName(m->message), m->flags & kSent ? "sent" : "queued");
    printf("\n");
  }
  g_receivedCount = 0;
  return ok;
}
#define CHECK_SEQUENCE(want, what) CheckSequence((want), (what), __FILE__, __LINE__)

// A handle as a number, for checks that show both sides.
static long long Bits(const void* handle) { return (long long)(uintptr_t)handle; }

// The paint covered the whole client area, inside the one-pixel border, and left nothing to erase.
static void CheckPaintedAll(int width, int height) {
  CHECK_EQ(g_paint.fErase, FALSE);
  CHECK_EQ(g_paint.rcPaint.left, 0);
  CHECK_EQ(g_paint.rcPaint.top, 0);
  CHECK_EQ(g_paint.rcPaint.right, width - 2);
  CHECK_EQ(g_paint.rcPaint.bottom, height - 2);
}

static const int kX = 100, kY = 50, kWidth = 450, kHeight = 408; // the menu's size

// CreateWindowExA up to the first WM_PAINT: created, shown and erased with the class brush
// before the call returns; the first paint comes from the queue.
static HWND CreatingTheMenuWindow(ATOM atom, HINSTANCE instance) {
  static const Msg kCreateShown[] = {
      {WM_NCCREATE, kSent, 0},
      {WM_NCCALCSIZE, kSent | kOptional, 0},
      {WM_CREATE, kSent, 0},
      {WM_SIZE, kSent | kOptional, 0},
      {WM_MOVE, kSent | kOptional, 0},
      {WM_SHOWWINDOW, kSent | kOptional, 0},
      {WM_WINDOWPOSCHANGING, kSent | kOptional, 0},
      {WM_NCPAINT, kSent | kOptional, 0},
      {WM_ERASEBKGND, kSent, 0},
      {WM_WINDOWPOSCHANGED, kSent | kOptional, 0},
      {WM_PAINT, kQueued, 0},
      {0, 0, 0},
  };
  g_receivedCount = 0;
  HWND window = os::CreateWindowExA(WS_EX_APPWINDOW, MAKEINTATOM(atom), "Kelvaro contract",
                                    WS_POPUPWINDOW | WS_VISIBLE, kX, kY, kWidth, kHeight, NULL,
                                    NULL, instance, NULL);
  if (!CHECK(window != NULL)) return NULL;
  PumpUntil(WM_PAINT);
  CHECK_SEQUENCE(kCreateShown, "a shown popup's messages up to its first paint");
  CheckPaintedAll(kWidth, kHeight);
  return window;
}

// The client area starts inside the one-pixel border: screen points at the window's edges.
static void ClientArea(HWND window) {
  RECT r;
  memset(&r, 0xbd, sizeof r);
  CHECK(os::GetWindowRect(window, &r));
  CHECK_EQ(r.left, kX);
  CHECK_EQ(r.top, kY);
  CHECK_EQ(r.right, kX + kWidth);
  CHECK_EQ(r.bottom, kY + kHeight);
  const struct {
    int screenX, screenY, clientX, clientY;
  } points[] = {
      {kX, kY, -1, -1},                                             // the border
      {kX + 1, kY + 1, 0, 0},                                       // the first client pixel
      {kX + kWidth - 2, kY + kHeight - 2, kWidth - 3, kHeight - 3}, // the last one
      {kX + kWidth - 1, kY + kHeight - 1, kWidth - 2, kHeight - 2}, // the border again
  };
  for (const auto& p : points) {
    POINT point = {p.screenX, p.screenY};
    CHECK(os::ScreenToClient(window, &point));
    CHECK_EQ(point.x, p.clientX);
    CHECK_EQ(point.y, p.clientY);
  }
}

// InvalidateRgn over the whole window: the next paint comes from the queue, erasing first only
// when asked to.
static void Repainting(HWND window) {
  static const Msg kRepaint[] = {{WM_PAINT, kQueued, 0}, {0, 0, 0}};
  static const Msg kRepaintErased[] = {
      {WM_PAINT, kQueued, 0}, {WM_ERASEBKGND, kSent, 0}, {0, 0, 0}};
  const struct {
    BOOL erase;
    const Msg* sequence;
    const char* what;
  } cases[] = {
      {FALSE, kRepaint, "InvalidateRgn(window, NULL, FALSE): a paint without an erase"},
      {TRUE, kRepaintErased, "InvalidateRgn(window, NULL, TRUE): BeginPaint erases"},
  };
  for (const auto& c : cases) {
    CHECK(os::InvalidateRgn(window, NULL, c.erase));
    PumpUntil(WM_PAINT);
    CHECK_SEQUENCE(c.sequence, c.what);
    CheckPaintedAll(kWidth, kHeight);
  }
}

// SelectObject gives back what the context held before; a bitmap goes into a memory context
// only. As the menu does it: a memory context made from the paint's, inside WM_PAINT.
static HBITMAP g_pictures[2];
static int g_selections;

static void SelectPictures(HDC paintDc) {
  ++g_selections;
  HDC memory = os::CreateCompatibleDC(paintDc);
  if (!CHECK(memory != NULL)) return;
  HGDIOBJ own = os::SelectObject(memory, g_pictures[0]);
  CHECK(own != NULL); // the context's own one-pixel bitmap
  CHECK_EQ(Bits(os::SelectObject(memory, g_pictures[1])), Bits(g_pictures[0]));
  CHECK_EQ(Bits(os::SelectObject(memory, own)), Bits(g_pictures[1]));
  CHECK_EQ(Bits(os::SelectObject(paintDc, g_pictures[0])), 0);
  CHECK(os::DeleteDC(memory));
}

// A small 24-bit bitmap file of the given size, all black.
static void PutBitmap(const char* path, int width, int height) {
  int row = (width * 3 + 3) / 4 * 4;
  unsigned char bytes[128] = {'B', 'M'};
  int size = 54 + row * height;
  if (!CHECK(size <= (int)sizeof bytes)) return;
  const int fields[][2] = {{2, size}, {10, 54}, {14, 40}, {18, width}, {22, height}};
  for (const auto& f : fields)
    for (int i = 0; i < 4; ++i) bytes[f[0] + i] = (unsigned char)(f[1] >> (8 * i));
  bytes[26] = 1;
  bytes[28] = 24;
#ifdef _WIN32
  FILE* out = fopen(path, "wb");
  if (out) {
    fwrite(bytes, 1, (size_t)size, out);
    fclose(out);
  }
#else
  sim::PutFile(path, std::string((const char*)bytes, (size_t)size));
#endif
}

static void SelectingPictures(HWND window) {
  char temp[MAX_PATH], paths[2][MAX_PATH + 32], missing[MAX_PATH + 32];
  os::GetTempPathA(MAX_PATH, temp);
  for (int i = 0; i < 2; ++i) {
    snprintf(paths[i], sizeof paths[i], "%scontract-%d.bmp", temp, i);
    PutBitmap(paths[i], 2 + i, 2);
    g_pictures[i] = (HBITMAP)os::LoadImageA(NULL, paths[i], IMAGE_BITMAP, 0, 0,
                                            LR_DEFAULTSIZE | LR_LOADFROMFILE);
    CHECK(g_pictures[i] != NULL);
  }
  // A picture that is not there: the menu draws a stand-in in its place.
  snprintf(missing, sizeof missing, "%scontract-missing.bmp", temp);
  CHECK(os::LoadImageA(NULL, missing, IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE | LR_LOADFROMFILE) ==
        NULL);
  if (g_pictures[0] && g_pictures[1]) {
    g_onPaint = SelectPictures;
    os::InvalidateRgn(window, NULL, FALSE);
    PumpUntil(WM_PAINT);
    g_onPaint = NULL;
    CHECK_EQ(g_selections, 1);
  }
  g_receivedCount = 0;
  for (const auto& path : paths) os::DeleteFileA(path);
}

// A due timer's WM_TIMER comes only when the queue is otherwise empty: after posted messages and
// after a waiting paint.
static void TimerAfterPostedAndPaint(HWND window) {
  static const Msg kOrder[] = {
      {WM_USER, kQueued | kWparam, 1},
      {WM_USER, kQueued | kWparam, 2},
      {WM_PAINT, kQueued, 0},
      {WM_TIMER, kQueued | kWparam, 0}, // the menu's timer id
      {0, 0, 0},
  };
  CHECK(os::SetTimer(window, 0, 10, NULL) != 0);
  LetTimersFallDue(window);
  PostToWindow(window, WM_USER, 1);
  os::InvalidateRgn(window, NULL, FALSE);
  PostToWindow(window, WM_USER, 2);
  PumpUntil(WM_TIMER);
  CHECK_SEQUENCE(kOrder, "posted messages, then the paint, then the timer");
}

// DefWindowProcA answers WM_CLOSE by destroying the window.
static void CloseDestroys(HWND window, ATOM atom, HINSTANCE instance) {
  static const Msg kClose[] = {
      {WM_CLOSE, kQueued, 0},
      {WM_WINDOWPOSCHANGING, kSent | kOptional, 0},
      {WM_WINDOWPOSCHANGED, kSent | kOptional, 0},
      {WM_DESTROY, kSent, 0},
      {WM_NCDESTROY, kSent | kOptional, 0},
      {0, 0, 0},
  };
  PostToWindow(window, WM_CLOSE, 0);
  PumpUntil(WM_CLOSE);
  CHECK_SEQUENCE(kClose, "WM_CLOSE left to DefWindowProcA");
  CHECK(!os::DestroyWindow(window));                        // gone already
  CHECK(os::UnregisterClassA(MAKEINTATOM(atom), instance)); // no window of the class is left
}

// After PostQuitMessage, GetMessageA gives what was posted before it, then 0 with the exit
// code in wParam.
static void QuitEndsTheLoop() {
  PostToWindow(NULL, WM_USER + 1, 7);
  os::PostQuitMessage(3);
  MSG msg;
  memset(&msg, 0xbd, sizeof msg);
  CHECK_EQ(os::GetMessageA(&msg, NULL, 0, 0), TRUE);
  CHECK_EQ(msg.message, WM_USER + 1);
  memset(&msg, 0xbd, sizeof msg);
  CHECK_EQ(os::GetMessageA(&msg, NULL, 0, 0), 0);
  CHECK_EQ(msg.message, WM_QUIT);
  CHECK_EQ(msg.wParam, 3);
}

static void WindowsAndMessages() {
  HINSTANCE instance = os::GetModuleHandleA(NULL);
  WNDCLASSEXA wc;
  memset(&wc, 0, sizeof wc);
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = instance;
  wc.hbrBackground = (HBRUSH)os::GetStockObject(BLACK_BRUSH);
  wc.lpszClassName = "KelvaroContract";
  ATOM atom = os::RegisterClassExA(&wc);
  if (!CHECK(atom != 0)) return;
  HWND window = CreatingTheMenuWindow(atom, instance);
  if (!window) return;
  ClientArea(window);
  Repainting(window);
  SelectingPictures(window);
  TimerAfterPostedAndPaint(window);
  CloseDestroys(window, atom, instance);
  QuitEndsTheLoop();
}

int main() {
#ifndef _WIN32
  sim::Reset();
  sim::AddDrive('E', DRIVE_CDROM);
  sim::PutFile("E:\\contract\\id.txt", kIdText);
  sim::MakeDir(sim::world().tempPath);
#endif
  Drives();
  ReadingFiles();
  TempFolderAndFolders();
  RegistryStrings();
  WindowsAndMessages();
  return check::Finish();
}
