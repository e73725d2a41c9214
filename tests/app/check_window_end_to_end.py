#!/usr/bin/python3
"""The real enlazor-comprobar under Xvfb, against the real enlazor-cli.

A school document with findings of both directions: the export's own (the
fixture's) and one of the import (a SOLUC record whose subject has no
record). The window, started on it, must carry in its title the counts of
the "Resumen:" line enlazor-cli prints for the same document and directory;
"Guardar informe…", driven with the keyboard and a name typed without an
extension, must save a .txt file with enlazor-cli's very bytes; Esc must end
the program; and nothing else may be written. A screenshot of the window
stays in the artifacts folder.

Needs Xvfb, xdotool, xwininfo (x11-utils) and import (imagemagick).
"""

import argparse
import os
import pathlib
import re
import shutil
import struct
import subprocess
import tempfile

from xvfb_driver import (Failure, VirtualDisplay, check, ended, find_window, press_in, require_tools, run,
                         type_into_file_dialog, wait_until)

TITLE = "Enlazor: comprobar datos"


def set_first_record(table, field, value):
    """Writes `value` into `field` of the first record of a dBase table."""
    data = bytearray(table.read_bytes())
    header_length = struct.unpack_from("<H", data, 8)[0]
    offset = 1  # the deletion flag
    for start in range(32, header_length - 1, 32):
        name = data[start:start + 11].split(b"\0")[0].decode()
        size = data[start + 16]
        if name == field:
            data[header_length + offset:header_length + offset + size] = value.ljust(size)
            table.write_bytes(bytes(data))
            return
        offset += size
    raise Failure(f"{table.name} has no field {field}")


def files_under(*folders):
    return {p: p.read_bytes() for folder in folders for p in sorted(folder.rglob("*")) if p.is_file()}


def end_to_end(args, work):
    saga, exchange, reports, home = work / "saga", work / "HTEMP", work / "informes", work / "home"
    for folder in (saga, exchange, reports, home):
        folder.mkdir()
    document = saga / "escuela.xml"
    shutil.copyfile(args.document, document)
    runtime = work / "runtime"
    runtime.mkdir(mode=0o700)
    env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": str(home), "LC_ALL": "C.UTF-8",
           "XDG_RUNTIME_DIR": str(runtime), "QT_QPA_PLATFORM": "xcb"}

    # Horalis's tables for the document, and a timetable that names a
    # subject they lack: an error the import's check reports.
    for command in ([args.cli, "export", str(document), "--exchange-dir", str(exchange)],
                    [args.standin, "--exchange-dir", str(exchange)]):
        code, out = run(env, *command, timeout=60)
        check(code == 0, f"{command[0]} failed: {out}")
    set_first_record(exchange / "SOLUC.DBF", "ASIG", b"NADA")

    printed = subprocess.run([args.cli, "check", str(document), "--exchange-dir", str(exchange)], env=env,
                             capture_output=True, timeout=60).stdout
    counts = re.search(rb"^Resumen: (.*)$", printed, re.M)
    check(counts is not None, "enlazor-cli printed no summary")
    expected_title = f"{TITLE} ({counts.group(1).decode()})"
    check(re.search(r"\b[1-9]\d* errore?s?, [1-9]\d* avisos?\)$", expected_title),
          f"the document should give errors and warnings: {expected_title}")
    # Qt's file dialog keeps its last folder under HOME: only the school's
    # folders count.
    before = files_under(saga, exchange, reports)

    with VirtualDisplay() as display:
        env["DISPLAY"] = display.name
        with open(work.parent / f"{work.name}.log", "wb") as log:
            program = subprocess.Popen([args.binary, str(document), "--exchange-dir", str(exchange)], env=env,
                                       stdout=log, stderr=subprocess.STDOUT)
        try:
            window = find_window(env, "^" + re.escape(TITLE) + " \\(", timeout=30)
            _, title = run(env, "xdotool", "getwindowname", window)
            check(title == expected_title, f"title {title!r}, enlazor-cli says {expected_title!r}")

            code, info = run(env, "xwininfo", "-id", window)
            geometry = dict(line.strip().split(": ", 1) for line in info.splitlines() if ": " in line)
            # The list's last rows in the picture: the import's findings and
            # the error, selected, come after the export's.
            left, top = int(geometry["Absolute upper-left X"]), int(geometry["Absolute upper-left Y"])
            run(env, "xdotool", "mousemove", "--sync", str(left + 300), str(top + 200), "click", "1")
            run(env, "xdotool", "key", "End")
            crop = "{Width}x{Height}+{Absolute upper-left X}+{Absolute upper-left Y}".format(
                **{key: geometry[key] for key in ("Width", "Height", "Absolute upper-left X",
                                                  "Absolute upper-left Y")})
            run(env, "import", "-window", "root", "-crop", crop, "+repage",
                str(args.artifacts / "enlazor-comprobar.png"))

            run(env, "xdotool", "windowfocus", "--sync", window)
            run(env, "xdotool", "key", "alt+g")
            type_into_file_dialog(env, "^Guardar informe$", str(reports / "informe"))
            saved = reports / "informe.txt"
            check(wait_until(saved.exists, timeout=10), f"no report saved; {reports} holds "
                  f"{sorted(p.name for p in reports.iterdir())}")
            check(saved.read_bytes() == printed, "the saved report differs from enlazor-cli's output")

            press_in(env, window, "Escape")
            code = ended(program, what="Esc did not end the program")
            check(code == 0, f"the program ended with code {code}")
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()

    after = files_under(saga, exchange, reports)
    after.pop(reports / "informe.txt")
    check(after == before, "the window wrote more than the report: "
          f"{sorted(set(after) ^ set(before)) or 'changed files'}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for name in ("--binary", "--cli", "--standin", "--document", "--artifacts"):
        parser.add_argument(name, required=True)
    args = parser.parse_args()
    require_tools("Xvfb", "xdotool", "xwininfo", "import")
    args.artifacts = pathlib.Path(args.artifacts)
    args.artifacts.mkdir(parents=True, exist_ok=True)

    top = pathlib.Path(tempfile.mkdtemp(prefix="enlazor-comprobar-e2e-"))
    work = top / "escuela"
    work.mkdir()
    try:
        end_to_end(args, work)
    except Failure as failure:
        log = top / "escuela.log"
        if log.exists():
            print(log.read_text(errors="replace"))
        raise SystemExit(f"FAIL: {failure}")
    finally:
        shutil.rmtree(top, ignore_errors=True)
    print("PASS: the window agrees with enlazor-cli; screenshot in", args.artifacts / "enlazor-comprobar.png")


if __name__ == "__main__":
    main()
