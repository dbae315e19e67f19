// Simulated window classes, windows, the thread's message queue, timers and the cursor.
#include "platform/sim/sim_internal.h"

#include <cstring>

namespace sim {
using namespace detail;

static std::string MessageName(UINT message) {
  switch (message) {
  case WM_NCCREATE: return "WM_NCCREATE";
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

// The client area lies inside the one-pixel border of a bordered window.
static int Border(const World::Window& w) { return (w.style & WS_BORDER) ? 1 : 0; }

static POINT ClientOrigin(const World::Window& w) {
  return POINT{w.x + Border(w), w.y + Border(w)};
}

static RECT ClientRect(const World::Window& w) {
  return RECT{0, 0, w.width - 2 * Border(w), w.height - 2 * Border(w)};
}

// Sends WM_ERASEBKGND with `dc`; whether the procedure erased the background.
static bool SendErase(HWND window, HDC dc) {
  World::Window* w = FindWindow(window);
  return w && w->proc(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) != 0;
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
  for (World::Timer& t : world().timers)
    if (t.window == window) t.due = true;
}

HWND TopWindow() {
  HWND last = nullptr;
  for (auto& [h, w] : world().windows)
    if (w.alive) last = h;
  return last;
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
  if (const Fault* f = Enter("RegisterClassExA", wc ? Text(wc->lpszClassName) : "NULL"))
    return Failed(ATOM{0}, f->error);
  if (!wc || !wc->lpszClassName || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpfnWndProc)
    return Failed(ATOM{0}, ERROR_INVALID_PARAMETER);
  if (FindClass(wc->lpszClassName)) return Failed(ATOM{0}, ERROR_CLASS_ALREADY_EXISTS);
  World::WindowClass c{*wc, wc->lpszClassName, world().nextAtom++};
  c.wc.lpszClassName = nullptr; // the caller's text is not kept
  world().classes[Upper(c.name)] = c;
  return c.atom;
}

BOOL UnregisterClassA(LPCSTR name, HINSTANCE instance) {
  if (const Fault* f = Enter("UnregisterClassA", Join({ClassArg(name), Handle(instance)})))
    return Failed(FALSE, f->error);
  World::WindowClass* c = FindClass(name);
  if (!c) return Failed(FALSE, ERROR_CLASS_DOES_NOT_EXIST);
  for (auto& [h, w] : world().windows)
    if (w.alive && Upper(w.className) == Upper(c->name))
      return Failed(FALSE, ERROR_CLASS_HAS_WINDOWS);
  world().classes.erase(Upper(c->name));
  return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR caption, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  HWND const kNone = nullptr;
  if (const Fault* f = Enter("CreateWindowExA",
                             Join({Hex(exStyle), ClassArg(className), Text(caption), Hex(style),
                                   Num(x), Num(y), Num(width), Num(height), Handle(parent),
                                   Handle(menu), Handle(instance), Handle(param)})))
    return Failed(kNone, f->error);
  World::WindowClass* c = FindClass(className);
  if (!c) return Failed(kNone, ERROR_CANNOT_FIND_WND_CLASS);
  World& w = world();
  HWND h = reinterpret_cast<HWND>(w.nextWindow++);
  World::Window& win = w.windows[h];
  win.className = c->name;
  win.style = style;
  win.x = x;
  win.y = y;
  win.width = width;
  win.height = height;
  win.proc = c->wc.lpfnWndProc;
  NameHandle(h, "window");
  // The procedure can still refuse the window at either of its first two messages.
  if (!win.proc(h, WM_NCCREATE, 0, 0) || win.proc(h, WM_CREATE, 0, 0) == -1) {
    win.alive = false;
    return Failed(kNone, ERROR_INVALID_WINDOW_HANDLE);
  }
  if (style & WS_VISIBLE) {
    // Shown at once: the background is erased before the call returns, and the first
    // WM_PAINT waits in the queue for the whole client area.
    HDC dc = NewDC(false, "window dc");
    SendErase(h, dc);
    w.dcs.erase(dc);
    if (World::Window* shown = FindWindow(h)) shown->invalid = true;
  }
  return h;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::string shownWParam = message == WM_ERASEBKGND ? Handle(reinterpret_cast<HDC>(wParam))
                                                     : Num(static_cast<long long>(wParam));
  Enter("DefWindowProcA", Join({Handle(window), MessageName(message), shownWParam,
                                Num(static_cast<long long>(lParam))}));
  World::Window* w = FindWindow(window);
  if (!w) return 0;
  switch (message) {
  case WM_NCCREATE: return TRUE;
  case WM_CLOSE: DestroyWindow(window); return 0;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    BeginPaint(window, &ps);
    EndPaint(window, &ps);
    return 0;
  }
  case WM_ERASEBKGND: {
    // The class brush fills the client area; without one nothing is erased.
    auto c = world().classes.find(Upper(w->className));
    if (c == world().classes.end() || !c->second.wc.hbrBackground) return 0;
    ++world().erases;
    return 1;
  }
  default: return 0;
  }
}

BOOL DestroyWindow(HWND window) {
  if (const Fault* f = Enter("DestroyWindow", Handle(window))) return Failed(FALSE, f->error);
  World::Window* w = FindWindow(window);
  if (!w) return Failed(FALSE, ERROR_INVALID_WINDOW_HANDLE);
  w->proc(window, WM_DESTROY, 0, 0);
  w->alive = false;
  w->invalid = false;
  auto& timers = world().timers;
  for (size_t i = timers.size(); i-- > 0;)
    if (timers[i].window == window) timers.erase(timers.begin() + static_cast<long>(i));
  return TRUE;
}

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
  HDC const kNone = nullptr;
  if (const Fault* f = Enter("BeginPaint", Join({Handle(window), paint ? "paint" : "NULL"})))
    return Failed(kNone, f->error);
  World::Window* w = FindWindow(window);
  if (!w) return Failed(kNone, ERROR_INVALID_WINDOW_HANDLE);
  if (!paint) return Failed(kNone, ERROR_INVALID_PARAMETER);
  bool invalid = w->invalid, erase = w->erase;
  RECT client = ClientRect(*w);
  w->invalid = false;
  w->erase = false;
  HDC dc = NewDC(false, "paint dc");
  ++world().paints;
  bool erased = erase && SendErase(window, dc);
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  // Still to be erased by the caller when the procedure left it undone.
  paint->fErase = erase && !erased;
  paint->rcPaint = invalid ? client : RECT{0, 0, 0, 0};
  return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
  Enter("EndPaint", Join({Handle(window), paint ? "paint" : "NULL"}));
  if (!paint) return Failed(FALSE, ERROR_INVALID_PARAMETER);
  world().dcs.erase(paint->hdc);
  return TRUE;
}

BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
  Enter("GetMessageA",
        Join({msg ? "msg" : "NULL", Handle(window), Num(filterMin), Num(filterMax)}));
  World& w = world();
  for (;;) {
    // Posted messages come first, then the quit message, then paints; a timer's message only
    // when nothing else waits.
    *msg = MSG{};
    if (!w.queue.empty()) {
      *msg = w.queue.front();
      w.queue.pop_front();
      return TRUE;
    }
    if (w.quitPosted) {
      w.quitPosted = false;
      msg->message = WM_QUIT;
      msg->wParam = static_cast<WPARAM>(w.quitCode);
      return FALSE;
    }
    for (auto& [h, win] : w.windows) {
      if (win.alive && win.invalid) {
        msg->hwnd = h;
        msg->message = WM_PAINT;
        return TRUE;
      }
    }
    for (World::Timer& t : w.timers) {
      if (t.due) {
        t.due = false;
        msg->hwnd = t.window;
        msg->message = WM_TIMER;
        msg->wParam = t.id;
        return TRUE;
      }
    }
    if (w.idleSteps.empty()) {
      // Nothing could ever arrive: the real call would wait forever.
      w.wouldBlock = true;
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
  if (!msg) return Failed(LRESULT{0}, ERROR_INVALID_PARAMETER);
  World::Window* w = FindWindow(msg->hwnd);
  if (!w) return 0;
  WNDPROC proc = w->proc;
  LRESULT result = proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  // A paint that the window procedure did not validate would come again at once.
  if (msg->message == WM_PAINT)
    if (World::Window* painted = FindWindow(msg->hwnd)) painted->invalid = false;
  return result;
}

void PostQuitMessage(int exitCode) {
  Enter("PostQuitMessage", Num(exitCode));
  world().quitPosted = true;
  world().quitCode = exitCode;
}

HWND GetDesktopWindow() {
  Enter("GetDesktopWindow", "");
  return reinterpret_cast<HWND>(kDesktop);
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
  if (const Fault* f = Enter("GetWindowRect", Join({Handle(window), rect ? "rect" : "NULL"})))
    return Failed(FALSE, f->error);
  if (!rect) return Failed(FALSE, ERROR_INVALID_PARAMETER);
  if (window == reinterpret_cast<HWND>(kDesktop)) {
    *rect = RECT{0, 0, world().screenWidth, world().screenHeight};
    return TRUE;
  }
  World::Window* w = FindWindow(window);
  if (!w) return Failed(FALSE, ERROR_INVALID_WINDOW_HANDLE);
  *rect = RECT{w->x, w->y, w->x + w->width, w->y + w->height};
  return TRUE;
}

BOOL GetCursorPos(LPPOINT point) {
  if (const Fault* f = Enter("GetCursorPos", point ? "point" : "NULL"))
    return Failed(FALSE, f->error);
  if (!point) return Failed(FALSE, ERROR_INVALID_PARAMETER);
  *point = world().cursor;
  return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
  if (const Fault* f = Enter("ScreenToClient", Join({Handle(window), point ? "point" : "NULL"})))
    return Failed(FALSE, f->error);
  World::Window* w = FindWindow(window);
  if (!w) return Failed(FALSE, ERROR_INVALID_WINDOW_HANDLE);
  if (!point) return Failed(FALSE, ERROR_INVALID_PARAMETER);
  POINT o = ClientOrigin(*w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase) {
  if (const Fault* f = Enter("InvalidateRgn", Join({Handle(window), Handle(region), Num(erase)})))
    return Failed(FALSE, f->error);
  World::Window* w = FindWindow(window);
  if (!w) return Failed(FALSE, ERROR_INVALID_WINDOW_HANDLE);
  w->invalid = true;
  w->erase = w->erase || erase;
  return TRUE;
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC callback) {
  if (const Fault* f = Enter("SetTimer", Join({Handle(window), Num(static_cast<long long>(id)),
                                               Num(period), callback ? "callback" : "NULL"})))
    return Failed(UINT_PTR{0}, f->error);
  if (window && !FindWindow(window)) return Failed(UINT_PTR{0}, ERROR_INVALID_WINDOW_HANDLE);
  // A window's timer set again starts over; the result is its id, or 1 for id 0.
  UINT_PTR result = id ? id : 1;
  for (World::Timer& t : world().timers)
    if (t.window == window && t.id == id) return t.due = false, result;
  world().timers.push_back({window, id});
  return result;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  HICON const kNone = nullptr;
  if (const Fault* f = Enter("LoadIconA", Join({Handle(instance), ClassArg(name)})))
    return Failed(kNone, f->error);
  return reinterpret_cast<HICON>(kIcon);
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  HCURSOR const kNone = nullptr;
  if (const Fault* f = Enter("LoadCursorA", Join({Handle(instance), ClassArg(name)})))
    return Failed(kNone, f->error);
  return reinterpret_cast<HCURSOR>(kCursor);
}

} // namespace os
