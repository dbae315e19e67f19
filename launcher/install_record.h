// Reads the game's install record: is the game installed, and starting it.
#pragma once

#include "platform/win32.h"

// Whether the last probe found the install record and the game executable it names.
extern bool g_gameInstalled;

// Re-reads the record and tries to open the game executable; the answer goes to g_gameInstalled.
void ProbeInstallation();
// Starts the installed game through the shell, with its folder as the working directory.
void LaunchInstalledGame(HWND owner);
