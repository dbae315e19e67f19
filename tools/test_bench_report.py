"""Tests of tools/bench_report.py: the report redone from raw figures, and the ratios it draws.

Run: python3 -m unittest discover -s tools -p 'test_*.py'
"""

import json
import os
import sys
import tempfile
import unittest
from unittest import mock

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import bench_report  # noqa: E402


def runs(*times, paint=True):
    return [{"paint": t if paint else None, "window": t - 5, "closed": "yes", "error": None}
            for t in times]


def raw_figures(floor_module="C:\\users\\u\\Temp\\bare_relocation.exe"):
    """Raw figures as tools/bench writes them, small: three rounds of each start."""
    idle = {"cpu": 0.12, "switches": 600, "server": 0.3}
    return {
        "arch": "x64", "win_build": "/b/x64", "toolchain": "mingw-x86_64",
        "native_build": "/b/native", "machine": [["CPU", "test"]], "clock_tick_ms": 10,
        "sizes": [{"tree": "/b/w", "how": "i686", "rows": [
            ["start.exe", 20000, "KERNEL32.dll"], ["recentfix.exe", None, "not built"],
            ["bare window (floor)", 10000, "KERNEL32.dll"]]}],
        "art": {"files": ["back.bmp"], "bytes": 100},
        "runs": 3, "idle_seconds": 10, "hovers": 5,
        "wine": {"prefix": "/p", "kind": "win64", "boot_seconds": 12.0, "spot": [224, 200],
                 "spot_on_screen": [512, 381], "menu_colour": [1, 2, 3],
                 "bare_colour": [0x23, 0x8C, 0x5A]},
        "first_paint": {"menu": runs(100, 120, 110), "bare": runs(100, 100, 100)},
        "stages": {"traced": ["user32.EndPaint"], "menu": {"entry": 5.0, "painted": 50.0},
                   "bare": {"entry": 4.0}},
        "relocation": {
            "disc": "/d", "files": 7, "copied": ["back.bmp"], "copy_painted": True,
            "runs": {"relocated": runs(330, 300, 360), "floor": runs(300, 300, 300),
                     "direct": runs(150, 150, 150)},
            "copy": {"module": "C:\\users\\u\\Temp\\start.exe", "cwd": "E:\\"},
            "floor_copy": {"module": floor_module}, "floor_in_temp": True},
        "idle_menu": dict(idle), "idle_bare": dict(idle),
        "sim": {"ticks": 10, "idle": {"installed": {n: 10 for n in (
            "RegOpenKeyExA", "RegQueryValueExA", "RegCloseKey", "fopen", "fclose")}},
            "gdi": {"paints": 1, "steps": 2, "install_toggles": 0, "live_dcs": 0,
                    "max_live_dcs_between_messages": 1, "bitmaps": 6, "balanced": True,
                    "calls": {"BitBlt": 2}}},
        "load_at_end": [0.5, 0.5, 0.5],
    }


def row(text, first_cell):
    """The cells of the table row that starts with first_cell."""
    for line in text.splitlines():
        cells = [c.strip() for c in line.strip("|").split("|")]
        if cells[0] == first_cell:
            return cells
    raise AssertionError("no row %r in the report" % first_cell)


class ReportTest(unittest.TestCase):
    def test_relocation_road_against_its_floor_and_the_direct_start(self):
        text = bench_report.render(raw_figures())
        cells = row(text[text.index("### The relocation road"):], "first paint")
        # Medians 330, 300 and 150; the rounds' own ratios 1.10, 1.00, 1.20.
        self.assertEqual(cells[1:], ["330.0 (300.0 to 360.0, n=3)", "300.0 (300.0 to 300.0, n=3)",
                                     "150.0 (150.0 to 150.0, n=3)", "1.10", "1.10", "2.20"])
        self.assertIn("it took the road", text)

    def test_first_paint_against_the_bare_window(self):
        cells = row(bench_report.render(raw_figures()), "first paint")
        self.assertEqual(cells[3:], ["1.10", "1.10"])

    def test_a_floor_that_stayed_on_the_disc_is_called_out(self):
        text = bench_report.render(raw_figures(floor_module="E:\\bare_relocation.exe"))
        self.assertIn("it did NOT relocate, so it is no floor", text)

    def test_a_road_without_a_paint_is_timed_to_the_window(self):
        raw = raw_figures()
        raw["relocation"]["runs"]["relocated"] = runs(330, 300, 360, paint=False)
        cells = row(bench_report.render(raw), "window visible (no paint seen)")
        self.assertEqual(cells[4], "%.2f" % (325 / 295))

    def test_the_report_is_redone_beside_its_raw_figures(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "raw-x64.json")
            with open(path, "w") as f:
                json.dump(raw_figures(), f)
            with mock.patch("sys.stdout"), mock.patch("sys.stderr"):
                self.assertEqual(bench_report.main(path), 0)
            with open(os.path.join(tmp, "report-x64.md")) as f:
                self.assertEqual(f.read(), bench_report.render(raw_figures()))


if __name__ == "__main__":
    unittest.main()
