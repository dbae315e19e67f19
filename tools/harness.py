"""What the tools and the Wine tests share: Xvfb, Wine per architecture, drives, the screen.

The Python side of the Wine harness (tests/wine/lib.sh is the shell side): a virtual display,
Wine of one architecture in a prefix of its own, folders mapped as drives, the screen captured.

    import harness
    display = harness.Display.start()                  # own Xvfb, 1024 x 768 x 24
    wine = harness.Wine("x64", prefix, display.name)   # tools/winearch picks loader and server
    wine.boot(fresh=True)
    wine.map_drive("e", "build/windows-x64/disc/disc1", "cdrom")
    report = wine.report(["C:\\\\probe.exe", "run"])    # its key=value lines as a dict
    width, height, rows = harness.decode_xwd(harness.capture(display.name))
    harness.write_png("shot.png", rows)
    wine.stop(); display.stop()

Standard library only: the tools and the Wine tests run it on a bare Debian with Wine, Xvfb and
x11-apps (xwd). Screens are rows of packed R, G, B bytes, top row first.
"""

import os
import pwd
import re
import select
import shutil
import struct
import subprocess
import tempfile
import time
import zlib

TOOLS = os.path.dirname(os.path.abspath(__file__))
WINEARCH = os.path.join(TOOLS, "winearch")
# Links to tools/winearch named wine, wineserver and wineboot: they run the loader of
# $KELVARO_ARCH, never Debian's /usr/bin/wine, which picks the 32-bit one.
WINEBIN = os.path.join(TOOLS, "winebin")
SCREEN_SIZE = (1024, 768)


# ---------------------------------------------------------------------------------------------
# The display

class Display:
    """An Xvfb of our own, on whatever display number is free."""

    def __init__(self, process, name):
        self.process = process
        self.name = name

    @classmethod
    def start(cls, timeout=10):
        # Xvfb picks a free number itself and writes it once it accepts clients: no guessing
        # from lock files, no race with another Xvfb starting at the same time.
        reader, writer = os.pipe()
        try:
            process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(writer), "-screen", "0",
                 "%dx%dx24" % SCREEN_SIZE, "-nolisten", "tcp"],
                pass_fds=(writer,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL, start_new_session=True)
        except OSError:
            os.close(reader)
            raise
        finally:
            os.close(writer)
        text = b""
        deadline = time.monotonic() + timeout
        try:
            while not text.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([reader], [], [], left)[0]:
                    break
                chunk = os.read(reader, 16)
                if not chunk:  # Xvfb ended without a display
                    break
                text += chunk
        finally:
            os.close(reader)
        if not text.strip().isdigit():
            process.kill()
            process.wait()
            raise RuntimeError("Xvfb did not start within %g s" % timeout)
        return cls(process, ":" + text.decode().strip())

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


# ---------------------------------------------------------------------------------------------
# Wine

def arch_runs(arch):
    """None if this machine runs the architecture (tools/winearch), else why not."""
    r = subprocess.run([WINEARCH, arch, "probe"], capture_output=True, text=True, timeout=60)
    return None if r.returncode == 0 else (r.stdout + r.stderr).strip()


def key_values(text):
    """The key=value lines a helper program prints, as a dict (later keys win)."""
    result = {}
    for line in text.replace("\r", "").splitlines():
        if "=" in line:
            key, value = line.split("=", 1)
            result[key] = value
    return result


class Wine:
    """Wine of one architecture (wow64, win32 or x64) in one prefix, quiet and unattended."""

    def __init__(self, arch, prefix, display=None):
        self.arch = arch
        self.prefix = os.path.abspath(prefix)
        # No Mono or Gecko installers: they would stop an unattended first boot to ask.
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=",
                        PATH=WINEBIN + os.pathsep + os.environ.get("PATH", ""))
        lines = subprocess.run([WINEARCH, arch, "env"], capture_output=True, text=True,
                               timeout=60, check=True).stdout
        for m in re.finditer(r'(\w+)=("[^"]*"|\S+)', lines):
            self.env[m.group(1)] = m.group(2).strip('"')
        if display:
            self.env["DISPLAY"] = display
        # Registry views a setting must be in for the programs and Wine to read it: in a 64-bit
        # prefix HKLM\Software has a 32-bit view of its own, and Wine reads its drive map from
        # the 64-bit one. None: the one view of a 32-bit prefix.
        self.reg_views = self.env["REG_VIEWS"].split() or [None]

    def command(self, *args):
        return [os.path.join(WINEBIN, "wine")] + list(args)

    def server(self, *args, timeout=60):
        subprocess.run([os.path.join(WINEBIN, "wineserver")] + list(args), env=self.env,
                       timeout=timeout, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def stop(self):
        """Ends the prefix's wineserver and every program in it."""
        try:
            self.server("-k", timeout=30)
        except (OSError, subprocess.SubprocessError):  # nothing left to stop is no fault
            pass

    def boot(self, fresh=False, timeout=180):
        """Makes the prefix ready (a fresh one when asked); the seconds it took."""
        if fresh and os.path.isdir(self.prefix):
            self.stop()
            shutil.rmtree(self.prefix)
        os.makedirs(os.path.dirname(self.prefix), exist_ok=True)
        began = time.monotonic()
        subprocess.run([os.path.join(WINEBIN, "wineboot"), "-i"], env=self.env, timeout=timeout,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.server("-w", timeout=120)
        return time.monotonic() - began

    def run(self, args, timeout=60, env=None, cwd=None):
        """Runs a Windows program to its end; its output, or None if it ran out of time. The
        output goes through a file: a program it starts inherits it and would hold a pipe."""
        with tempfile.TemporaryFile(mode="w+b") as out:
            try:
                subprocess.run(self.command(*args), env=env or self.env, cwd=cwd, stdout=out,
                               stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL,
                               timeout=timeout)
            except subprocess.TimeoutExpired:
                return None
            out.seek(0)
            return out.read().decode("latin-1")

    def report(self, args, timeout=60):
        """Runs a helper that answers in key=value lines; {"error": ...} if it hung."""
        text = self.run(args, timeout)
        return {"error": "timed out"} if text is None else key_values(text)

    def reg_commands(self, verb, key, *args):
        """Wine's reg on KEY in every view the architecture reads (HKCU\\Software is one key in
        all of them)."""
        return [self.command("reg", verb, key, *args, "/f") +
                (["/reg:" + view] if view else []) for view in self.reg_views]

    def reg(self, verb, key, *args):
        for command in self.reg_commands(verb, key, *args):
            subprocess.run(command, env=self.env, timeout=60, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)

    def map_drive(self, letter, folder, kind="cdrom"):
        """FOLDER as drive LETTER of KIND (cdrom or hd); the wineserver restarts to see it."""
        link = os.path.join(self.prefix, "dosdevices", letter + ":")
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(os.path.realpath(folder), link)
        self.reg("add", r"HKLM\Software\Wine\Drives", "/v", letter + ":", "/t", "REG_SZ",
                 "/d", kind)
        self.server("-w")
        self.stop()

    def drive_c(self, *parts):
        """A path under the prefix's C: drive, as a Unix path."""
        return os.path.join(self.prefix, "drive_c", *parts)

    def temp_dir(self):
        """The user's temporary folder, as a Unix path."""
        return self.drive_c("users", pwd.getpwuid(os.getuid()).pw_name, "Temp")


# ---------------------------------------------------------------------------------------------
# The screen

def capture(display=None, tries=5):
    """The root window as an xwd dump. xwd asks for the attributes of every window on the
    screen, and fails with BadWindow when one closes meanwhile (a message box, a wizard), so a
    failed capture is tried again."""
    env = dict(os.environ, DISPLAY=display) if display else None
    for attempt in range(tries):
        done = subprocess.run(["xwd", "-root", "-silent"], env=env, timeout=30,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if done.returncode == 0:
            return done.stdout
        if attempt + 1 < tries:
            time.sleep(0.1)
    raise subprocess.CalledProcessError(done.returncode, done.args, done.stdout, done.stderr)


XWD_FIELDS = 25  # CARD32 fields of the header, which xwd writes most significant byte first


def decode_xwd(data, box=None):
    """(width, height, rows) of an xwd dump of a true-colour screen, or of the region
    box = (x, y, width, height) of it: rows[y] is bytes of R, G, B triples."""
    if len(data) < 4 * XWD_FIELDS:
        raise ValueError("too short for an xwd dump")
    (header_size, version, pixmap_format, _depth, width, height, _xoffset, byte_order, _unit,
     _bit_order, _pad, bits_per_pixel, bytes_per_line, _visual, red, green, blue, _bits_rgb,
     _entries, ncolors) = struct.unpack_from(">%dI" % XWD_FIELDS, data)[:20]
    if version != 7 or pixmap_format != 2:
        raise ValueError("not a version 7 ZPixmap dump")
    # With Wine's windows on it, the same display can come back packed as 24 bits per pixel.
    if bits_per_pixel not in (24, 32):
        raise ValueError("%d bits per pixel: only true colour dumps" % bits_per_pixel)
    size = bits_per_pixel // 8
    offsets = []
    for mask in (red, green, blue):
        shift = mask.bit_length() - 8
        if shift < 0 or shift % 8 or mask != 0xFF << shift:
            raise ValueError("colour masks %x %x %x: want whole bytes" % (red, green, blue))
        offsets.append(shift // 8 if byte_order == 0 else size - 1 - shift // 8)
    x, y, w, h = box or (0, 0, width, height)
    if x < 0 or y < 0 or w <= 0 or h <= 0 or x + w > width or y + h > height:
        raise ValueError("region %s lies outside the %dx%d dump" % ((x, y, w, h), width, height))
    start = header_size + 12 * ncolors
    ri, gi, bi = offsets
    rows = []
    for line_no in range(y, y + h):
        at = start + line_no * bytes_per_line + size * x
        line = data[at:at + size * w]
        if len(line) < size * w:
            raise ValueError("the dump ends early")
        # Whole rows sliced channel by channel, not pixel by pixel: a screen a poll.
        row = bytearray(3 * w)
        row[0::3], row[1::3], row[2::3] = line[ri::size], line[gi::size], line[bi::size]
        rows.append(bytes(row))
    return w, h, rows


def png_bytes(rows):
    """A PNG (8-bit RGB, no interlace) of rows of packed R, G, B bytes."""
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", len(rows[0]) // 3, len(rows), 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def write_png(path, rows):
    with open(path, "wb") as f:
        f.write(png_bytes(rows))
