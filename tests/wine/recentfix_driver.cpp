// Drives recentfix under Wine: answers its question box, watches for more boxes, reads its values.
//
//   recentfix_driver answer yes|no   waits for the question, prints it, clicks the answer, then
//                                    prints and closes every further box until recentfix ends
//   recentfix_driver folder recent|personal   prints SHGetSpecialFolderPathA's answer
//   recentfix_driver value KEYNAME   prints type, size and bytes of "Recent" under
//                                    HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\KEYNAME
#include <shlobj.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

static const char kCaption[] = "R\xe9paration du Registre";
static const char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
// The static control that holds a message box's text.
static const int kTextControl = 0xffff;

// Prints bytes as text the test script can compare: \n, \0 and bytes above 126 as escapes.
static void PrintBytes(const char* bytes, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == '\n')
      printf("\\n");
    else if (c == 0)
      printf("\\0");
    else if (c < 0x20 || c > 0x7e)
      printf("\\x%02x", c);
    else
      putchar(c);
  }
}

static bool HasButton(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  return button && IsWindowVisible(button);
}

// Prints one box: its text and the buttons it offers.
static void PrintBox(const char* what, HWND box) {
  char text[1024];
  int length = GetDlgItemTextA(box, kTextControl, text, sizeof text);
  printf("%s: ", what);
  PrintBytes(text, length > 0 ? length : 0);
  printf(" [");
  if (HasButton(box, IDOK)) printf(" ok");
  if (HasButton(box, IDYES)) printf(" yes");
  if (HasButton(box, IDNO)) printf(" no");
  if (HasButton(box, IDCANCEL)) printf(" cancel");
  printf(" ]\n");
  fflush(stdout);
}

static HWND FindBox() {
  HWND box = FindWindowA("#32770", kCaption);
  return box && IsWindowVisible(box) ? box : NULL;
}

// Presses a button of a box the way a mouse click on it would.
static void Click(HWND box, int id) { SendMessageA(GetDlgItem(box, id), BM_CLICK, 0, 0); }

static int Answer(int button) {
  HWND question = NULL;
  for (int i = 0; i < 300 && !question; ++i) {
    question = FindBox();
    if (!question) Sleep(100);
  }
  if (!question) {
    printf("no question box\n");
    return 1;
  }
  Sleep(200); // let the box finish setting itself up
  DWORD pid = 0;
  GetWindowThreadProcessId(question, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  PrintBox("question", question);
  Click(question, button);
  if (!process) {
    printf("cannot watch the process\n");
    return 1;
  }
  // Every box shown after the answer, until the program has ended.
  HWND last = question;
  for (int i = 0; i < 300; ++i) {
    if (WaitForSingleObject(process, 100) == WAIT_OBJECT_0) {
      printf("ended\n");
      CloseHandle(process);
      return 0;
    }
    HWND box = FindBox();
    if (box && box != last) {
      Sleep(200);
      PrintBox("box", box);
      Click(box, IDOK);
      last = box;
    }
  }
  printf("still running\n");
  CloseHandle(process);
  return 1;
}

static int PrintFolder(int csidl) {
  char path[MAX_PATH];
  memset(path, 0xbd, sizeof path);
  if (!SHGetSpecialFolderPathA(NULL, path, csidl, FALSE)) {
    printf("failed\n");
    return 0;
  }
  printf("%s\n", path);
  return 0;
}

static int PrintValue(const char* keyName) {
  char keyPath[512];
  snprintf(keyPath, sizeof keyPath, "%s%s", kExplorer, keyName);
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    printf("no key\n");
    return 0;
  }
  char data[1024];
  DWORD type = 0, size = sizeof data;
  LONG result = RegQueryValueExA(key, "Recent", NULL, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) {
    printf("no value\n");
    return 0;
  }
  if (type == REG_SZ)
    printf("REG_SZ");
  else if (type == REG_EXPAND_SZ)
    printf("REG_EXPAND_SZ");
  else
    printf("type %lu", type);
  printf(" %lu ", size);
  PrintBytes(data, size);
  printf("\n");
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 3 && strcmp(argv[1], "answer") == 0)
    return Answer(strcmp(argv[2], "yes") == 0 ? IDYES : IDNO);
  if (argc == 3 && strcmp(argv[1], "folder") == 0)
    return PrintFolder(strcmp(argv[2], "recent") == 0 ? CSIDL_RECENT : CSIDL_PERSONAL);
  if (argc == 3 && strcmp(argv[1], "value") == 0) return PrintValue(argv[2]);
  printf("usage: recentfix_driver answer yes|no | folder recent|personal | value KEYNAME\n");
  return 2;
}
