// The button rectangles: every edge, the gaps between buttons and points outside.
#include "launcher/menu_layout.h"

#include <gtest/gtest.h>

namespace {

struct PointCase {
  int x, y;
  int button; // the button the point lies on, or -1
};

TEST(MenuLayoutTest, EachPointLiesOnAtMostTheExpectedButton) {
  const PointCase cases[] = {
      // Start, upper row alone
      {15, 361, ButtonStart},
      {148, 378, ButtonStart},
      {148, 361, ButtonStart},
      {15, 378, ButtonStart},
      {14, 361, -1},
      {149, 370, -1},
      {20, 360, -1},
      {20, 379, -1},
      // the gap between the rows
      {20, 380, -1},
      {20, 384, -1},
      // Install
      {15, 385, ButtonInstall},
      {216, 402, ButtonInstall},
      {14, 390, -1},
      {217, 390, -1},
      // Read me, and the gaps on either side
      {228, 390, -1},
      {229, 385, ButtonReadme},
      {325, 402, ButtonReadme},
      {326, 390, -1},
      {343, 390, -1},
      // Exit
      {344, 385, ButtonExit},
      {438, 402, ButtonExit},
      {439, 390, -1},
      // below and outside
      {100, 403, -1},
      {300, 384, -1},
      {-1, 390, -1},
      {20, -370, -1},
      {-20, -20, -1},
      {65535, 390, -1},
      {0, 0, -1},
      {449, 407, -1},
  };
  for (const PointCase& c : cases) {
    for (int b = 0; b < ButtonCount; ++b)
      EXPECT_EQ(IsOnButton(static_cast<MenuButton>(b), c.x, c.y), b == c.button)
          << "(" << c.x << ", " << c.y << ") button " << b;
  }
}

TEST(MenuLayoutTest, ButtonsLieInsideTheVisibleClientArea) {
  for (const ButtonRect& r : g_buttons) {
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.left + r.width, kMenuWidth - 2);
    EXPECT_LE(r.top + r.height, kMenuHeight - 2);
  }
}

} // namespace
