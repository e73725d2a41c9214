#!/usr/bin/python3
"""Enlazor's window seen inside Horalis's under Wine, judged from the screen.

Starts the test host (hosted_test_host.exe) on a scenario that leaves
Enlazor's window up, then looks at screenshots of the X display for the
window's own pixels (its gradients and the "&Salir" button's text) where a
child of the host's panel would be, while the host moves, shrinks, is
minimised and restored, and clicks through the X server as a person would:
"&Salir" to end, or a direction's "Aceptar" to run it. The host itself
checks Horalis.ini and how the window lived; its exit status is the verdict.

    hosted_overlay.py HOST_EXE ENLAZOR_EXE SAMPLE SCENARIO {none,openbox}

Runs on the X display of DISPLAY, with the Wine prefix of WINEPREFIX;
needs wine, xdotool, import (imagemagick) and, for the second case,
openbox.
"""

import argparse
import os
import pathlib
import re
import subprocess
import sys
import threading
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "app"))
from xvfb_driver import Failure, check as require, click, start_window_manager, wait_until  # noqa: E402

# The window's size at 96 pixels per inch, and its place on a screen: half
# of what the screen leaves around it, counted from the host's client area.
WIDTH, HEIGHT = 632, 266
CAPTION = "Exportar e importar datos entre Horalis y SAGA"

# Points of the window (client coordinates) clear of every label and button,
# with the colour its gradient panels have there.
GRADIENT_POINTS = [
    ((8, 150), (250, 220, 152)),    # export side, towards its golden bottom
    ((620, 10), (255, 240, 225)),   # import side, near its peach top
    ((450, 172), (204, 218, 232)),  # footer, near its greyish-blue top
    ((600, 258), (196, 210, 254)),  # footer, towards its violet-blue bottom
]
# "&Salir", within the footer: its dark text.
CLOSE_BUTTON = (256, 200, 345, 225)
# The export side's "Aceptar".
EXPORT_BUTTON_CENTRE = (140, 131)
TOLERANCE = 14


def check(condition, message):
    require(condition, message)
    print(f"ok: {message}", flush=True)


class Screenshot:
    def __init__(self, env):
        data = subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", "ppm:-"], env=env,
                              capture_output=True, timeout=30, check=True).stdout
        # P6, width, height and the largest value, each after blanks, then
        # one blank and the pixels.
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+\d+\s", data)
        if not header:
            raise Failure("the screenshot is no PPM image")
        self.width, self.height = int(header[1]), int(header[2])
        self.pixels = data[header.end():]

    def at(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return None
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])


def near(colour, expected):
    return colour is not None and all(abs(a - b) <= TOLERANCE for a, b in zip(colour, expected))


def dark_pixels(shot, left, top, right, bottom):
    count = 0
    for y in range(top, bottom):
        for x in range(left, right):
            colour = shot.at(x, y)
            if colour is not None and max(colour) < 90:
                count += 1
    return count


class Host:
    """The test host under Wine, taking orders on its standard input."""

    def __init__(self, arguments, env):
        self.process = subprocess.Popen(["wine", *arguments], env=env, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                                        encoding="cp1252", errors="replace")
        self.lines = []
        self.changed = threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            line = line.rstrip("\r\n")
            print(f"host: {line}", flush=True)
            with self.changed:
                self.lines.append(line)
                self.changed.notify_all()
        with self.changed:
            self.lines.append(None)
            self.changed.notify_all()

    def wait_for(self, prefix, timeout=90):
        """The next line after those already taken that starts with `prefix`."""
        deadline = time.monotonic() + timeout
        with self.changed:
            while True:
                while self.lines:
                    line = self.lines.pop(0)
                    if line is None:
                        raise Failure(f"the host ended before saying '{prefix}'")
                    if line.startswith(prefix):
                        return line
                left = deadline - time.monotonic()
                if left <= 0:
                    raise Failure(f"the host did not say '{prefix}' within {timeout} s")
                self.changed.wait(left)

    def order(self, text):
        """Carries out `text`; gives the client area, the window's rectangle
        and whether it is visible, all on the screen."""
        self.process.stdin.write(text + "\n")
        self.process.stdin.flush()
        return parse_where(self.wait_for("client "))


def parse_where(line):
    words = line.split()
    client = tuple(int(v) for v in words[1:5])
    form = tuple(int(v) for v in words[6:10])
    return client, form, words[11] == "1"


class Judge:
    def __init__(self, env):
        self.env = env
        shot = Screenshot(env)
        self.offset = ((shot.width - WIDTH) // 2, (shot.height - HEIGHT) // 2)

    def expected_corner(self, client):
        return client[0] + self.offset[0], client[1] + self.offset[1]

    def drawn(self, corner, client):
        """True when every point of the window inside the host's client
        area shows the window, and the button's text is there."""
        shot = Screenshot(self.env)
        seen = 0
        for (x, y), colour in GRADIENT_POINTS:
            sx, sy = corner[0] + x, corner[1] + y
            if client[0] <= sx < client[2] and client[1] <= sy < client[3]:
                if not near(shot.at(sx, sy), colour):
                    return False
                seen += 1
        left, top, right, bottom = CLOSE_BUTTON
        text = dark_pixels(shot, corner[0] + left, corner[1] + top, corner[0] + right, corner[1] + bottom)
        return seen > 0 and text >= 5

    def gone(self, corner, window_manager):
        """The window's X window is unmapped and, with a window manager,
        none of its pixels is left where it was. Without one, Wine cannot
        iconify the host: its X window stays where it was, holding whatever
        was last drawn there, ours included, so the pixels tell nothing."""
        result = subprocess.run(["xwininfo", "-name", CAPTION], env=self.env, capture_output=True, text=True,
                                timeout=15)
        if "Map State: IsUnMapped" not in result.stdout:
            return False
        if window_manager == "none":
            return True
        shot = Screenshot(self.env)
        return not any(near(shot.at(corner[0] + x, corner[1] + y), colour) for (x, y), colour in GRADIENT_POINTS)

    def outside_clear(self, corner, client):
        """No point of the window beyond the host's client area shows it."""
        shot = Screenshot(self.env)
        outside = [(corner[0] + x, corner[1] + y, colour) for (x, y), colour in GRADIENT_POINTS
                   if not (client[0] <= corner[0] + x < client[2] and client[1] <= corner[1] + y < client[3])]
        return bool(outside) and not any(near(shot.at(x, y), colour) for x, y, colour in outside)


def scenario(host, judge, env, name, window_manager):
    host.wait_for("ready")
    client, form, visible = parse_where(host.wait_for("client "))
    corner = judge.expected_corner(client)
    check(visible and (form[0], form[1]) == corner,
          f"the window lies at {corner}, centred from the host's client area's corner")
    check(wait_until(lambda: judge.drawn(corner, client)), "its gradients and \"&Salir\" are drawn there")

    client, form, _ = host.order("move 60 40")
    corner = judge.expected_corner(client)
    check(wait_until(lambda: judge.drawn(corner, client)), "moved with the host by (+60, +40)")

    host.order("minimise")
    check(wait_until(lambda: judge.gone(corner, window_manager)), "not to be seen while the host is minimised")
    client, form, _ = host.order("restore")
    corner = judge.expected_corner(client)
    check(wait_until(lambda: judge.drawn(corner, client)), "back when the host is restored")

    client, form, _ = host.order("resize 520 520")
    check(wait_until(lambda: judge.drawn(corner, client) and judge.outside_clear(corner, client)),
          "cut off at the edge of a host too small for it")
    client, form, _ = host.order("resize 900 700")
    check(wait_until(lambda: judge.drawn(corner, client)), "whole again in a host grown back")

    if name == "error-then-close":
        left, top, right, bottom = CLOSE_BUTTON
        click(env, corner[0] + (left + right) // 2, corner[1] + (top + bottom) // 2)
    else:
        click(env, corner[0] + EXPORT_BUTTON_CENTRE[0], corner[1] + EXPORT_BUTTON_CENTRE[1])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("host")
    parser.add_argument("enlazor")
    parser.add_argument("sample")
    parser.add_argument("scenario", choices=["error-then-close", "unknown-word-then-export"])
    parser.add_argument("window_manager", choices=["none", "openbox"])
    arguments = parser.parse_args()

    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    env.pop("ENLAZOR_HOSTED_PLACEMENT", None)
    manager = start_window_manager(env) if arguments.window_manager == "openbox" else None
    host = Host([arguments.host, arguments.enlazor, arguments.scenario, arguments.sample], env)
    try:
        scenario(host, Judge(env), env, arguments.scenario, arguments.window_manager)
        status = host.process.wait(timeout=120)
        check(status == 0, "the host found Horalis.ini and the window as they should be")
        print("hosted overlay: passed", flush=True)
        return 0
    except (Failure, subprocess.SubprocessError) as failure:
        print(f"FAILED: {failure}", flush=True)
        return 1
    finally:
        if host.process.poll() is None:
            host.process.kill()
            host.process.wait()
        if manager:
            manager.kill()
            manager.wait()


if __name__ == "__main__":
    sys.exit(main())
