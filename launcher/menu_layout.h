// The fixed geometry of the menu: its size and the four buttons shared by paint, hover and click.
#pragma once

#include "facts/menu_facts.h"

enum MenuButton { ButtonStart, ButtonInstall, ButtonReadme, ButtonExit, ButtonCount };

struct ButtonRect {
  int left, top, width, height;
};

const int kMenuWidth = FACT_MENU_WIDTH;
const int kMenuHeight = FACT_MENU_HEIGHT;

// In the fixed order Start, Install, Read me, Exit.
extern const ButtonRect g_buttons[ButtonCount];

// Whether the client point (x, y) lies on the button, edges included.
bool IsOnButton(MenuButton button, int x, int y);
