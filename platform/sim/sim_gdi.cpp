// Simulated GDI: bitmaps loaded from files, device contexts, selections and a record of drawing.
#include "platform/sim/sim_internal.h"

#include <cstring>

namespace sim {
using namespace detail;

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

HDC detail::NewDC(bool memory, const char* kind) {
  World& w = world();
  HDC dc = reinterpret_cast<HDC>(w.nextGdi++);
  HGDIOBJ own = memory ? reinterpret_cast<HGDIOBJ>(kStockBitmap) : nullptr;
  w.dcs[dc] = World::DeviceContext{memory, own, own, 0};
  NameHandle(dc, kind);
  return dc;
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

static World::DeviceContext* FindDC(HDC dc) {
  auto it = world().dcs.find(dc);
  return it == world().dcs.end() ? nullptr : &it->second;
}

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  HANDLE const kNone = nullptr;
  if (const Fault* f = Enter("LoadImageA", Join({Handle(instance), Text(name), Num(type), Num(cx),
                                                 Num(cy), Hex(flags)})))
    return Failed(kNone, f->error);
  if (type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE) || !name)
    return Failed(kNone, ERROR_INVALID_PARAMETER);
  FileEntry* e = Entry(name);
  if (!e || e->dir || e->bytes.size() < 26 || e->bytes.compare(0, 2, "BM") != 0 || !Readable(name))
    return Failed(kNone, ERROR_FILE_NOT_FOUND);
  HGDIOBJ h = reinterpret_cast<HGDIOBJ>(world().nextGdi++);
  world().bitmaps[h] = name;
  NameHandleAs(h, std::string("bitmap ") + name);
  return h;
}

HDC CreateCompatibleDC(HDC dc) {
  HDC const kNone = nullptr;
  if (const Fault* f = Enter("CreateCompatibleDC", Handle(dc))) return Failed(kNone, f->error);
  return NewDC(true, "memory dc");
}

BOOL DeleteDC(HDC dc) {
  if (const Fault* f = Enter("DeleteDC", Handle(dc))) return Failed(FALSE, f->error);
  World::DeviceContext* c = FindDC(dc);
  if (!c) return Failed(FALSE, ERROR_INVALID_HANDLE);
  if (c->memory && c->selected != c->original) ++world().dcsDeletedWithSelection;
  world().dcs.erase(dc);
  return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  HGDIOBJ const kNone = nullptr;
  if (const Fault* f = Enter("SelectObject", Join({Handle(dc), Handle(object)})))
    return Failed(kNone, f->error);
  World::DeviceContext* c = FindDC(dc);
  if (!c || !object) return Failed(kNone, ERROR_INVALID_HANDLE);
  bool bitmap = object == reinterpret_cast<HGDIOBJ>(kStockBitmap) || world().bitmaps.count(object);
  if (bitmap && !c->memory) return Failed(kNone, ERROR_INVALID_PARAMETER); // memory contexts only
  HGDIOBJ previous = c->selected;
  if (bitmap) c->selected = object;
  return previous;
}

BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop) {
  if (const Fault* f =
          Enter("BitBlt", Join({Handle(target), Num(x), Num(y), Num(width), Num(height),
                                Handle(source), Num(sourceX), Num(sourceY), Hex(rop)})))
    return Failed(FALSE, f->error);
  World::DeviceContext* src = FindDC(source);
  if (!FindDC(target) || !src) return Failed(FALSE, ERROR_INVALID_HANDLE);
  auto picture = world().bitmaps.find(src->selected);
  std::string from = picture != world().bitmaps.end() ? picture->second : "(stock)";
  world().blits.push_back({x, y, width, height, from});
  return TRUE;
}

HGDIOBJ GetStockObject(int object) {
  Enter("GetStockObject", Num(object));
  return reinterpret_cast<HGDIOBJ>(kStockObjects + static_cast<uintptr_t>(object));
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (const Fault* f =
          Enter("FillRect", Join({Handle(dc),
                                  rect ? "{" + Num(rect->left) + ", " + Num(rect->top) + ", " +
                                             Num(rect->right) + ", " + Num(rect->bottom) + "}"
                                       : "NULL",
                                  Handle(brush)})))
    return Failed(0, f->error);
  if (!FindDC(dc)) return Failed(0, ERROR_INVALID_HANDLE);
  if (!rect) return Failed(0, ERROR_INVALID_PARAMETER);
  world().fills.push_back(*rect);
  return 1;
}

int DrawTextA(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format) {
  if (const Fault* f = Enter("DrawTextA", Join({Handle(dc), Text(text), Num(length),
                                                rect ? "rect" : "NULL", Hex(format)})))
    return Failed(0, f->error);
  if (!FindDC(dc)) return Failed(0, ERROR_INVALID_HANDLE);
  if (!text || !rect) return Failed(0, ERROR_INVALID_PARAMETER);
  std::string s = length < 0 ? std::string(text) : std::string(text, static_cast<size_t>(length));
  world().texts.push_back({s, *rect});
  return 1;
}

int SetBkMode(HDC dc, int mode) {
  Enter("SetBkMode", Join({Handle(dc), Num(mode)}));
  return FindDC(dc) ? OPAQUE : Failed(0, ERROR_INVALID_HANDLE);
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  Enter("SetTextColor", Join({Handle(dc), Hex(color)}));
  World::DeviceContext* c = FindDC(dc);
  if (!c) return Failed(COLORREF{CLR_INVALID}, ERROR_INVALID_HANDLE);
  COLORREF old = c->textColor;
  c->textColor = color;
  return old;
}

} // namespace os
