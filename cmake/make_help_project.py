"""Turns the help's HTML pages (docs/help) into a project chmcmd compiles.

    make_help_project.py SOURCE_DIR OUTPUT_DIR NAME

Copies the pages, the style sheet and the pictures into OUTPUT_DIR and
writes beside them NAME.hhp, contenido.hhc and indice.hhk:

- the table of contents is the list of class "contenido" in index.html,
  under an entry for index.html itself;
- the keyword index is the list of class "indice" in indice.html;
- a page that carries <meta name="enlazor-help-context" content="N"> is
  the topic of help context N.

So the pages are the one source: what a browser shows and what the
compiled help lists cannot drift apart. The contents and the index are
written in Windows-1252, the code page of the help's language (Spanish,
0x0C0A), which is how HTML Help and xchm read them.
"""

import html
import html.parser
import pathlib
import shutil
import sys

LANGUAGE = "0xc0a Spanish (International Sort)"
COPIED = ("*.html", "*.css", "img/*.png")


class LinkList(html.parser.HTMLParser):
    """The links (target, text) of the <ul> whose class is `wanted`."""

    def __init__(self, wanted):
        super().__init__(convert_charrefs=True)
        self.wanted = wanted
        self.depth = 0
        self.links = []
        self.href = None
        self.text = ""

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "ul" and (self.depth or attrs.get("class") == self.wanted):
            self.depth += 1
        elif tag == "a" and self.depth:
            self.href, self.text = attrs.get("href"), ""

    def handle_endtag(self, tag):
        if tag == "ul" and self.depth:
            self.depth -= 1
        elif tag == "a" and self.href is not None:
            self.links.append((self.href, " ".join(self.text.split())))
            self.href = None

    def handle_data(self, data):
        if self.href is not None:
            self.text += data


class PageHead(html.parser.HTMLParser):
    """A page's title and its help context number, if it has one."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.title = ""
        self.context = None
        self.in_title = False

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "title":
            self.in_title = True
        elif tag == "meta" and attrs.get("name") == "enlazor-help-context":
            self.context = int(attrs["content"])

    def handle_endtag(self, tag):
        if tag == "title":
            self.in_title = False

    def handle_data(self, data):
        if self.in_title:
            self.title += data


def parse(parser, path):
    parser.feed(path.read_text(encoding="utf-8"))
    parser.close()
    return parser


def sitemap_entry(name, local):
    return ('<LI> <OBJECT type="text/sitemap">\n'
            f'\t<param name="Name" value="{html.escape(name)}">\n'
            f'\t<param name="Local" value="{html.escape(local)}">\n'
            "\t</OBJECT>\n")


def sitemap(entries):
    return ('<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">\n<HTML>\n<HEAD>\n'
            '<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">\n'
            f'</HEAD><BODY>\n<OBJECT type="text/site properties"></OBJECT>\n<UL>\n'
            + "".join(entries) + "</UL>\n</BODY></HTML>\n")


def main(source, output, name):
    source, output = pathlib.Path(source), pathlib.Path(output)
    shutil.rmtree(output, ignore_errors=True)
    output.mkdir(parents=True)
    files = []
    for pattern in COPIED:
        for path in sorted(source.glob(pattern)):
            target = output / path.relative_to(source)
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(path, target)
            files.append(path.relative_to(source).as_posix())

    heads = {f: parse(PageHead(), source / f) for f in files if f.endswith(".html")}
    contents = parse(LinkList("contenido"), source / "index.html").links
    keywords = parse(LinkList("indice"), source / "indice.html").links
    toc = [sitemap_entry(heads["index.html"].title, "index.html")]
    toc += [sitemap_entry(text, href) for href, text in contents]
    index = [sitemap_entry(text, href) for href, text in keywords]
    (output / "contenido.hhc").write_bytes(
        sitemap(toc).encode("cp1252"))
    (output / "indice.hhk").write_bytes(sitemap(index).encode("cp1252"))

    contexts = sorted((head.context, page) for page, head in heads.items() if head.context is not None)
    alias = "".join(f"IDH_{n}={page}\n" for n, page in contexts)
    mapping = "".join(f"#define IDH_{n} {n}\n" for n, _ in contexts)
    project = (
        "[OPTIONS]\n"
        f"Compiled file={name}.chm\n"
        "Contents file=contenido.hhc\n"
        "Index file=indice.hhk\n"
        "Default topic=index.html\n"
        "Display compile progress=No\n"
        "Full-text search=Yes\n"
        f"Language={LANGUAGE}\n"
        f"Title={heads['index.html'].title}\n"
        "\n[FILES]\n" + "".join(f + "\n" for f in files) +
        "\n[ALIAS]\n" + alias +
        "\n[MAP]\n" + mapping)
    (output / f"{name}.hhp").write_bytes(project.encode("cp1252"))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
