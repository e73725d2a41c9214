"""Makes the context map of a chmcmd-built .chm name topics inside the file.

    chm_relative_contexts.py FILE.chm PROJECT_DIR STRINGS_FILE

chmcmd (fp-utils 3.2.2) writes each [ALIAS] topic into the file's #STRINGS
as the absolute path the page had on the building machine
("/home/.../help-project/ventana-principal.html"). HTML Help and xchm look
a help context up through #IVB into #STRINGS and open that path inside the
.chm, where no such name is: on any other machine, or once the build folder
is gone, F1 finds no page (xchm falls back to the default topic, HTML Help
shows an error). Run on the build machine, xchm even opens the page from
the build folder on disk, which hides the fault.

The fix: each "PROJECT_DIR/<page>" in #STRINGS becomes "<page>", padded
with NULs to the same length, so that every other string keeps its offset
(#TOPICS and #IVB point into #STRINGS by offset). #STRINGS lies in the
compressed section, which cannot be rewritten without an LZX compressor;
so the new #STRINGS is appended to the uncompressed section 0 at the end
of the file, and its directory entry is pointed there. STRINGS_FILE is the
current #STRINGS, as chmlib's extract_chmLib writes it out.

The layout follows the ITSF/ITSP/PMGL format: a header with the offsets of
the directory and of section 0, a directory of 4096-byte PMGL chunks whose
entries are (name, section, offset, length) in ENCINTs, and quick-reference
offsets at each chunk's end.
"""

import struct
import sys


def read_encint(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def encint(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def entries(chunk):
    """(start, end, name, section, offset, length) of each entry of a PMGL chunk."""
    free, = struct.unpack_from("<I", chunk, 4)
    count, = struct.unpack_from("<H", chunk, len(chunk) - 2)
    pos = 20
    for _ in range(count):
        start = pos
        size, pos = read_encint(chunk, pos)
        name = chunk[pos:pos + size].decode("utf-8")
        pos += size
        section, pos = read_encint(chunk, pos)
        offset, pos = read_encint(chunk, pos)
        length, pos = read_encint(chunk, pos)
        yield start, pos, name, section, offset, length
    assert pos <= len(chunk) - free, "PMGL entries run into the free space"


def relative_strings(strings, project_dir):
    """#STRINGS with each absolute page path made relative, offsets kept."""
    prefix = project_dir.rstrip("/").encode("utf-8") + b"/"
    parts = strings.split(b"\0")
    fixed = [p[len(prefix):] + b"\0" * len(prefix) if p.startswith(prefix) else p for p in parts]
    result = b"\0".join(fixed)
    assert len(result) == len(strings)
    return result


def patch(chm, project_dir, strings):
    data = bytearray(chm)
    assert data[:4] == b"ITSF", "not a compiled help file"
    version, = struct.unpack_from("<I", data, 4)
    hs0_offset, _, dir_offset, _ = struct.unpack_from("<QQQQ", data, 0x38)
    content0 = struct.unpack_from("<Q", data, 0x58)[0] if version >= 3 else 0
    assert data[dir_offset:dir_offset + 4] == b"ITSP"
    header_size, _, chunk_size = struct.unpack_from("<III", data, dir_offset + 8)
    chunk_count, = struct.unpack_from("<I", data, dir_offset + 44)

    new_strings = relative_strings(strings, project_dir)
    if new_strings == strings:
        return bytes(data)
    new_offset = len(data) - content0
    for index in range(chunk_count):
        base = dir_offset + header_size + index * chunk_size
        chunk = data[base:base + chunk_size]
        if chunk[:4] != b"PMGL":
            continue
        for start, end, name, _, _, length in entries(chunk):
            if name != "/#STRINGS":
                continue
            assert length == len(strings), "the #STRINGS given is not the file's"
            name_bytes = name.encode("utf-8")
            entry = encint(len(name_bytes)) + name_bytes + encint(0) + encint(new_offset) + encint(length)
            grow = len(entry) - (end - start)
            free, = struct.unpack_from("<I", chunk, 4)
            count, = struct.unpack_from("<H", chunk, chunk_size - 2)
            quickref_count = (count - 1) // (1 + (1 << struct.unpack_from("<I", data, dir_offset + 20)[0]))
            assert grow <= free - 2 - 2 * quickref_count, "no room in the directory chunk"
            used_end = chunk_size - free
            body = chunk[:start] + entry + chunk[end:used_end]
            tail = chunk[used_end + grow:] if grow >= 0 else b"\0" * -grow + chunk[used_end:]
            chunk = bytearray(body + tail)
            struct.pack_into("<I", chunk, 4, free - grow)
            # The quick-reference offsets of entries after this one move too.
            for q in range(quickref_count):
                at = chunk_size - 4 - 2 * q
                ref, = struct.unpack_from("<H", chunk, at)
                if ref > start:
                    struct.pack_into("<H", chunk, at, ref + grow)
            data[base:base + chunk_size] = chunk
            data += new_strings
            struct.pack_into("<Q", data, hs0_offset + 8, len(data))
            return bytes(data)
    raise SystemExit("no /#STRINGS in the directory")


def main(path, project_dir, strings_path):
    with open(path, "rb") as f:
        chm = f.read()
    with open(strings_path, "rb") as f:
        strings = f.read()
    patched = patch(chm, project_dir, strings)
    with open(path, "wb") as f:
        f.write(patched)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
