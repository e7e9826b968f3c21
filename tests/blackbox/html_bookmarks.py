"""A bookmark file read the way browsers and other tools read it: a general HTML parser, the
text decoded as the file declares (UTF-8 when it declares nothing), the file's first DL taken as
its list of bookmarks. In a list, an H3 names a folder whose entries are the DL that follows it,
and an A is a link with its HREF. Entries are tuples ("folder", name, entries) and
("link", name, url)."""

import html.parser
import re


def declared_charset(data):
    found = re.search(rb"charset=([A-Za-z0-9_-]+)", data, re.IGNORECASE)
    return found.group(1).decode("ascii") if found else "utf-8"


class _TreeBuilder(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.entries = None  # the file's list, made by its first DL
        self.open_lists = []
        self.folder = None  # the folder whose list the next DL opens
        self.text = None  # the text of the H3 or A being read
        self.href = None

    def handle_starttag(self, tag, attrs):
        if tag == "dl":
            if self.entries is None:
                self.entries = []
                self.open_lists.append(self.entries)
            else:
                self.open_lists.append(self.folder[2] if self.folder else [])
            self.folder = None
        elif tag in ("h3", "a"):
            self.text = ""
            self.href = dict(attrs).get("href") or ""

    def handle_endtag(self, tag):
        if tag == "dl":
            if self.open_lists:
                self.open_lists.pop()
        elif tag in ("h3", "a") and self.text is not None:
            entry = ("folder", self.text, []) if tag == "h3" else ("link", self.text, self.href)
            if self.open_lists:
                self.open_lists[-1].append(entry)
            self.folder = entry if tag == "h3" else None
            self.text = None

    def handle_data(self, data):
        if self.text is not None:
            self.text += data


def read(data):
    """The entries of the file's list; [] when it has none."""
    builder = _TreeBuilder()
    builder.feed(data.decode(declared_charset(data), errors="replace"))
    builder.close()
    return builder.entries or []


if __name__ == "__main__":
    document = ('<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<META HTTP-EQUIV="Content-Type" CONTENT="text/html; '
                'charset=UTF-8">\r\n<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks</H1>\r\n<DL><p>\r\n'
                '<DT><H3 >Grüße</H3>\r\n<DL><p>\r\n<DT><A HREF="http://m/">München</A>\r\n</DL><p>\r\n'
                '<DT><A HREF="http://e/">€</A>\r\n</DL><p>\r\n').encode("utf-8")
    assert read(document) == [("folder", "Grüße", [("link", "München", "http://m/")]), ("link", "€", "http://e/")]
    # A folder block alone in ANSI: its folder becomes the file's list, its umlauts are lost.
    block = "<DT><H3 >Grüße</H3>\r\n<DL><p>\r\n<DT><A HREF=\"u\">ä</A>\r\n</DL><p>\r\n".encode("cp1252")
    assert read(block) == [("link", "\ufffd", "u")], read(block)
    print("html bookmark reading ok")
