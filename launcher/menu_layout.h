// The fixed geometry of the menu: its size and the four buttons shared by paint, hover and click.
#pragma once

enum MenuButton { ButtonStart, ButtonInstall, ButtonReadme, ButtonExit, ButtonCount };

struct ButtonRect {
  int left, top, width, height;
};

const int kMenuWidth = 450;
const int kMenuHeight = 408;

// In the fixed order Start, Install, Read me, Exit.
extern const ButtonRect g_buttons[ButtonCount];

// Whether the client point (x, y) lies on the button, edges included.
bool IsOnButton(MenuButton button, int x, int y);
