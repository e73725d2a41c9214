#!/usr/bin/python3
"""F1 and "F1 AYUDA" under Xvfb, from the programs laid out as the package
installs them (PREFIX/bin, PREFIX/share/enlazor/ayuda; copies, since the
executable's folder is read with links resolved).

A stand-in viewer (ENLAZOR_CHM_VIEWER) writes down which file and context
each request opens; then xchm itself must show each page rendered, which the
screenshot shows by colour (HTML source text has none). Screenshots stay in
the artifacts folder. Needs Xvfb, xdotool, xwininfo, import and xchm.
"""

import argparse
import os
import pathlib
import shutil
import subprocess
import tempfile

from xvfb_driver import (Failure, VirtualDisplay, check, find_window, grab, require_tools, run, wait_until,
                         window_geometry)

MAIN_CAPTION = "^Exportar e importar datos entre Horalis y SAGA$"
CHECK_CAPTION = "^Enlazor: comprobar datos"
HELP_BUTTON = (265 + 75 // 2, 168 + 67 + 18 // 2)   # "F1 AYUDA", in the window
OWN_HELP = "Enlazor-ayuda.chm"

# program, how help is asked for, whether a SAGA.chm lies beside the
# program, and the viewer's arguments expected ({own} and {saga}).
ROUTES = [
    ("enlazor", "F1", False, ["--contextid=1", "{own}"]),
    ("enlazor", "button", False, ["{own}"]),
    ("enlazor", "F1", True, ["--contextid=1", "{saga}"]),
    ("enlazor", "button", True, ["{saga}"]),
    ("enlazor-comprobar", "F1", False, ["--contextid=2", "{own}"]),
    ("enlazor-comprobar", "F1", True, ["--contextid=2", "{own}"]),
]

# What only the rendered page shows near its top, as (colour, how many
# pixels at least): the main window's peach gradient, the icon's teal.
RENDERED = {
    "F1": ("the picture of the main window", (255, 238, 221), 400),
    "button": ("the program's icon", (0x26, 0x7a, 0x8a), 100),
}
TOLERANCE = 12


def lay_out(args, top):
    """PREFIX/bin with the programs, PREFIX/share/enlazor/ayuda with the help."""
    prefix = top / "usr"
    bin_dir = prefix / "bin"
    help_dir = prefix / "share" / "enlazor" / "ayuda"
    bin_dir.mkdir(parents=True)
    help_dir.mkdir(parents=True)
    for program in (args.binary, args.check_binary):
        shutil.copy2(program, bin_dir)
    shutil.copy2(args.help, help_dir / OWN_HELP)
    return bin_dir, help_dir / OWN_HELP


def environment(top, display, viewer=None):
    env = {
        "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
        "HOME": str(top / "home"),
        "DISPLAY": display.name,
        "XDG_RUNTIME_DIR": str(top / "runtime"),
        "QT_QPA_PLATFORM": "xcb",
        "LANG": "C.UTF-8",
    }
    (top / "home").mkdir(exist_ok=True)
    (top / "runtime").mkdir(mode=0o700, exist_ok=True)
    if viewer:
        env["ENLAZOR_CHM_VIEWER"] = str(viewer)
    return env


def ask_for_help(env, program, how):
    window = find_window(env, MAIN_CAPTION if program.name == "enlazor" else CHECK_CAPTION, timeout=30)
    if how == "F1":
        run(env, "xdotool", "windowfocus", "--sync", window)
        run(env, "xdotool", "key", "F1")
    else:
        left, top, _, _ = window_geometry(env, window)
        run(env, "xdotool", "mousemove", "--sync", str(left + HELP_BUTTON[0]), str(top + HELP_BUTTON[1]),
            "click", "1")


def started(program, env, log):
    return subprocess.Popen([str(program)], env=env, stdout=log, stderr=subprocess.STDOUT)


def check_routes(bin_dir, own_help, top):
    """The stand-in viewer writes its arguments, one per line, to a file."""
    recorded = top / "viewer-arguments"
    viewer = top / "viewer"
    viewer.write_text(f'#!/bin/sh\nprintf "%s\\n" "$@" > "{recorded}.part" && mv "{recorded}.part" "{recorded}"\n')
    viewer.chmod(0o755)
    saga = bin_dir / "SAGA.chm"
    for name, how, with_saga, expected in ROUTES:
        case = f"{name}, {how}, {'with' if with_saga else 'without'} SAGA.chm"
        if with_saga:
            saga.write_bytes(b"ITSF, Horalis's own help")
        elif saga.exists():
            saga.unlink()
        recorded.unlink(missing_ok=True)
        with VirtualDisplay() as display, open(top / "routes.log", "ab") as log:
            env = environment(top, display, viewer)
            program = started(bin_dir / name, env, log)
            try:
                ask_for_help(env, bin_dir / name, how)
                check(wait_until(recorded.exists, timeout=10), f"{case}: no viewer started")
            finally:
                program.kill()
                program.wait()
        wanted = [a.format(own=own_help, saga=saga) for a in expected]
        got = recorded.read_text().splitlines()
        check(got == wanted, f"{case}: the viewer got {got}, expected {wanted}")
        print(f"ok   {case}: {' '.join(got)}")
    saga.unlink(missing_ok=True)


def pixels_near(image, box, colour):
    width, pixels = image
    left, top, right, bottom = box
    count = 0
    for y in range(top, bottom):
        row = pixels[3 * (y * width + left):3 * (y * width + right)]
        for x in range(0, len(row), 3):
            if all(abs(row[x + i] - colour[i]) <= TOLERANCE for i in range(3)):
                count += 1
    return count


def check_rendered(bin_dir, top, artifacts):
    """xchm itself: each request's page, rendered, in a screenshot."""
    for how, (what, colour, least) in RENDERED.items():
        with VirtualDisplay() as display, open(top / "xchm.log", "ab") as log:
            env = environment(top, display)
            program = started(bin_dir / "enlazor", env, log)
            try:
                ask_for_help(env, bin_dir / "enlazor", how)
                viewer = find_window(env, "^xCHM", timeout=30)
                left, top_y, width, height = window_geometry(env, viewer)
                # The page is right of the contents tree and below the tabs.
                page = (width // 3, height // 3, width, height)
                shot = artifacts / f"ayuda-{how}.png"
                found = 0

                def shows_it():
                    nonlocal found
                    found = pixels_near(grab(env, viewer), page, colour)
                    return found >= least

                wait_until(shows_it, timeout=15, step=0.5)
                run(env, "import", "-window", viewer, str(shot))
                check(found >= least, f"{how}: xchm's page lacks {what} ({found} pixels of {colour}); "
                      f"it shows no rendered page (see {shot})")
                print(f"ok   {how}: xchm shows {what}, rendered; screenshot {shot}")
            finally:
                program.kill()
                program.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for name in ("--binary", "--check-binary", "--help-file", "--artifacts"):
        parser.add_argument(name, required=True)
    args = parser.parse_args()
    args.help = args.help_file
    require_tools("Xvfb", "xdotool", "xwininfo", "import", "xchm")
    artifacts = pathlib.Path(args.artifacts)
    artifacts.mkdir(parents=True, exist_ok=True)
    top = pathlib.Path(tempfile.mkdtemp(prefix="enlazor-help-e2e-"))
    try:
        bin_dir, own_help = lay_out(args, top)
        check_routes(bin_dir, own_help, top)
        check_rendered(bin_dir, top, artifacts)
    except Failure as failure:
        for log in ("routes.log", "xchm.log"):
            if (top / log).exists():
                print((top / log).read_text(errors="replace")[-3000:])
        raise SystemExit(f"FAIL: {failure}")
    finally:
        shutil.rmtree(top, ignore_errors=True)
    print("PASS: F1 and F1 AYUDA open the right help, rendered; screenshots in", artifacts)


if __name__ == "__main__":
    main()
