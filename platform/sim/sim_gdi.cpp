// Simulated GDI: bitmaps loaded from files, device contexts, selections and a record of drawing.
#include "platform/sim/sim_internal.h"

#include <cstring>

namespace sim {
using namespace detail;

static const HGDIOBJ kStockBitmap = reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(0x40000));

std::string BitmapFile(int width, int height) {
  // The headers of an 8-bit bitmap: enough for a loader that reads the size.
  std::string bytes(54, '\0');
  auto put32 = [&](size_t at, int32_t v) { memcpy(&bytes[at], &v, 4); };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, 54);
  put32(10, 54);
  put32(14, 40);
  put32(18, width);
  put32(22, height);
  bytes[26] = 1;
  bytes[28] = 8;
  return bytes;
}

bool GdiBalanced() {
  for (auto& [h, dc] : world().dcs)
    if (dc.memory) return false;
  return world().dcsDeletedWithSelection == 0;
}

} // namespace sim

namespace os {
using namespace sim;
using namespace sim::detail;

static HGDIOBJ NewGdiHandle() { return reinterpret_cast<HGDIOBJ>(world().nextGdi++); }

static World::DeviceContext* FindDC(HDC dc) {
  auto it = world().dcs.find(dc);
  return it == world().dcs.end() ? nullptr : &it->second;
}

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  if (Enter("LoadImageA",
            Join({Handle(instance), Text(name), Num(type), Num(cx), Num(cy), Hex(flags)})))
    return nullptr;
  if (type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE) || !name) return nullptr;
  FileEntry* e = Entry(name);
  if (!e || e->dir || e->bytes.size() < 26 || e->bytes.compare(0, 2, "BM") != 0 || !Readable(name))
    return world().lastError = ERROR_FILE_NOT_FOUND, nullptr;
  int32_t width, height;
  memcpy(&width, e->bytes.data() + 18, 4);
  memcpy(&height, e->bytes.data() + 22, 4);
  HGDIOBJ h = NewGdiHandle();
  world().bitmaps[h] = World::Bitmap{name, width, height < 0 ? -height : height};
  return h;
}

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
  if (Enter("BeginPaint", Join({Handle(window), paint ? "paint" : "NULL"}))) return nullptr;
  auto it = world().windows.find(window);
  if (it == world().windows.end() || !it->second.alive || !paint) return nullptr;
  bool erase = it->second.erase;
  it->second.invalid = false;
  it->second.erase = false;
  HDC dc = reinterpret_cast<HDC>(NewGdiHandle());
  world().dcs[dc] = World::DeviceContext{false, window, nullptr, nullptr};
  ++world().paints;
  if (erase) it->second.proc(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  paint->fErase = FALSE;
  paint->rcPaint = RECT{0, 0, it->second.width, it->second.height};
  return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
  Enter("EndPaint", Join({Handle(window), paint ? "paint" : "NULL"}));
  if (paint) world().dcs.erase(paint->hdc);
  return TRUE;
}

HDC CreateCompatibleDC(HDC dc) {
  if (Enter("CreateCompatibleDC", Handle(dc))) return nullptr;
  HDC memory = reinterpret_cast<HDC>(NewGdiHandle());
  world().dcs[memory] = World::DeviceContext{true, nullptr, kStockBitmap, kStockBitmap};
  return memory;
}

BOOL DeleteDC(HDC dc) {
  if (Enter("DeleteDC", Handle(dc))) return FALSE;
  World::DeviceContext* c = FindDC(dc);
  if (!c) return FALSE;
  if (c->memory && c->selected != c->original) ++world().dcsDeletedWithSelection;
  world().dcs.erase(dc);
  return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  if (Enter("SelectObject", Join({Handle(dc), Handle(object)}))) return nullptr;
  World::DeviceContext* c = FindDC(dc);
  if (!c || !object) return nullptr;
  bool bitmap = object == kStockBitmap || world().bitmaps.count(object);
  if (bitmap && !c->memory) return nullptr; // a bitmap goes only into a memory context
  HGDIOBJ previous = c->selected;
  if (bitmap) c->selected = object;
  return previous;
}

BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop) {
  World::DeviceContext* src = FindDC(source);
  std::string from = "?";
  if (src) {
    auto it = world().bitmaps.find(src->selected);
    from = it != world().bitmaps.end() ? it->second.path : "(stock)";
  }
  if (Enter("BitBlt", Join({Handle(target), Num(x), Num(y), Num(width), Num(height), from,
                            Num(sourceX), Num(sourceY), Hex(rop)})))
    return FALSE;
  if (!FindDC(target) || !src) return FALSE;
  world().blits.push_back({target, x, y, width, height, from, sourceX, sourceY, rop});
  return TRUE;
}

HGDIOBJ GetStockObject(int object) {
  Enter("GetStockObject", Num(object));
  return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(0x50000 + object));
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (Enter("FillRect", Join({Handle(dc),
                              rect ? "{" + Num(rect->left) + ", " + Num(rect->top) + ", " +
                                         Num(rect->right) + ", " + Num(rect->bottom) + "}"
                                   : "NULL",
                              Handle(brush)})))
    return 0;
  if (!FindDC(dc) || !rect) return 0;
  world().fills.push_back(*rect);
  return 1;
}

int DrawTextA(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format) {
  if (Enter("DrawTextA",
            Join({Handle(dc), Text(text), Num(length), rect ? "rect" : "NULL", Hex(format)})))
    return 0;
  if (!FindDC(dc) || !text || !rect) return 0;
  std::string s = length < 0 ? std::string(text) : std::string(text, static_cast<size_t>(length));
  world().texts.push_back({s, *rect, world().textColor});
  return 1;
}

int SetBkMode(HDC dc, int mode) {
  Enter("SetBkMode", Join({Handle(dc), Num(mode)}));
  return FindDC(dc) ? OPAQUE : 0;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  Enter("SetTextColor", Join({Handle(dc), Hex(color)}));
  COLORREF old = world().textColor;
  world().textColor = color;
  return old;
}

} // namespace os
