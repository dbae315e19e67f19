// Simulated window classes, windows, the thread's message queue, timers and the cursor.
#include "platform/sim/sim_internal.h"

#include <cstring>

namespace sim {
using namespace detail;

static const HWND kDesktop = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10010));

static std::string MessageName(UINT message) {
  switch (message) {
  case WM_PAINT: return "WM_PAINT";
  case WM_TIMER: return "WM_TIMER";
  case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
  case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
  case WM_LBUTTONUP: return "WM_LBUTTONUP";
  case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
  case WM_RBUTTONUP: return "WM_RBUTTONUP";
  case WM_CLOSE: return "WM_CLOSE";
  case WM_CREATE: return "WM_CREATE";
  case WM_DESTROY: return "WM_DESTROY";
  case WM_ERASEBKGND: return "WM_ERASEBKGND";
  case WM_KEYDOWN: return "WM_KEYDOWN";
  case WM_QUIT: return "WM_QUIT";
  default: return Hex(message);
  }
}

static World::Window* FindWindow(HWND window) {
  auto it = world().windows.find(window);
  return it == world().windows.end() || !it->second.alive ? nullptr : &it->second;
}

// The client area starts inside the one-pixel border of a bordered window.
static POINT ClientOrigin(const World::Window& w) {
  int border = (w.style & WS_BORDER) ? 1 : 0;
  return POINT{w.x + border, w.y + border};
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg{};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  world().queue.push_back(msg);
}

void MoveCursorOnScreen(int x, int y) { world().cursor = POINT{x, y}; }

void MoveCursor(HWND window, int clientX, int clientY) {
  if (World::Window* w = FindWindow(window)) {
    POINT o = ClientOrigin(*w);
    MoveCursorOnScreen(o.x + clientX, o.y + clientY);
  }
  Post(window, WM_MOUSEMOVE, 0, MAKELPARAM(clientX, clientY));
}

void Click(HWND window, int clientX, int clientY) {
  MoveCursor(window, clientX, clientY);
  Post(window, WM_LBUTTONDOWN, 1, MAKELPARAM(clientX, clientY));
  Post(window, WM_LBUTTONUP, 0, MAKELPARAM(clientX, clientY));
}

void Tick(HWND window) {
  for (const World::Timer& t : world().timers)
    if (t.window == window) return Post(window, WM_TIMER, t.id, 0);
}

HWND TopWindow() {
  HWND last = nullptr;
  for (auto& [h, w] : world().windows)
    if (w.alive) last = h;
  return last;
}

void PumpMessages() {
  MSG msg;
  World& w = world();
  // Only what is there now: posted messages, then the paints they cause.
  while (!w.queue.empty() || [&] {
    for (auto& [h, win] : w.windows)
      if (win.alive && win.invalid) return true;
    return false;
  }()) {
    if (!os::GetMessageA(&msg, nullptr, 0, 0)) break;
    os::TranslateMessage(&msg);
    os::DispatchMessageA(&msg);
  }
}

} // namespace sim

namespace os {
using namespace sim;
using namespace sim::detail;

static std::string ClassArg(LPCSTR name) {
  return name && IS_INTRESOURCE(name) ? "atom " + Hex(reinterpret_cast<uintptr_t>(name))
                                      : Text(name);
}

static World::WindowClass* FindClass(LPCSTR name) {
  if (!name) return nullptr;
  for (auto& [key, c] : world().classes) {
    if (IS_INTRESOURCE(name) ? c.atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(name))
                             : key == Upper(name))
      return &c;
  }
  return nullptr;
}

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
  if (Enter("RegisterClassExA", wc ? Text(wc->lpszClassName) : "NULL")) return 0;
  if (!wc || !wc->lpszClassName || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpfnWndProc) return 0;
  if (FindClass(wc->lpszClassName)) return world().lastError = 1410, 0; // already registered
  World::WindowClass c{*wc, wc->lpszClassName, world().nextAtom++};
  c.wc.lpszClassName = nullptr; // the caller's text is not kept
  world().classes[Upper(c.name)] = c;
  return c.atom;
}

BOOL UnregisterClassA(LPCSTR name, HINSTANCE instance) {
  if (Enter("UnregisterClassA", Join({ClassArg(name), Handle(instance)}))) return FALSE;
  World::WindowClass* c = FindClass(name);
  if (!c) return world().lastError = 1411, FALSE;
  for (auto& [h, w] : world().windows)
    if (w.alive && Upper(w.className) == Upper(c->name)) return world().lastError = 1412, FALSE;
  world().classes.erase(Upper(c->name));
  return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR caption, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  if (Enter("CreateWindowExA", Join({Hex(exStyle), ClassArg(className), Text(caption), Hex(style),
                                     Num(x), Num(y), Num(width), Num(height), Handle(parent),
                                     Handle(menu), Handle(instance), Handle(param)})))
    return nullptr;
  World::WindowClass* c = FindClass(className);
  if (!c) return world().lastError = 1407, nullptr; // ERROR_CANNOT_FIND_WND_CLASS
  World& w = world();
  HWND h = reinterpret_cast<HWND>(w.nextWindow++);
  World::Window win;
  win.className = c->name;
  win.caption = caption ? caption : "";
  win.style = style;
  win.exStyle = exStyle;
  win.x = x;
  win.y = y;
  win.width = width;
  win.height = height;
  win.proc = c->wc.lpfnWndProc;
  w.windows[h] = win;
  win.proc(h, WM_CREATE, 0, 0);
  if (style & WS_VISIBLE) {
    w.windows[h].invalid = true;
    w.windows[h].erase = true;
  }
  return h;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Enter("DefWindowProcA",
        Join({Handle(window), MessageName(message), Num(static_cast<long long>(wParam)),
              Num(static_cast<long long>(lParam))}));
  World::Window* w = FindWindow(window);
  if (!w) return 0;
  switch (message) {
  case WM_CLOSE: DestroyWindow(window); return 0;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    BeginPaint(window, &ps);
    EndPaint(window, &ps);
    return 0;
  }
  case WM_ERASEBKGND: {
    // The class brush fills the client area.
    ++world().erases;
    return 1;
  }
  default: return 0;
  }
}

BOOL DestroyWindow(HWND window) {
  if (Enter("DestroyWindow", Handle(window))) return FALSE;
  World::Window* w = FindWindow(window);
  if (!w) return world().lastError = 1400, FALSE; // ERROR_INVALID_WINDOW_HANDLE
  w->proc(window, WM_DESTROY, 0, 0);
  w->alive = false;
  w->invalid = false;
  auto& timers = world().timers;
  for (size_t i = timers.size(); i-- > 0;)
    if (timers[i].window == window) timers.erase(timers.begin() + static_cast<long>(i));
  return TRUE;
}

BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
  Enter("GetMessageA",
        Join({msg ? "msg" : "NULL", Handle(window), Num(filterMin), Num(filterMax)}));
  World& w = world();
  for (;;) {
    if (!w.queue.empty()) {
      *msg = w.queue.front();
      w.queue.pop_front();
      return TRUE;
    }
    if (w.quitPosted) {
      w.quitPosted = false;
      *msg = MSG{};
      msg->message = WM_QUIT;
      msg->wParam = static_cast<WPARAM>(w.quitCode);
      return FALSE;
    }
    for (auto& [h, win] : w.windows) {
      if (win.alive && win.invalid) {
        *msg = MSG{};
        msg->hwnd = h;
        msg->message = WM_PAINT;
        return TRUE;
      }
    }
    if (w.idleSteps.empty()) {
      // Nothing could ever arrive: the real call would wait forever.
      w.wouldBlock = true;
      *msg = MSG{};
      msg->message = WM_QUIT;
      return FALSE;
    }
    std::function<void()> step = w.idleSteps.front();
    w.idleSteps.pop_front();
    step();
  }
}

BOOL TranslateMessage(const MSG* msg) {
  Enter("TranslateMessage", msg ? MessageName(msg->message) : "NULL");
  return FALSE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  Enter("DispatchMessageA", msg ? Join({Handle(msg->hwnd), MessageName(msg->message)}) : "NULL");
  if (!msg) return 0;
  World::Window* w = FindWindow(msg->hwnd);
  if (!w) return 0;
  WNDPROC proc = w->proc;
  LRESULT result = proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  // A paint that the window procedure did not validate would come again at once.
  if (msg->message == WM_PAINT && FindWindow(msg->hwnd) && FindWindow(msg->hwnd)->invalid) {
    FindWindow(msg->hwnd)->invalid = false;
    world().lastError = 0;
  }
  return result;
}

void PostQuitMessage(int exitCode) {
  Enter("PostQuitMessage", Num(exitCode));
  world().quitPosted = true;
  world().quitCode = exitCode;
}

HWND GetDesktopWindow() {
  Enter("GetDesktopWindow", "");
  return kDesktop;
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
  if (Enter("GetWindowRect", Join({Handle(window), rect ? "rect" : "NULL"}))) return FALSE;
  if (!rect) return FALSE;
  if (window == kDesktop) {
    *rect = RECT{0, 0, world().screenWidth, world().screenHeight};
    return TRUE;
  }
  World::Window* w = FindWindow(window);
  if (!w) return FALSE;
  *rect = RECT{w->x, w->y, w->x + w->width, w->y + w->height};
  return TRUE;
}

BOOL GetCursorPos(LPPOINT point) {
  if (Enter("GetCursorPos", point ? "point" : "NULL")) return FALSE;
  if (!point) return FALSE;
  *point = world().cursor;
  return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
  if (Enter("ScreenToClient", Join({Handle(window), point ? "point" : "NULL"}))) return FALSE;
  World::Window* w = FindWindow(window);
  if (!w || !point) return FALSE;
  POINT o = ClientOrigin(*w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase) {
  if (Enter("InvalidateRgn", Join({Handle(window), Handle(region), Num(erase)}))) return FALSE;
  World::Window* w = FindWindow(window);
  if (!w) return FALSE;
  w->invalid = true;
  w->erase = w->erase || erase;
  return TRUE;
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC callback) {
  if (Enter("SetTimer", Join({Handle(window), Num(static_cast<long long>(id)), Num(period),
                              callback ? "callback" : "NULL"})))
    return 0;
  if (window && !FindWindow(window)) return 0;
  world().timers.push_back({window, id, period});
  return 1;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (Enter("LoadIconA", Join({Handle(instance), ClassArg(name)}))) return nullptr;
  return reinterpret_cast<HICON>(static_cast<uintptr_t>(0x30000));
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (Enter("LoadCursorA", Join({Handle(instance), ClassArg(name)}))) return nullptr;
  return reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(0x30001));
}

} // namespace os
