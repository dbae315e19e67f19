// What a click on each of the menu's four buttons does.
#pragma once

#include "platform/win32.h"

// Acts on the button under the release point carried in `lParam` (client coordinates).
void HandleMenuClick(HWND window, LPARAM lParam);
// Opens `relativeName` at the root of disc 1 through the shell, or asks for the disc.
void OpenFromGameDisc(HWND owner, const char* relativeName);
