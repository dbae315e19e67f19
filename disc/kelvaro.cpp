// kelvaro.exe, the demo game: notes each start with its working folder, then shows one window.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <string.h>
#include <windows.h>

namespace {

const char kClassName[] = "Kelvaro demo window";
const char kCaption[] = "Kelvaro: Wendraskel";
const char kDataFile[] = "kelvaro.dat";
const int kClientWidth = 480;
const int kClientHeight = 280;

// The menu's colours: night sky, dusk, gold, bronze and parchment.
const COLORREF kSkyTop = RGB(0x07, 0x07, 0x0d);
const COLORREF kSkyLow = RGB(0x22, 0x1a, 0x33);
const COLORREF kGold = RGB(0xe2, 0xbd, 0x6e);
const COLORREF kBronze = RGB(0x6e, 0x55, 0x33);
const COLORREF kParchment = RGB(0xd8, 0xcc, 0xae);
const COLORREF kParchmentDim = RGB(0x9a, 0x8f, 0x7a);

char g_story[2048];

bool EnvironmentIs(const char* name, const char* value) {
  char text[16];
  DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
  return length > 0 && length < sizeof text && strcmp(text, value) == 0;
}

// Appends "started <working folder>" to the file named by KELVARO_GAME_LOG, else to
// kelvaro-game.log in the temporary folder: how a test learns that the menu started the
// game, and from which folder.
void RecordStart() {
  char folder[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) lstrcpyA(folder, "?");

  char log[MAX_PATH];
  length = GetEnvironmentVariableA("KELVARO_GAME_LOG", log, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    length = GetTempPathA(MAX_PATH, log);
    if (length == 0 || length + sizeof "kelvaro-game.log" > MAX_PATH) return;
    lstrcatA(log, "kelvaro-game.log");
  }
  HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written;
  WriteFile(file, "started ", 8, &written, NULL);
  WriteFile(file, folder, static_cast<DWORD>(strlen(folder)), &written, NULL);
  WriteFile(file, "\r\n", 2, &written, NULL);
  CloseHandle(file);
}

// The story text lies beside the game; the menu starts the game in its install folder, so
// the data is looked for in the working folder, as a game of its day did.
void LoadStory() {
  HANDLE file = CreateFileA(kDataFile, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  DWORD got = 0;
  if (file != INVALID_HANDLE_VALUE) {
    if (!ReadFile(file, g_story, sizeof g_story - 1, &got, NULL)) got = 0;
    CloseHandle(file);
  }
  g_story[got] = 0;
  if (got > 0) return;
  char folder[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) lstrcpyA(folder, "?");
  lstrcpyA(g_story, "The game's data file kelvaro.dat is not in\r\n");
  lstrcatA(g_story, folder);
  lstrcatA(g_story, "\r\nStart the demo from the disc menu, or install it again.");
}

HFONT MakeFont(int height, int weight, bool italic) {
  return CreateFontA(-height, 0, 0, 0, weight, italic, FALSE, FALSE, ANSI_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                     VARIABLE_PITCH | FF_ROMAN, "Times New Roman");
}

void FillSky(HDC dc, const RECT& client) {
  // Bands of a vertical blend from the night above to the dusk below.
  const int bands = 32;
  int height = client.bottom - client.top;
  for (int i = 0; i < bands; ++i) {
    RECT band = {client.left, client.top + height * i / bands, client.right,
                 client.top + height * (i + 1) / bands};
    int r = GetRValue(kSkyTop) + (GetRValue(kSkyLow) - GetRValue(kSkyTop)) * i / (bands - 1);
    int g = GetGValue(kSkyTop) + (GetGValue(kSkyLow) - GetGValue(kSkyTop)) * i / (bands - 1);
    int b = GetBValue(kSkyTop) + (GetBValue(kSkyLow) - GetBValue(kSkyTop)) * i / (bands - 1);
    HBRUSH brush = CreateSolidBrush(RGB(r, g, b));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
  }
}

void DrawLine(HDC dc, const char* text, HFONT font, COLORREF colour, RECT area, UINT format) {
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, colour);
  DrawTextA(dc, text, -1, &area, format | DT_NOPREFIX);
  SelectObject(dc, old);
}

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  FillSky(dc, client);
  SetBkMode(dc, TRANSPARENT);

  HFONT small = MakeFont(13, FW_NORMAL, false);
  HFONT title = MakeFont(34, FW_BOLD, false);
  HFONT body = MakeFont(17, FW_NORMAL, false);
  HFONT note = MakeFont(14, FW_NORMAL, true);

  RECT area = {20, 18, client.right - 20, 36};
  DrawLine(dc, "H A R R O W L I G H T", small, kParchmentDim, area, DT_CENTER | DT_SINGLELINE);
  area.top = 38;
  area.bottom = 80;
  DrawLine(dc, kCaption, title, kGold, area, DT_CENTER | DT_SINGLELINE);

  RECT rule = {120, 88, client.right - 120, 89};
  HBRUSH bronze = CreateSolidBrush(kBronze);
  FillRect(dc, &rule, bronze);
  DeleteObject(bronze);

  area.top = 104;
  area.bottom = 128;
  DrawLine(dc, "The demo is running.", body, kGold, area, DT_CENTER | DT_SINGLELINE);
  area.top = 134;
  area.bottom = client.bottom - 40;
  DrawLine(dc, g_story, body, kParchment, area, DT_CENTER | DT_WORDBREAK);
  area.top = client.bottom - 32;
  area.bottom = client.bottom - 12;
  DrawLine(dc, "Click or press Esc to leave the demo.", note, kParchmentDim, area,
           DT_CENTER | DT_SINGLELINE);

  DeleteObject(small);
  DeleteObject(title);
  DeleteObject(body);
  DeleteObject(note);
  EndPaint(window, &paint);
}

LRESULT CALLBACK GameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT: Paint(window); return 0;
  case WM_LBUTTONUP: DestroyWindow(window); return 0;
  case WM_KEYDOWN:
    if (wParam == VK_ESCAPE) DestroyWindow(window);
    return 0;
  case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  RecordStart();
  if (EnvironmentIs("KELVARO_GAME_EXIT", "1")) return 0;
  LoadStory();

  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = GameWndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExA(&windowClass)) return 1;

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRect(&frame, style, FALSE);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  HWND window = CreateWindowExA(0, kClassName, kCaption, style, x, y, width, height, NULL, NULL,
                                instance, NULL);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);

  MSG message;
  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
