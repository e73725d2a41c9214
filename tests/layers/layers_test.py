#!/usr/bin/python3
"""The layers of src/ stand one on another, never the other way round.

base → platform → storage → export, import → check → shell → cli, app, win:
a file may include its own folder's headers and those of any layer below its
own, nothing at its level in another folder and nothing above. So the three
programs' folders (the command line, the Qt window, the Win32 window) never
include one another, and the shell under both windows stays toolkit-free:
no Qt header anywhere in it, and the system's own headers only in the sides
of its seam (shell/system/posix, shell/system/win32).

Prints one line per include that breaks this, and a closing count."""

import pathlib
import re
import sys

LEVEL = {"base": 0, "platform": 1, "storage": 2, "export": 3, "import": 3, "check": 4,
         "shell": 5, "cli": 6, "app": 6, "win": 6}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/')
SYSTEM_INCLUDE = re.compile(r'^\s*#\s*include\s+<([^>]+)>')
# What a toolkit or a system brings; the shell keeps it to its seam's sides.
TOOLKIT = re.compile(r'^(Q[A-Za-z]*(/|$)|windows\.h$|commctrl\.h$|commdlg\.h$|shlobj\.h$|X11/|xcb/)')
SEAM_SIDES = ("system/posix", "system/win32")


def broken_includes(path, source):
    parts = path.relative_to(source).parts
    layer = parts[0]
    inner = "/".join(parts[1:3])
    for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
        match = INCLUDE.match(line)
        if match and match[1] in LEVEL:
            used = match[1]
            if LEVEL[used] > LEVEL[layer] or (LEVEL[used] == LEVEL[layer] and used != layer):
                yield f"{path}:{number}: {layer} includes {line.strip()}"
        system = SYSTEM_INCLUDE.match(line)
        if (system and layer == "shell" and TOOLKIT.match(system[1])
                and not inner.startswith(SEAM_SIDES)):
            yield f"{path}:{number}: the shell includes a toolkit's {line.strip()}"


def main(source):
    files = 0
    broken_files = set()
    for path in sorted(pathlib.Path(source).rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        if path.relative_to(source).parts[0] not in LEVEL:
            continue
        files += 1
        for message in broken_includes(path, source):
            print(message)
            broken_files.add(path)
    # One case per file: its includes keep to the layers or not.
    print(f"{files - len(broken_files)} passed, {len(broken_files)} failed")
    return 1 if broken_files or files == 0 else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1])))
