// The fixed geometry of the menu: its size and the four buttons shared by paint, hover and click.
#include "launcher/menu_layout.h"

const ButtonRect g_buttons[ButtonCount] = {
    {15, 361, 134, 18}, // Start
    {15, 385, 202, 18}, // Install
    {229, 385, 97, 18}, // Read me
    {344, 385, 95, 18}, // Exit
};

bool IsOnButton(MenuButton button, int x, int y) {
  const ButtonRect& r = g_buttons[button];
  return x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height;
}
