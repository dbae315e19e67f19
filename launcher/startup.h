// Start-up: run the menu, or first move the program off the disc into the temporary folder.
#pragma once

#include "platform/win32.h"

// Copies the program at `modulePath` and its artwork into the temporary folder and starts the
// copy. False, with nothing done, when the system gives no usable temporary folder.
bool RelocateToTempFolder(const char* modulePath);

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);
