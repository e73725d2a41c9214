#!/usr/bin/env python3
"""Writes variants of the bundled sample school for comparing the Linux and
the Windows programs: the same document must give the same tables and the
same imported timetable on both.

Each variant is deterministic (its number seeds it) and changes what the
two systems could treat differently: accented Spanish names, codes that
collide ignoring case, weekly hours with either decimal separator, repeated
and missing ids, and groups, teachers and rooms left out.

    tests/windows/parity_documents.py SAMPLE.xml OUT_DIR COUNT
"""
import random
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

ACCENTED = "áéíóúÁÉÍÓÚñÑüÜçÇàèòÀÈÒºª"
HOURS = ["1", "2", "3", "4", "2,5", "2.5", "1.5", "0,5", " 3 ", "", "x", "4,0"]


def variant(sample: Path, seed: int) -> ET.ElementTree:
    rnd = random.Random(seed)
    tree = ET.parse(sample)
    root = tree.getroot()
    for section in ("subjects", "teachers", "locations", "groups"):
        parent = root.find(section)
        if parent is None:
            continue
        children = list(parent)
        for child in children:
            roll = rnd.random()
            if roll < 0.08:
                parent.remove(child)
                continue
            name = child.get("name")
            if name is not None and roll < 0.4:
                letters = list(name)
                for _ in range(rnd.randint(1, 3)):
                    letters.insert(rnd.randrange(len(letters) + 1), rnd.choice(ACCENTED))
                child.set("name", "".join(letters))
            ident = child.get("id")
            if ident is not None and 0.4 <= roll < 0.5:
                child.set("id", ident.lower() if rnd.random() < 0.5 else ident.swapcase())
            if section == "subjects" and rnd.random() < 0.3:
                child.set("hours", rnd.choice(HOURS))
        if children and rnd.random() < 0.5:
            parent.append(ET.fromstring(ET.tostring(rnd.choice(children))))  # a repeated id
    return tree


def main() -> int:
    sample, out_dir, count = Path(sys.argv[1]), Path(sys.argv[2]), int(sys.argv[3])
    out_dir.mkdir(parents=True, exist_ok=True)
    for seed in range(1, count + 1):
        variant(sample, seed).write(out_dir / f"variante-{seed:02d}.xml", encoding="UTF-8",
                                    xml_declaration=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
