// The Recent-folder repair tool: asks, tests the user's Recent folder, and repoints it if unusable.
#pragma once

#include "platform/win32.h"

// Set by every failing step of a run and never cleared by the tool; it alone decides whether the
// error message is shown. Tests clear it between runs.
extern bool g_repairFailed;

// Whether the Recent folder can be entered and a file created in it. A test file that cannot be
// removed again sets g_repairFailed, but the folder still counts as usable; so does a path the
// system code page cannot spell, which cannot be tested and must not be repointed blindly.
bool TestRecentFolder();
// Creates "recent" in the documents folder and points both Recent values at it.
void RepairRecentFolder();
// Sets the value "Recent" under HKEY_CURRENT_USER\keyPath to `path`; true when opening, writing
// and closing the key all succeeded.
bool WriteRecentValue(const char* keyPath, const char* path);

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);
