"""The menu's shared facts from launcher/menu.facts, for the Python tools and tests.

    import facts
    facts.MENU_CLASS, facts.BUTTONS["start"], facts.CLIENT_ORIGIN, facts.disc_id(1)
"""

import os
import shlex

FACTS_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "launcher",
                          "menu.facts")


def read(path=FACTS_FILE):
    """NAME -> value as written (numbers stay text)."""
    values = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line and not line.startswith("#") and "=" in line:
                name, value = line.split("=", 1)
                values[name] = " ".join(shlex.split(value))
    return values


_FACTS = read()
MENU_CLASS = _FACTS["MENU_CLASS"]
MENU_CAPTION = _FACTS["MENU_CAPTION"]
MENU_SIZE = (int(_FACTS["MENU_WIDTH"]), int(_FACTS["MENU_HEIGHT"]))
# The client area inside the window's one-pixel border.
CLIENT_SIZE = (MENU_SIZE[0] - 2, MENU_SIZE[1] - 2)
CLIENT_ORIGIN = (int(_FACTS["CLIENT_X"]), int(_FACTS["CLIENT_Y"]))
# Client rectangles, left, top, width, height, in the order Start, Install, Read me, Exit.
BUTTONS = {name: tuple(int(n) for n in _FACTS["BUTTON_" + name.upper()].split())
           for name in ("start", "install", "readme", "exit")}


def disc_id(number):
    """The identification text of game disc NUMBER."""
    return "%s%d" % (_FACTS["DISC_ID_PREFIX"], number)
