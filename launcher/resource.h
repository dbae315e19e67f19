// The resource identifiers of start, shared by start.rc and the code that loads them.
#pragma once

// The menu's icon: the window class icon, and the program's icon in the shell.
#define IDI_START 101
