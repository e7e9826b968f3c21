"""Independent model of the Netscape bookmark reader and of the tree listing that
`nvtool bookmarks show` prints (depth-first, two blanks per depth, CR LF)."""

LINE_UNITS = 2559  # UTF-16 units of text one decoded line may hold


class Node:
    def __init__(self, kind, name, url=b""):
        self.kind = kind  # 1 folder (also the root), 2 link
        self.name = name
        self.url = url
        self.children = []


def decode_utf8_units(raw):
    """Strict decoding of one line to UTF-16 units; None for any failure (also empty input)."""
    if not raw:
        return None
    units = []
    i, n = 0, len(raw)
    while i < n:
        lead = raw[i]
        if lead < 0x80:
            value, length = lead, 1
        elif lead < 0xC0:
            return None
        elif lead < 0xE0:
            value, length = lead & 0x1F, 2
        elif lead < 0xF0:
            value, length = lead & 0x0F, 3
        elif lead < 0xF8:
            value, length = lead & 0x07, 4
        else:
            return None
        if i + length > n:
            return None
        for follower in raw[i + 1:i + length]:
            if not 0x80 <= follower <= 0xBF:
                return None
            value = (value << 6) | (follower & 0x3F)
        if length == 2 and value < 0x80:
            return None
        if length == 3 and (value < 0x800 or 0xD800 <= value <= 0xDBFF):
            return None
        if length == 4:
            plane = value >> 16
            if plane == 0 or plane > 16:
                return None
            value -= 0x10000
            units += [0xD800 | (value >> 10), 0xDC00 | (value & 0x3FF)]
        else:
            units.append(value)
        if len(units) > LINE_UNITS:
            return None
        i += length
    return units


def units_to_ansi(units, to_ansi):
    text = b"".join(u.to_bytes(2, "little") for u in units).decode("utf-16-le", "surrogatepass")
    return to_ansi(text)


def default_to_ansi(text):
    out = bytearray()
    for ch in text:
        try:
            out += ch.encode("cp1252")
        except UnicodeEncodeError:
            out += b"?"
    return bytes(out)


class Reader:
    def __init__(self, data, root_name=None, to_ansi=default_to_ansi):
        zero = data.find(b"\0")
        self.buffer = data if zero < 0 else data[:zero]
        self.root_name = root_name
        self.to_ansi = to_ansi
        self.utf8 = False
        self.pos = 0

    def title(self):
        if self.root_name is not None:
            return self.root_name
        start = self.buffer.find(b"<TITLE>")
        end = self.buffer.find(b"</TITLE>")
        if start < 0 or end < 0:
            return b""
        start += len(b"<TITLE>")
        return self.buffer[start:end] if end >= start else b""

    def next_line(self):
        end_mark = b"\n" if self.utf8 else b"\r\n"
        end = self.buffer.find(end_mark, self.pos)
        if end < 0:
            return None
        line = self.buffer[self.pos:end]
        self.pos = end + len(end_mark)
        if self.utf8:
            units = decode_utf8_units(line)
            if units is not None:
                line = units_to_ansi(units, self.to_ansi)
        return line

    @staticmethod
    def classify(line):
        for marker, kind in ((b"<DL>", 0), (b"</DL>", 4), (b"<DT><H3", 1), (b"<DT><A", 2)):
            if marker in line:
                return kind
        return -1

    def parse(self):
        root = Node(1, self.title())
        self.utf8 = b"charset=UTF-8" in self.buffer
        self.parse_list(root)
        return root

    def parse_list(self, parent):
        fields = {"name": b"", "url": b""}
        while True:
            line = self.next_line()
            if line is None:
                return
            kind = self.classify(line)
            fields["url"] = b""
            self.parse_entry(line, kind, fields)
            if kind == 1:
                node = Node(1, fields["name"])
                parent.children.append(node)
                self.parse_list(node)
            elif kind == 2:
                parent.children.append(Node(2, fields["name"], fields["url"]))
            elif kind == 4:
                return

    @staticmethod
    def parse_entry(line, kind, fields):
        if kind == 2:
            marker = b'HREF="'
            at = line.find(marker)
            if at < 0:
                return
            work = line[at + len(marker):]
            fields["url"] = work
            quote = work.find(b'"')
            if quote < 0:
                return
            fields["url"] = work[:quote]
            close = work.find(b">")
            if close < 0:
                return
            fields["name"] = work[close + 1:]
            end = fields["name"].find(b"</A>")
            if end < 0:
                return
            fields["name"] = fields["name"][:end]
        elif kind == 1:
            marker = b"<DT><H3"
            fields["name"] = line[line.find(marker) + len(marker):]
            close = fields["name"].find(b">")
            if close < 0:
                return
            fields["name"] = fields["name"][close + 1:]
            end = fields["name"].find(b"</H3>")
            if end < 0:
                return
            fields["name"] = fields["name"][:end]
            fields["url"] = b""


def listing(node, depth=0):
    kind = b"FOLDER" if node.kind == 1 else b"LINK"
    out = b"  " * depth + kind + b" [" + node.name + b"] [" + node.url + b"]\r\n"
    for child in node.children:
        out += listing(child, depth + 1)
    return out


def show(data, root_name=None, to_ansi=default_to_ansi):
    return listing(Reader(data, root_name, to_ansi).parse())


if __name__ == "__main__":
    sample = (b"<TITLE>T</TITLE>\r\n<DL><p>\r\n<DT><H3 ADD=\"1\">F</H3>\r\n<DL><p>\r\n"
              b"<DT><A HREF=\"u\" X>n</A>\r\n</DL><p>\r\n<DT>no link\r\n</DL><p>\r\n<DT><A HREF=\"late\">x</A>\r\n")
    expected = b"FOLDER [T] []\r\n  FOLDER [F] []\r\n    LINK [n] [u]\r\n"
    assert show(sample) == expected, show(sample)
    print("bookmark model ok")
