// The fixed geometry of the menu: its size and the four buttons shared by paint, hover and click.
#include "launcher/menu_layout.h"

const ButtonRect g_buttons[ButtonCount] = {
    {FACT_BUTTON_START},
    {FACT_BUTTON_INSTALL},
    {FACT_BUTTON_README},
    {FACT_BUTTON_EXIT},
};

bool IsOnButton(MenuButton button, int x, int y) {
  const ButtonRect& r = g_buttons[button];
  return x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height;
}
