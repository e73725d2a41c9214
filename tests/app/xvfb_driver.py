"""Driving the real program on an X display with xdotool and the X11
command-line tools, shared by the end-to-end tests of both windows (the Qt
ones in tests/app, the Win32 one under Wine in tests/win): each on an Xvfb
display of its own, or on the one ctest runs under."""

import ctypes
import os
import shutil
import subprocess
import time


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(env, *command, timeout=15):
    result = subprocess.run(command, env=env, capture_output=True, text=True, timeout=timeout)
    return result.returncode, result.stdout.strip()


def require_tools(*tools):
    """Stops the test at once, saying what to install, when a tool is missing."""
    for tool in tools:
        if not shutil.which(tool):
            raise SystemExit(f"FAIL: {tool} is not installed (scripts/install-deps.sh installs it)")


def ended(program, timeout=10, what="the program did not end"):
    """The program's exit code once it ends, within `timeout` seconds."""
    try:
        return program.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure(what)


def wait_until(condition, timeout=5.0, step=0.1):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(step)
    return condition()


def search_windows(env, pattern):
    """Ids of the visible windows whose name matches `pattern`.

    A search can fail outright when a window vanishes while it looks
    (BadWindow); it is then simply asked again."""
    for _ in range(20):
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern], env=env,
                                capture_output=True, text=True, timeout=15)
        if result.returncode == 0 or not result.stderr.strip():
            return result.stdout.split()
        time.sleep(0.05)
    raise Failure(f"xdotool search keeps failing: {result.stderr.strip()}")


def find_window(env, pattern, timeout=15):
    """The id of the first visible window whose name matches `pattern`."""
    deadline = time.monotonic() + timeout
    while True:
        ids = search_windows(env, pattern)
        if ids:
            return ids[0]
        check(time.monotonic() < deadline, f"no window named {pattern!r} within {timeout} s")
        time.sleep(0.1)


def window_shown(env, pattern):
    return bool(search_windows(env, pattern))


def press_in(env, window, *keys):
    """Gives `window` the keyboard focus, then presses `keys`."""
    run(env, "xdotool", "windowfocus", "--sync", window)
    run(env, "xdotool", "key", *keys)


def type_into_file_dialog(env, dialog_pattern, text, timeout=15):
    """Types `text` as the file name of the dialog and confirms it."""
    dialog = find_window(env, dialog_pattern, timeout)
    run(env, "xdotool", "windowfocus", "--sync", dialog)
    run(env, "xdotool", "key", "ctrl+a")
    run(env, "xdotool", "type", "--delay", "5", text, timeout=30)
    # The file-name completer may take the first Enter for itself.
    for _ in range(3):
        run(env, "xdotool", "key", "Return")
        if wait_until(lambda: not window_shown(env, dialog_pattern), timeout=2):
            return
    raise Failure("the file dialog did not accept the typed path")


def window_geometry(env, window):
    code, out = run(env, "xwininfo", "-id", window)
    check(code == 0, "xwininfo failed")
    fields = {}
    for line in out.splitlines():
        key, _, value = line.strip().partition(":")
        fields[key] = value.strip()
    return (int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
            int(fields["Width"]), int(fields["Height"]))


def grab(env, window):
    """The window's pixels as (width, rgb bytes)."""
    result = subprocess.run(["import", "-window", window, "-depth", "8", "ppm:-"], env=env,
                            capture_output=True, timeout=15)
    check(result.returncode == 0, "import could not grab the window")
    magic, size, maximum, pixels = result.stdout.split(b"\n", 3)
    width, height = map(int, size.split())
    check(magic == b"P6" and maximum == b"255" and len(pixels) == 3 * width * height,
          "unexpected screenshot format")
    return width, pixels


def click(env, x, y):
    """Clicks the first button at (x, y) on the screen."""
    # --sync waits for the pointer to move, which it never does when an
    # earlier test left it right there: it first goes to a corner.
    subprocess.run(["xdotool", "mousemove", "0", "0"], env=env, timeout=15, check=True)
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"], env=env, timeout=15,
                   check=True)


def start_window_manager(env):
    """openbox on the display of `env`, once it manages windows."""
    manager = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)

    def running():
        result = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env, capture_output=True,
                                text=True, timeout=15)
        return "window id" in result.stdout

    if not wait_until(running, timeout=20):
        manager.kill()
        raise Failure("openbox did not start")
    return manager


class VirtualDisplay:
    """An Xvfb server on a display number it picks itself among the free ones."""

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end, "rb") as pipe:
            number = pipe.readline().strip()
        check(number.isdigit(), "Xvfb did not start")
        self.name = ":" + number.decode()
        return self

    def __exit__(self, *exc):
        self.server.kill()
        self.server.wait()


class HostWindow:
    """A plain top-level X11 window of the test's own, standing in for the
    window Horalis gives Enlazor to live in. Made through libX11 directly, so
    the test needs no toolkit of its own."""

    def __init__(self, display_name, name=b"Horalis"):
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XCreateSimpleWindow.restype = ctypes.c_ulong
        x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                          ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong,
                                          ctypes.c_ulong]
        x.XStoreName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_char_p]
        x.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x.XDestroyWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._x = x
        self._display = x.XOpenDisplay(display_name.encode())
        check(self._display, f"cannot open display {display_name}")
        root = x.XDefaultRootWindow(self._display)
        # The whole screen, in a grey no part of Enlazor's window has.
        self.id = x.XCreateSimpleWindow(self._display, root, 0, 0, 1024, 768, 0, 0, 0x606060)
        x.XStoreName(self._display, self.id, name)
        x.XMapWindow(self._display, self.id)
        x.XSync(self._display, 0)

    @property
    def hex_id(self):
        """The id as Horalis passes it: hexadecimal digits alone."""
        return f"{self.id:X}"

    def destroy(self):
        self._x.XDestroyWindow(self._display, self.id)
        self._x.XSync(self._display, 0)

    def close(self):
        self._x.XCloseDisplay(self._display)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
