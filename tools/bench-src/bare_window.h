// The bare window that the benchmark's floor programs show: the menu's size, style and place.
#pragma once

#include <windows.h>

// Registers the class, shows the window centred and runs its messages until it closes; the
// program's exit code.
int RunBareWindow(HINSTANCE instance);
