#!/usr/bin/python3
"""The layers of src/ stand one on another, never the other way round.

base → platform → storage → export, import → check → cli, app → win: a file
may include its own folder's headers and those of any layer below its own,
nothing at its level in another folder and nothing above. Prints one line
per include that breaks this, and a closing count."""

import pathlib
import re
import sys

LEVEL = {"base": 0, "platform": 1, "storage": 2, "export": 3, "import": 3, "check": 4,
         "cli": 5, "app": 5, "win": 6}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/')


def main(source):
    files = 0
    broken_files = set()
    for path in sorted(pathlib.Path(source).rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        layer = path.relative_to(source).parts[0]
        if layer not in LEVEL:
            continue
        files += 1
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match or match[1] not in LEVEL:
                continue
            used = match[1]
            if LEVEL[used] > LEVEL[layer] or (LEVEL[used] == LEVEL[layer] and used != layer):
                print(f"{path}:{number}: {layer} includes {line.strip()}")
                broken_files.add(path)
    # One case per file: its includes keep to the layers or not.
    print(f"{files - len(broken_files)} passed, {len(broken_files)} failed")
    return 1 if broken_files or files == 0 else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1])))
