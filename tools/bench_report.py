"""The benchmark's Markdown report, drawn from the raw figures that tools/bench measured.

Kept apart from the measuring so that a report can be redone from raw-ARCH.json, or its
wording changed, without measuring again.

    tools/bench report build/bench/raw-x64.json [--out REPORT.md]

Standard library only; nothing here runs Wine.
"""

import json
import os
import statistics
import sys

ARCH_TEXT = {
    "wow64": "the 32-bit programs in a 64-bit prefix",
    "win32": "the 32-bit programs in a 32-bit prefix",
    "x64": "the 64-bit build of the same sources in a 64-bit prefix",
}
# What a start may cost above its floor.
TARGET_RATIO = 1.10


def summary(values):
    values = [v for v in values if v is not None]
    if not values:
        return None
    return {"median": statistics.median(values), "min": min(values), "max": max(values),
            "n": len(values)}


def ratio(a, b):
    return a["median"] / b["median"] if a and b else None


def paired_ratio(a, b, key):
    """The median of the rounds' own ratios: a load that drifts over the run hits both
    programs of a round alike."""
    ratios = [x[key] / y[key] for x, y in zip(a, b) if x[key] and y[key]]
    return statistics.median(ratios) if ratios else None


def fmt(s):
    return "%.1f (%.1f to %.1f, n=%d)" % (s["median"], s["min"], s["max"], s["n"]) if s else "-"


def fmt_ratio(r):
    return "%.2f" % r if r else "-"


def table(header, rows):
    lines = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
    lines += ["| " + " | ".join(str(c) for c in row) + " |" for row in rows]
    return "\n".join(lines)


def problems(runs):
    return [r for kind in runs for r in runs[kind] if r["error"] or r["closed"] != "yes"]


def sizes_section(raw):
    out = ["## Sizes", ""]
    for build in raw["sizes"]:
        rows = build["rows"]
        out += ["Windows build at `%s` (%s)." % (build["tree"], build["how"]), "",
                table(["Program", "Bytes", "Imported DLLs"],
                      [(n, b if b is not None else "-", d) for n, b, d in rows]), ""]
        menu, floor = rows[0][1], rows[2][1]
        if menu and floor:
            out += ["start.exe is %.2f times the bare window program (%+d bytes)."
                    % (menu / floor, menu - floor), ""]
    out += ["Artwork the relocation copies: %d bytes in %d files (%s)."
            % (raw["art"]["bytes"], len(raw["art"]["files"]), ", ".join(raw["art"]["files"])),
            ""]
    return out


def first_paint_section(raw):
    first = raw["first_paint"]
    menu_paint = summary([r["paint"] for r in first["menu"]])
    bare_paint = summary([r["paint"] for r in first["bare"]])
    menu_window = summary([r["window"] for r in first["menu"]])
    bare_window = summary([r["window"] for r in first["bare"]])
    out = ["### Start to first paint", "",
           "start.exe from `C:\\bench\\menu` (current directory, with `Res\\`); no disc in "
           "any drive.", "",
           table(["", "start.exe", "bare window",
                  "ratio of medians (target <= %.2f)" % TARGET_RATIO,
                  "median of the rounds' ratios"], [
               ("first paint", fmt(menu_paint), fmt(bare_paint),
                fmt_ratio(ratio(menu_paint, bare_paint)),
                fmt_ratio(paired_ratio(first["menu"], first["bare"], "paint"))),
               ("window visible", fmt(menu_window), fmt(bare_window),
                fmt_ratio(ratio(menu_window, bare_window)),
                fmt_ratio(paired_ratio(first["menu"], first["bare"], "window"))),
           ]), ""]
    if problems(first):
        out += ["Runs with a problem: %s" % problems(first), ""]
    return out


def stages_section(raw):
    menu, bare = raw["stages"]["menu"], raw["stages"]["bare"]

    def span(marks, a, b):
        return "%.0f" % (marks[b] - marks[a]) if a in marks and b in marks else "-"

    rows = []
    for label, a, b in (("image mapped to entry point (imports loaded and attached)",
                         None, "entry"),
                        ("entry to class registered", "entry", "class"),
                        ("class registered to CreateWindowExA", "class", "window"),
                        ("CreateWindowExA to first EndPaint", "window", "painted"),
                        ("image mapped to first EndPaint", None, "painted")):
        rows.append((label,) + tuple(
            span(dict(m, start=0.0), a or "start", b) for m in (menu, bare)))
    return ["Where the time goes: Wine's own time stamps on 3 traced starts of each "
            "(WINEDEBUG=+timestamp,+relay,+loaddll, relay limited to %s), medians in ms. "
            "start.exe does its disc search and loads its icon between entry and class, "
            "and loads its six pictures between class and window. Tracing slows both a "
            "little; the time before the image is mapped and after EndPaint (until the "
            "screen shows it) is not in these figures." % ", ".join(raw["stages"]["traced"]),
            "", table(["Stage", "start.exe", "bare window"], rows), ""]


def relocation_section(raw):
    reloc = raw["relocation"]
    runs = reloc["runs"]
    measure = "paint" if all(x["paint"] is not None
                             for kind in runs for x in runs[kind]) else "window"
    road, floor, direct = (summary([x[measure] for x in runs[k]])
                           for k in ("relocated", "floor", "direct"))
    out = ["### The relocation road", "",
           "A minimal disc 1 in `%s` mapped as CD-ROM drive E: (start.exe, `Res\\` with the "
           "%d files, the identification file). The probe starts `E:\\start.exe` with current "
           "directory `E:\\`; it copies itself to the temporary folder, starts the copy "
           "through the shell and ends; the time runs to the copy's first paint. Its floor is "
           "`E:\\bare_relocation.exe` on the same disc, the least a program can do on that "
           "road: it copies itself and the same %d files to the temporary folder, starts the "
           "copy through the shell with the same call, and the copy shows the bare window. "
           "The direct start is start.exe from `C:\\bench\\menu`, with the disc in E: as "
           "well. All three in the same rounds, their order turned each round."
           % (reloc["disc"], reloc["files"], reloc["files"]), "",
           table(["", "from the disc (relocated copy)", "floor (bare relocation)",
                  "direct start", "road / floor (target <= %.2f)" % TARGET_RATIO,
                  "median of the rounds' road / floor", "road / direct start"], [
               ("first paint" if measure == "paint" else "window visible (no paint seen)",
                fmt(road), fmt(floor), fmt(direct), fmt_ratio(ratio(road, floor)),
                fmt_ratio(paired_ratio(runs["relocated"], runs["floor"], measure)),
                fmt_ratio(ratio(road, direct))),
           ]), ""]
    floor_module = (reloc.get("floor_copy") or {}).get("module", "?")
    out += ["The floor's window belongs to `%s`: %s." % (
        floor_module, "it took the road" if reloc["floor_in_temp"] and
        "\\TEMP\\" in floor_module.upper() else "it did NOT relocate, so it is no floor"), ""]
    copied = ", ".join(reloc["copied"]) or "nothing"
    info = reloc["copy"]
    if info:
        cwd = info.get("cwd") or "?"
        out += ["The copy, as Windows sees it: module `%s`, current directory %s. "
                "Copied into `Temp\\Res\\`: %s. The copy's artwork %s.%s"
                % (info.get("module", "?"), "not read" if cwd == "?" else "`%s`" % cwd, copied,
                   "showed (its first paint was seen)" if reloc["copy_painted"] else
                   "did NOT show: the time is to the window appearing",
                   " The shell started the copy with its parent's current directory, so its "
                   "`res\\*.bmp` are the disc's own, not the copies in the temporary folder."
                   if cwd.upper().startswith("E:") else ""), ""]
    else:
        out += ["Copied into `Temp\\Res\\`: %s. The copy's artwork %s (window_info.exe "
                "is not built, so the copy's current directory was not read)."
                % (copied, "showed" if reloc["copy_painted"] else "did NOT show"), ""]
    if problems(runs):
        out += ["Runs with a problem: %s" % problems(runs), ""]
    return out


def idle_section(raw):
    seconds = raw["idle_seconds"]

    def idle_row(name, r):
        if "cpu" not in r:
            return (name, r.get("error", "?"), "-", "-", "-")
        return (name, "%.2f" % r["cpu"], "%.2f" % (1000 * r["cpu"] / seconds),
                "%.1f" % (r["switches"] / seconds), "%.2f" % r["server"])

    return ["### Idle for %d s" % seconds, "",
            "Each program alone, after its first paint and 2 s more, cursor resting on no "
            "button, the game installed (install record and executable present); "
            "utime+stime of its Linux process from /proc/<pid>/stat (clock ticks of %d ms, "
            "so one tick is the resolution), context switches of all its threads, and the "
            "wineserver's CPU over the same time. The menu has its 1 s timer; the bare "
            "window has none. Under Wine nearly every call of a tick (registry, file, "
            "cursor, message) is a request to the wineserver, and each wait for a reply is a "
            "context switch." % raw["clock_tick_ms"], "",
            table(["Program", "CPU s", "CPU ms per s", "switches per s", "wineserver CPU s"],
                  [idle_row("start.exe", raw["idle_menu"]),
                   idle_row("bare window", raw["idle_bare"])]), ""]


def simulation_section(raw):
    sim = raw["sim"]
    ticks = sim["ticks"]
    want = {"RegOpenKeyExA": 1, "RegQueryValueExA": 1, "RegCloseKey": 1, "fopen": 1,
            "fclose": 1, "BeginPaint": 0, "BitBlt": 0, "InvalidateRgn": 0}
    names = sorted({n for counts in sim["idle"].values() for n in counts} | set(want))
    cases = list(sim["idle"])
    installed = sim["idle"]["installed"]
    met = all(installed.get(n, 0) == v * ticks for n, v in want.items())
    out = ["### Platform calls per idle tick (simulation)", "",
           "The menu run by `RunMenu` on the simulated platform (native Release build at "
           "`%s`), settled with the cursor on no button, then %d timer ticks; calls made "
           "over them divided by %d. Target, installed: 1 each of RegOpenKeyExA, "
           "RegQueryValueExA, RegCloseKey, fopen, fclose, and no painting."
           % (raw["native_build"], ticks, ticks), "",
           table(["Call"] + cases + ["target (installed)"],
                 [[n] + ["%g" % (sim["idle"][c].get(n, 0) / ticks) for c in cases] +
                  [str(want.get(n, ""))] for n in names]), "",
           "Installed case on target: %s." % ("yes" if met else "NO"), ""]
    g = sim["gdi"]
    out += ["### GDI balance", "",
            "Simulation: %d paints over %d steps (cursor moved between the four buttons, "
            "off them within the window and out of it; the game's executable removed and "
            "put back %d times): live device contexts at the end %d (at most %d between "
            "messages), loaded bitmaps %d, every selection restored and every memory DC "
            "deleted (`sim::GdiBalanced()`): %s. Calls: %s."
            % (g["paints"], g["steps"], g["install_toggles"], g["live_dcs"],
               g["max_live_dcs_between_messages"], g["bitmaps"],
               "yes" if g["balanced"] else "NO",
               ", ".join("%s %d" % kv for kv in sorted(g["calls"].items()))), ""]
    menu_idle = raw["idle_menu"]
    if "gdi_before" in menu_idle:
        b, a = menu_idle["gdi_before"], menu_idle["gdi_after"]
        if b.get("gdi", "0") == "0" and a.get("gdi", "0") == "0":
            gdi_text = ("Wine does not answer: GetGuiResources(GR_GDIOBJECTS) gives 0 before "
                        "and after (last error %s)." % b.get("error_code", "?"))
        else:
            gdi_text = "GetGuiResources(GR_GDIOBJECTS): %s before, %s after." % (
                b.get("gdi"), a.get("gdi"))
        out += ["Under Wine, around %d hover changes driven with xdotool over %.1f s on the "
                "idle menu above (that a move lights Install on the screen was checked "
                "first: %s): %s Resident memory of the process: %s kB before, %s kB after."
                % (raw["hovers"], menu_idle["hover_seconds"],
                   "yes" if menu_idle["hover_seen"] else "NOT seen", gdi_text,
                   menu_idle["rss_before"], menu_idle["rss_after"]), ""]
    return out


def render(raw):
    """The report, Markdown, from the raw figures."""
    arch, w = raw["arch"], raw["wine"]
    spot, on_screen = w["spot"], w["spot_on_screen"]
    menu, bare = w["menu_colour"], w["bare_colour"]
    report = ["# Benchmark of the disc programs under Wine, %s" % arch, "",
              "Architecture %s: %s, the build at `%s`." % (arch, ARCH_TEXT[arch],
                                                          raw["win_build"]), "",
              table(["Machine", ""], raw["machine"]), ""]
    report += sizes_section(raw)
    report += ["## Under Wine, %s" % arch, "",
               "Own prefix (`%s`, %s, booted in %.0f s), own Xvfb 1024x768x24, "
               "WINEDEBUG=-all. Times are from just before CreateProcess in the probe to the "
               "screen pixel (%d, %d) (client (%d, %d)) showing its painted colour: "
               "#%02x%02x%02x from back.bmp for the menu, #%02x%02x%02x for the bare window; "
               "sampled about every millisecond with GetPixel on the screen DC. Each cell: "
               "median (min to max, n) in ms. 2 warm-up rounds are not counted; the order of "
               "the programs turns from round to round."
               % (w["prefix"], w["kind"], w["boot_seconds"], on_screen[0], on_screen[1],
                  spot[0], spot[1], menu[0], menu[1], menu[2], bare[0], bare[1], bare[2]), ""]
    report += first_paint_section(raw)
    report += stages_section(raw)
    report += relocation_section(raw)
    report += idle_section(raw)
    report += simulation_section(raw)
    report += ["Load average at the end: %.2f %.2f %.2f (other users of the machine show "
               "here and in the spread of the times)." % tuple(raw["load_at_end"]), ""]
    return "\n".join(report)


def main(raw_path, out=None):
    """Writes the report of RAW_PATH to OUT (default: report-ARCH.md beside it) and prints it."""
    with open(raw_path) as f:
        raw = json.load(f)
    text = render(raw)
    out = out or os.path.join(os.path.dirname(os.path.abspath(raw_path)),
                              "report-%s.md" % raw["arch"])
    with open(out, "w") as f:
        f.write(text)
    print(text)
    print("report written to " + out, file=sys.stderr, flush=True)
    return 0
