// The floor for the menu's first paint: a program that only shows the bare window.
#include "tools/bench-src/bare_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunBareWindow(instance); }
