// Reports a message box found by its caption, as another program sees it, or waits for it to go.
//
//   message_box CAPTION --appear SECONDS   report the box once it shows; exit 1 if it does not
//   message_box CAPTION --gone SECONDS     exit 0 once no such box is left, else 1
//   message_box --visible                  each visible top-level window as "class|caption"
//
// The report is key=value lines: how many boxes carry the caption, the class of the box's owner,
// the text of its message as hex bytes (its code page's bytes, untouched by any console), the
// labels of its visible buttons, and the screen point in the middle of its OK button.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct Search {
  const char* caption;
  HWND first;
  int count;
};

static BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  Search* search = reinterpret_cast<Search*>(param);
  char name[256] = "", text[256] = "";
  GetClassNameA(window, name, sizeof name);
  GetWindowTextA(window, text, sizeof text);
  // #32770 is the class of dialog boxes, message boxes among them.
  if (strcmp(name, "#32770") == 0 && strcmp(text, search->caption) == 0 &&
      IsWindowVisible(window)) {
    if (!search->first) search->first = window;
    ++search->count;
  }
  return TRUE;
}

static Search Look(const char* caption) {
  Search search = {caption, NULL, 0};
  EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
  return search;
}

struct Parts {
  char message[1024];
  char buttons[256];
  HWND ok;
};

// The message is the one static control with text (an icon, when there is one, has none);
// a box keeps or hides the buttons of its type, so only the visible ones count.
static BOOL CALLBACK ReadPart(HWND child, LPARAM param) {
  Parts* parts = reinterpret_cast<Parts*>(param);
  char name[64] = "", text[512] = "";
  GetClassNameA(child, name, sizeof name);
  GetWindowTextA(child, text, sizeof text);
  if (lstrcmpiA(name, "Static") == 0 && text[0] && !parts->message[0]) {
    lstrcpynA(parts->message, text, sizeof parts->message);
  } else if (lstrcmpiA(name, "Button") == 0 && IsWindowVisible(child)) {
    size_t used = strlen(parts->buttons);
    _snprintf(parts->buttons + used, sizeof parts->buttons - used, "%s%s", used ? "," : "", text);
    parts->buttons[sizeof parts->buttons - 1] = 0;
    if (GetDlgCtrlID(child) == IDOK) parts->ok = child;
  }
  return TRUE;
}

static BOOL CALLBACK PrintVisible(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  char name[256] = "", text[256] = "";
  GetClassNameA(window, name, sizeof name);
  GetWindowTextA(window, text, sizeof text);
  printf("%s|%s\n", name, text);
  return TRUE;
}

int main(int argc, char** argv) {
  if (argc == 2 && strcmp(argv[1], "--visible") == 0) {
    EnumWindows(PrintVisible, 0);
    return 0;
  }
  if (argc != 4 || (strcmp(argv[2], "--appear") != 0 && strcmp(argv[2], "--gone") != 0)) {
    printf("usage: message_box CAPTION --appear|--gone SECONDS | message_box --visible\n");
    return 2;
  }
  bool appear = strcmp(argv[2], "--appear") == 0;
  DWORD deadline = GetTickCount() + static_cast<DWORD>(atof(argv[3]) * 1000);
  Search search;
  for (;;) {
    search = Look(argv[1]);
    if ((search.first != NULL) == appear || static_cast<LONG>(deadline - GetTickCount()) <= 0)
      break;
    Sleep(50);
  }
  printf("count=%d\n", search.count);
  if (!appear) return search.count == 0 ? 0 : 1;
  if (!search.first) return 1;

  char owner[256] = "";
  HWND ownerWindow = GetWindow(search.first, GW_OWNER);
  if (ownerWindow) GetClassNameA(ownerWindow, owner, sizeof owner);
  printf("owner=%s\n", owner);

  Parts parts = {"", "", NULL};
  EnumChildWindows(search.first, ReadPart, reinterpret_cast<LPARAM>(&parts));
  printf("text=");
  for (const char* c = parts.message; *c; ++c) printf("%02x", static_cast<unsigned char>(*c));
  printf("\nbuttons=%s\n", parts.buttons);
  if (parts.ok) {
    RECT rect;
    GetWindowRect(parts.ok, &rect);
    printf("ok=%ld,%ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  } else {
    printf("ok=\n");
  }
  return 0;
}
