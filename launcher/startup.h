// Start-up: run the menu, or first move the program off the disc into the temporary folder.
#pragma once

#include "platform/win32.h"

// Copies the program at `modulePath` and its artwork into the temporary folder and starts the
// copy. True only when the program file was copied and the shell started the copy; false when
// the system gives no usable temporary folder (nothing done), the program file could not be
// copied (the artwork copies made, nothing started) or the shell did not start the copy.
bool RelocateToTempFolder(const char* modulePath);

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);
