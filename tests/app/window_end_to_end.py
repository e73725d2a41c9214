#!/usr/bin/python3
"""The real program under Xvfb, driven by real input events.

Starts `enlazor` on a display of its own, checks the window's client size and
the colours of its three gradient panels, keeps a screenshot, then runs an
export the way a person does: a click on the export button, the document's
path typed into the file dialog, Enter, Enter on the final message. The six
Horalis tables must then be in the exchange directory, and Alt+S must end
the program.

Needs Xvfb, xdotool, xwininfo (x11-utils) and import (imagemagick).
"""

import argparse
import os
import pathlib
import shutil
import subprocess
import tempfile

from xvfb_driver import (Failure, VirtualDisplay, check, ended, find_window, grab, press_in, require_tools, run,
                         type_into_file_dialog, wait_until, window_geometry, window_shown)

CAPTION = "Exportar e importar datos entre Horalis y SAGA"
TABLES = ["ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST"]
CLIENT_SIZE = (632, 266)

# Client-area pixels a row or two inside each panel's top and bottom edges
# and at its half height, away from labels and buttons, with the colour the
# gradient has there.
GRADIENT_SAMPLES = [
    # Draw3D2 (0, -1, 315 x 169): pale peach, white, golden yellow
    ((4, 1), (255, 238, 221)),
    ((4, 83), (255, 255, 255)),
    ((4, 166), (249, 211, 125)),
    # Draw3D3 (316, 0, 317 x 169): the same colours
    ((319, 1), (255, 238, 221)),
    ((319, 84), (255, 255, 255)),
    ((319, 167), (249, 211, 125)),
    # Draw3D1 (0, 168, 633 x 97): greyish blue, pale cyan, pale violet-blue
    ((4, 169), (204, 216, 230)),
    ((4, 216), (207, 242, 254)),
    ((4, 263), (194, 205, 254)),
]
TOLERANCE = 8

# BExportar's centre in the client area: Draw3D2's origin plus the button's.
EXPORT_BUTTON = (0 + 96 + 89 // 2, -1 + 120 + 25 // 2)


def gradient_mismatches(image):
    width, pixels = image
    wrong = []
    for (x, y), expected in GRADIENT_SAMPLES:
        offset = 3 * (y * width + x)
        actual = tuple(pixels[offset:offset + 3])
        if any(abs(a - e) > TOLERANCE for a, e in zip(actual, expected)):
            wrong.append(f"({x}, {y}) is {actual}, expected {expected}")
    return wrong


def exchange_tables(directory):
    return sorted(p.stem.upper() for p in directory.iterdir() if p.suffix.upper() == ".DBF")


def end_to_end(binary, document, artifacts, work):
    exchange = work / "htemp"
    exchange.mkdir()
    saga = work / "saga"
    saga.mkdir()
    chosen = saga / "escuela.xml"
    shutil.copyfile(document, chosen)
    runtime = work / "runtime"
    runtime.mkdir(mode=0o700)

    with VirtualDisplay() as display:
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": str(work),
            "DISPLAY": display.name,
            "XDG_RUNTIME_DIR": str(runtime),
            "QT_QPA_PLATFORM": "xcb",
            "ENLAZOR_EXCHANGE_DIR": str(exchange),
            "LANG": "C.UTF-8",
        }
        with open(work / "enlazor.log", "wb") as log:
            program = subprocess.Popen([binary], env=env, stdout=log, stderr=subprocess.STDOUT)
        try:
            window = find_window(env, "^" + CAPTION + "$")
            left, top, width, height = window_geometry(env, window)
            check((width, height) == CLIENT_SIZE, f"client area is {width} x {height}")

            # The first frames may come before the panels are painted.
            wait_until(lambda: not gradient_mismatches(grab(env, window)), timeout=5, step=0.2)
            run(env, "import", "-window", window, str(artifacts / "enlazor-window.png"))
            mismatches = gradient_mismatches(grab(env, window))
            check(not mismatches, "gradient colours: " + "; ".join(mismatches))

            x, y = left + EXPORT_BUTTON[0], top + EXPORT_BUTTON[1]
            run(env, "xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")
            type_into_file_dialog(env, "^Archivo XML$", str(chosen))

            message = find_window(env, "^Enlazor$", timeout=30)
            check(exchange_tables(exchange) == sorted(TABLES),
                  f"tables after the export: {exchange_tables(exchange)}")
            run(env, "xdotool", "windowfocus", "--sync", message)
            run(env, "xdotool", "key", "Return")
            check(wait_until(lambda: not window_shown(env, "^Enlazor$"), timeout=5),
                  "the final message did not go away on Enter")

            press_in(env, window, "alt+s")
            code = ended(program, what="Alt+S did not end the program")
            check(code == 0, f"the program ended with code {code}")
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--binary", required=True)
    parser.add_argument("--document", required=True, help="the SAGA document to export")
    parser.add_argument("--artifacts", required=True, help="folder for the screenshot")
    args = parser.parse_args()

    require_tools("Xvfb", "xdotool", "xwininfo", "import")
    artifacts = pathlib.Path(args.artifacts)
    artifacts.mkdir(parents=True, exist_ok=True)

    work = pathlib.Path(tempfile.mkdtemp(prefix="enlazor-e2e-"))
    try:
        end_to_end(args.binary, args.document, artifacts, work)
    except Failure as failure:
        log = work / "enlazor.log"
        if log.exists():
            print(log.read_text(errors="replace"))
        raise SystemExit(f"FAIL: {failure}")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("PASS: export through the window, screenshot in", artifacts / "enlazor-window.png")


if __name__ == "__main__":
    main()
