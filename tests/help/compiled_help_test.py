#!/usr/bin/python3
"""The compiled help, read back with chmlib's tools (libchm-bin), and the
pages it is made of.

    compiled_help_test.py HELP.chm PAGES_DIR SOURCE_DIR

- enum_chmLib lists every page, picture and style sheet of PAGES_DIR, and
  extract_chmLib gives each back byte for byte; pages end in .html, which
  xchm renders (a .htm page it shows as source text);
- the table of contents lists every page; the keyword index holds every
  entry of the alphabetical index page; both are Windows-1252, as HTML Help
  reads them for a Spanish help;
- help context 1 names the main window's page, and 2 the page on checking,
  as pages inside the file (chmcmd would write the build machine's paths);
- every link and picture of the pages resolves, anchors included;
- every message the program can show is explained on mensajes.html: the
  texts are taken from the sources, so a new message without its
  explanation fails here.
"""

import html.parser
import pathlib
import re
import struct
import subprocess
import sys
import tempfile

# Where the program's messages are written, and how each is picked out of
# the source: (file, pattern whose group 1 is the message's fixed text).
MESSAGE_SOURCES = [
    ("shell/window/shell_texts.h", r'(?:no_such_file|process_finished|no_host_window) = "([^"]+)"'),
    ("storage/text.cpp", r'Error\("([^"(]+)'),
    ("storage/dbf_messages.cpp", r'Error\("([^"\\]+)'),
    ("storage/dbf_messages.cpp", r'"\'" \+ utf8_from_8bit\(text\) \+ "\'( no es [^"]+)"'),
    ("base/table_messages.cpp", r'engine\("([^"]+)"'),
    ("platform/posix/direction_lock.cpp", r'Error\("([^"]+)"'),
    ("import/time_tables.cpp", r'Error\("([^"]+)"'),
    ("cli/command_line.cpp", r'UsageError\{(?:[^"]*\? )?"([^"]+)"'),
    ("cli/command_line.cpp", r': "(sobran argumentos[^"]+)"'),
    ("shell/checking/check_view.cpp", r'(?:error|message) = "([^"]+)"'),
    ("shell/checking/check_view.cpp", r'Error\("([^"]+)"'),
    ("shell/checking/check_view.cpp", r'line \+= "\. ([^"]+)"'),
    ("shell/checking/check_texts.h", r'missing_document = "([^"]+)"'),
    ("storage/settings.cpp", r'Error\("([^"]+)"'),
    ("cli/main.cpp", r'std::cerr << "(Aviso: [^"]+)"'),
    ("app/main.cpp", r'std::cerr << "enlazor: ([^"«]+)'),
    ("win/main_form.cpp", r'Error\("([^"]+)"'),
]
# The kinds of finding of the check, each explained under its own anchor:
# those the report names, and those set where a finding is made.
FINDING_KINDS = [("check/check_report.cpp", r'\{"([a-z]+(?:-[a-z]+)+)", "'),
                 ("check/check.cpp", r'"([a-z]+(?:-[a-z]+)+)"')]
CONTEXTS = {1: "ventana-principal.html", 2: "comprobar.html"}


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.ids, self.links, self.text = set(), [], []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        for name in ("href", "src"):
            if attrs.get(name):
                self.links.append(attrs[name])

    def handle_data(self, data):
        self.text.append(data)


class Sitemap(html.parser.HTMLParser):
    """The (Name, Local) pairs of a .hhc or .hhk file."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.entries, self.current = [], {}

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "param":
            self.current[attrs.get("name")] = attrs.get("value")
            if "Name" in self.current and "Local" in self.current:
                self.entries.append((self.current["Name"], self.current["Local"]))
                self.current = {}


def parsed(parser, text):
    parser.feed(text)
    parser.close()
    return parser


def normal(text):
    return " ".join(text.replace("…", " ").split()).rstrip(" .:")


failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)


def main(chm, pages_dir, source_dir):
    pages_dir, source_dir = pathlib.Path(pages_dir), pathlib.Path(source_dir)
    sources = sorted(p.relative_to(pages_dir).as_posix() for p in pages_dir.rglob("*")
                     if p.suffix in (".html", ".css", ".png"))
    pages = [s for s in sources if s.endswith(".html")]
    expect(pages and not any(p.endswith(".htm") for p in sources), "pages must end in .html")

    listing = subprocess.run(["enum_chmLib", chm], capture_output=True, text=True, check=True).stdout
    listed = {line.split()[-1] for line in listing.splitlines() if line.split() and line.split()[-1].startswith("/")}
    for name in sources + ["contenido.hhc", "indice.hhk", "#IVB", "#STRINGS"]:
        expect("/" + name in listed, f"enum_chmLib does not list /{name}")

    with tempfile.TemporaryDirectory() as out:
        out = pathlib.Path(out)
        subprocess.run(["extract_chmLib", chm, str(out)], capture_output=True, check=True)
        for name in sources:
            got = out / name
            expect(got.is_file() and got.read_bytes() == (pages_dir / name).read_bytes(),
                   f"{name} does not come back byte for byte")

        toc = parsed(Sitemap(), (out / "contenido.hhc").read_bytes().decode("cp1252")).entries
        index = parsed(Sitemap(), (out / "indice.hhk").read_bytes().decode("cp1252")).entries
        expect({local for _, local in toc} == set(pages), "the contents list other pages than "
               f"the help's: {sorted({l for _, l in toc} ^ set(pages))}")
        entries = (pages_dir / "indice.html").read_text(encoding="utf-8").count("<li>")
        expect(len(index) >= 20 and len(index) == entries,
               f"the keyword index has {len(index)} entries, the index page {entries}")
        expect(("Índice alfabético", "indice.html") in toc, "the contents do not decode as Windows-1252")
        for name, local in index:
            expect(local.split("#")[0] in pages, f"index entry {name!r} names {local}, no page")

        ivb = (out / "#IVB").read_bytes()
        strings = (out / "#STRINGS").read_bytes()
        size, = struct.unpack_from("<I", ivb)
        pairs = struct.unpack_from(f"<{size // 4}I", ivb, 4)
        contexts = {pairs[i]: strings[pairs[i + 1]:strings.index(b"\0", pairs[i + 1])].decode()
                    for i in range(0, len(pairs), 2)}
        for number, page in CONTEXTS.items():
            expect(contexts.get(number) == page,
                   f"help context {number} names {contexts.get(number)!r}, not the page {page} inside the file")

        # Links and pictures, on the pages as the compiled file holds them.
        parsed_pages = {p: parsed(Page(), (out / p).read_text(encoding="utf-8")) for p in pages}
        for page, content in parsed_pages.items():
            for link in content.links:
                if re.match(r"^[a-z]+:", link):
                    continue
                target, _, anchor = link.partition("#")
                target = (pathlib.PurePosixPath(page).parent / target).as_posix() if target else page
                expect((out / target).is_file(), f"{page}: {link} names no file of the help")
                if anchor and target in parsed_pages:
                    expect(anchor in parsed_pages[target].ids, f"{page}: {link} names no anchor of {target}")

    explained = normal(" ".join(parsed(Page(), (pages_dir / "mensajes.html").read_text(encoding="utf-8")).text))
    anchors = parsed(Page(), (pages_dir / "mensajes.html").read_text(encoding="utf-8")).ids
    checked = 0
    for source, pattern in MESSAGE_SOURCES:
        found = re.findall(pattern, (source_dir / source).read_text(encoding="utf-8"))
        expect(found, f"{source}: no message found by {pattern!r}")
        for message in found:
            checked += 1
            expect(normal(message) in explained, f"mensajes.html does not explain {message!r} ({source})")
    kinds = sorted({kind for source, pattern in FINDING_KINDS
                    for kind in re.findall(pattern, (source_dir / source).read_text(encoding="utf-8"))})
    expect(len(kinds) >= 19, f"only {len(kinds)} kinds of finding found")
    for kind in kinds:
        expect(kind in anchors, f"mensajes.html has no anchor for the finding {kind}")

    for failure in failures:
        print("FAIL:", failure)
    print(f"compiled help: {len(sources)} files, {len(toc)} contents entries, {len(index)} keywords, "
          f"{checked} messages and {len(kinds)} kinds of finding checked; {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
