#!/usr/bin/python3
"""The real program hosted in a window of ours under Xvfb.

Each case starts `enlazor <direction> <host id>` the way Horalis does, from a
copy of the executable in a folder of its own (Horalis.ini goes beside the
executable), inside a plain X11 window the test makes, and checks on the X
server where the window lives, what the program shows, how it ends and what
Horalis.ini then says.

Needs Xvfb, xdotool, xwininfo and xprop (x11-utils), import (imagemagick)
and libX11.
"""

import argparse
import os
import pathlib
import re
import shutil
import subprocess
import tempfile

from xvfb_driver import (Failure, HostWindow, VirtualDisplay, check, ended, find_window, press_in, require_tools, run,
                         type_into_file_dialog, wait_until, window_shown)

CAPTION = "Exportar e importar datos entre Horalis y SAGA"
DIALOG = "^Archivo XML$"
MESSAGE = "^Enlazor$"
TABLES = ["ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST"]
# The window's place in the host: half of what the 1024 x 768 screen has
# left around its 632 x 266.
HOSTED_GEOMETRY = "632x266+196+251"


class Session:
    """One Xvfb display, the folder with the copied executable, and the
    exchange and SAGA folders the program works on."""

    def __init__(self, binary, document, artifacts, work, display):
        self.artifacts = artifacts
        self.folder = work / "horalis"
        self.folder.mkdir()
        self.binary = self.folder / "enlazor"
        shutil.copy2(binary, self.binary)
        self.ini = self.folder / "Horalis.ini"
        self.exchange = work / "htemp"
        self.exchange.mkdir()
        self.document = work / "escuela.xml"
        shutil.copyfile(document, self.document)
        self.log = work / "enlazor.log"
        runtime = work / "runtime"
        runtime.mkdir(mode=0o700)
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": str(work),
            "DISPLAY": display.name,
            "XDG_RUNTIME_DIR": str(runtime),
            # As on a Wayland desktop: hosted mode must go through X11
            # all the same, since Horalis names an X11 window.
            "QT_QPA_PLATFORM": "wayland",
            "ENLAZOR_EXCHANGE_DIR": str(self.exchange),
            "LANG": "C.UTF-8",
        }
        self.display = display
        self.program = None

    def start(self, *arguments, ini_before=None, env=None):
        """Starts the program with an ini file as given (none by default)."""
        if self.ini.exists():
            self.ini.unlink()
        if ini_before is not None:
            self.ini.write_bytes(ini_before)
        with open(self.log, "ab") as log:
            self.program = subprocess.Popen([str(self.binary), *arguments], env=env or self.env, stdout=log,
                                            stderr=subprocess.STDOUT)
        return self.program

    def stop(self):
        """Ends a program a failed case left running, with its windows."""
        if self.program and self.program.poll() is None:
            self.program.kill()
            self.program.wait()
        self.program = None

    def flag(self):
        check(self.ini.exists(), "no Horalis.ini beside the executable")
        text = self.ini.read_text()
        found = re.search(r"^\[Transformadores\]\r?\n(?:.*\r?\n)*?Transformado=(-?\d+)\r?$", text, re.M)
        check(found, f"no Transformado in Horalis.ini: {text!r}")
        return int(found.group(1))


def children_of(env, window):
    """(id, name) of the windows directly inside `window`."""
    code, out = run(env, "xwininfo", "-children", "-id", window)
    check(code == 0, "xwininfo -children failed")
    return re.findall(r"^\s+(0x[0-9a-f]+) \"([^\"]*)\"", out, re.M)


def hosted_window(env, host, timeout=15):
    """Our main window among the host's children."""
    def found():
        return [wid for wid, name in children_of(env, str(host.id)) if name == CAPTION]
    check(wait_until(lambda: bool(found()), timeout), "the window is not a child of the host")
    return found()[0]


def window_info(env, window):
    code, out = run(env, "xwininfo", "-id", window)
    check(code == 0, "xwininfo failed")
    return out


def map_state(env, window):
    return re.search(r"Map State: (\w+)", window_info(env, window)).group(1)


def geometry(env, window):
    return re.search(r"-geometry (\S+)", window_info(env, window)).group(1)


def transient_for(env, window):
    code, out = run(env, "xprop", "-id", window, "WM_TRANSIENT_FOR")
    found = re.search(r"# (0x[0-9a-f]+)", out)
    return int(found.group(1), 16) if code == 0 and found else None


def export_runs_inside_the_host_and_reports_one(session):
    env = session.env
    with HostWindow(session.display.name) as host:
        program = session.start("EXPORTAR", host.hex_id)
        dialog = find_window(env, DIALOG)
        # The direction runs while the window is being shown: it is inside
        # the host already, and not yet on the screen.
        window = hosted_window(env, host)
        check(map_state(env, window) == "IsUnMapped", "the window showed before its direction ran")
        check(transient_for(env, dialog) == host.id, "the file dialog does not belong to the host")
        run(env, "import", "-window", "root", str(session.artifacts / "enlazor-hosted-dialog.png"))
        type_into_file_dialog(env, DIALOG, str(session.document))
        message = find_window(env, MESSAGE, timeout=30)
        check(transient_for(env, message) == host.id, "the final message does not belong to the host")
        press_in(env, message, "Return")
        check(ended(program) == 0, "the program failed")
        check(session.flag() == 1, f"Transformado={session.flag()} after a finished export")
        tables = sorted(p.stem.upper() for p in session.exchange.iterdir() if p.suffix.upper() == ".DBF")
        check(tables == sorted(TABLES), f"tables after the export: {tables}")


def cancelled_dialogs_report_minus_one_for_export_and_zero_for_import(session):
    env = session.env
    # An ini file with other sections and keys keeps every other byte.
    kept = b"; Horalis\r\n[Horalis]\r\nCentro=IES\r\n[Transformadores]\r\nTransformado=1\r\nOtro=x\r\n"
    for word, expected, before in [("exportar", -1, None), ("Importar", 0, kept)]:
        with HostWindow(session.display.name) as host:
            program = session.start(word, host.hex_id, ini_before=before)
            press_in(env, find_window(env, DIALOG), "Escape")
            press_in(env, find_window(env, MESSAGE), "Return")  # "No existe archivo"
            check(ended(program) == 0, "the program failed")
            check(session.flag() == expected, f"{word}: Transformado={session.flag()}, expected {expected}")
            if before:
                check(session.ini.read_bytes() == before.replace(b"Transformado=1", b"Transformado=0"),
                      f"other lines of Horalis.ini changed: {session.ini.read_bytes()!r}")


def unknown_direction_waits_in_the_host_and_salir_reports_zero(session):
    env = session.env
    with HostWindow(session.display.name) as host:
        program = session.start("consultar", host.hex_id)
        window = hosted_window(env, host)
        check(wait_until(lambda: map_state(env, window) == "IsViewable", 10), "the window did not show")
        check(geometry(env, window) == HOSTED_GEOMETRY,
              f"the window lies at {geometry(env, window)} in the host, expected {HOSTED_GEOMETRY}")
        run(env, "import", "-window", "root", str(session.artifacts / "enlazor-hosted.png"))
        press_in(env, window, "alt+s")
        check(ended(program) == 0, "the program failed")
        check(session.flag() == 0, f"Transformado={session.flag()} after Salir")


def a_destroyed_host_closes_the_program(session):
    """As any close would, both while the window waits and while the hosted
    export waits in its file dialog, which then ends without a message."""
    env = session.env
    for word, waiting_in in [("consultar", None), ("exportar", DIALOG)]:
        with HostWindow(session.display.name) as host:
            program = session.start(word, host.hex_id)
            if waiting_in:
                find_window(env, waiting_in)
            else:
                window = hosted_window(env, host)
                check(wait_until(lambda: map_state(env, window) == "IsViewable", 10), "the window did not show")
            host.destroy()
            check(ended(program) == 0, f"{word}: the program failed")
            check(session.flag() == 0, f"{word}: Transformado={session.flag()} after the host went")


def a_handle_naming_no_window_ends_with_an_error_and_no_ini(session):
    env = session.env
    with HostWindow(session.display.name) as gone:
        gone.destroy()
        program = session.start("exportar", gone.hex_id)
        box = find_window(env, MESSAGE)
        check(not window_shown(env, "^" + CAPTION + "$"), "the main window showed")
        press_in(env, box, "Return")
        check(ended(program) != 0, "the program ended as if it had worked")
        check(not session.ini.exists(), "Horalis.ini was written")


def without_an_x11_display_it_says_so_and_writes_no_ini(session):
    env = {key: value for key, value in session.env.items() if key != "DISPLAY"}
    program = session.start("exportar", "1A2B", env=env)
    check(ended(program) != 0, "the program ended as if it had worked")
    log = session.log.read_text(errors="replace")
    check("no se puede conectar con la pantalla X11" in log, f"no clear error: {log[-300:]!r}")
    check(not session.ini.exists(), "Horalis.ini was written")


def help_reaches_the_chm_viewer_and_ends_with_the_program(session):
    """F1, then F1 AYUDA (Tab from Salir, Enter), with a stand-in CHM viewer
    that notes its arguments and stays open like a viewer window would."""
    requests = session.folder / "viewer-requests"
    viewer = session.folder / "chm-viewer"
    viewer.write_text('#!/bin/sh\necho "$$ $*" >> "%s"\nexec sleep 60\n' % requests)
    viewer.chmod(0o755)
    env = dict(session.env, ENLAZOR_CHM_VIEWER=str(viewer))
    help_file = session.folder / "SAGA.chm"
    with HostWindow(session.display.name) as host:
        program = session.start("consultar", host.hex_id, env=env)
        window = hosted_window(env, host)
        check(wait_until(lambda: map_state(env, window) == "IsViewable", 10), "the window did not show")
        press_in(env, window, "F1")
        check(wait_until(lambda: requests.exists() and len(requests.read_text().splitlines()) == 1, 5),
              "F1 did not reach the viewer")
        press_in(env, window, "Tab", "Return")
        check(wait_until(lambda: len(requests.read_text().splitlines()) == 2, 5),
              "F1 AYUDA did not reach the viewer")
        lines = [line.split(" ", 1) for line in requests.read_text().splitlines()]
        check([args for _, args in lines] == [f"--contextid=1 {help_file}", str(help_file)],
              f"the viewer was asked {[args for _, args in lines]}")
        press_in(env, window, "alt+s")
        check(ended(program) == 0, "the program failed")
        viewers_left = [pid for pid, _ in lines if pathlib.Path("/proc", pid).exists()
                        and "zombie" not in pathlib.Path("/proc", pid, "status").read_text().lower()]
        for pid in viewers_left:
            os.kill(int(pid), 9)
        check(not viewers_left, "help viewers outlived the program")


CASES = [
    export_runs_inside_the_host_and_reports_one,
    cancelled_dialogs_report_minus_one_for_export_and_zero_for_import,
    unknown_direction_waits_in_the_host_and_salir_reports_zero,
    a_destroyed_host_closes_the_program,
    a_handle_naming_no_window_ends_with_an_error_and_no_ini,
    without_an_x11_display_it_says_so_and_writes_no_ini,
    help_reaches_the_chm_viewer_and_ends_with_the_program,
]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--binary", required=True)
    parser.add_argument("--document", required=True, help="the SAGA document to export")
    parser.add_argument("--artifacts", required=True, help="folder for the screenshot")
    args = parser.parse_args()

    require_tools("Xvfb", "xdotool", "xwininfo", "xprop", "import")
    artifacts = pathlib.Path(args.artifacts)
    artifacts.mkdir(parents=True, exist_ok=True)

    work = pathlib.Path(tempfile.mkdtemp(prefix="enlazor-hosted-"))
    failures = []
    try:
        with VirtualDisplay() as display:
            session = Session(pathlib.Path(args.binary), args.document, artifacts, work, display)
            for case in CASES:
                try:
                    case(session)
                    print("PASS:", case.__name__)
                except Failure as failure:
                    failures.append(f"{case.__name__}: {failure}")
                    print("FAIL:", case.__name__, "-", failure)
                finally:
                    session.stop()
        if failures and session.log.exists():
            print(session.log.read_text(errors="replace"))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if failures:
        raise SystemExit(f"FAIL: {len(failures)} of {len(CASES)} hosted cases")


if __name__ == "__main__":
    main()
