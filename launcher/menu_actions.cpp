// What a click on each of the menu's four buttons does.
#include "launcher/menu_actions.h"

#include "base/bytestring.h"
#include "launcher/disc_locator.h"
#include "launcher/install_record.h"
#include "launcher/menu_layout.h"

void HandleMenuClick(HWND window, LPARAM lParam) {
  // Unsigned halves: a release left of or above the window lands far off every button.
  int x = LOWORD(lParam);
  int y = HIWORD(lParam);

  if (IsOnButton(ButtonStart, x, y)) {
    LaunchInstalledGame(window);
    return;
  }
  if (IsOnButton(ButtonInstall, x, y)) OpenFromGameDisc(window, "setup.exe");
  if (IsOnButton(ButtonReadme, x, y)) OpenFromGameDisc(window, "res\\readme.html");
  if (IsOnButton(ButtonExit, x, y)) os::PostQuitMessage(0);
}

void OpenFromGameDisc(HWND owner, const char* relativeName) {
  char discFolder[1024];
  // The disc may have been changed since the last click: search again every time.
  if (!FindGameDisc(1, discFolder)) {
    os::MessageBoxA(owner,
                    "ins\xe9"
                    "rer CD no. 1",
                    "Disk 1", MB_OK);
    return;
  }
  // The installer and the read-me lie at the root of the disc, not in its disc folder.
  ByteString folder(discFolder);
  ByteString target = folder.Left(static_cast<size_t>(folder.Find('\\') + 1)) + relativeName;
  os::ShellExecuteA(owner, "Open", target.c_str(), NULL, "", SW_SHOWDEFAULT);
}
