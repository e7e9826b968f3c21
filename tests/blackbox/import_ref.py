"""Independent model of the Netscape import into the favorites store: the reader's tree merged
into a store document with the add-or-reuse step, names cleaned first."""

import bookmark_ref
import writer_ref

ROOT = b"NVFavTreeRoot"
WHITE = b" \t\n\v\f\r"


def sanitize(name):
    for ch in b"\\/:*?\"><|'":
        name = name.replace(bytes([ch]), b" ")
    # "]" would end the section header: replaced after the trimming, so "News]" stays apart from "News".
    return name.lstrip(WHITE).rstrip(WHITE).replace(b"]", b" ")


def _readable(text):
    return b"\r\n" not in text and b"\0" not in text


def fits(section, name, url=None):
    """Whether the store can hold the child so that its reader gives it back: the section name at
    most 511 bytes, the URL at most 2559 and its line at most 3071, no line break in either."""
    child = section + b"\\" + name
    if len(child) > 511 or not _readable(child):
        return False
    return url is None or (len(url) <= 2559 and len(url) + 6 <= 3071 and _readable(url))


def _lower(text):
    return bytes(b + 32 if 0x41 <= b <= 0x5A else b for b in text)


class StoreWriter(writer_ref.Store):
    """The store tree's reads (writer_ref.Store) plus the importer's add-or-reuse writes."""

    def first_free_key(self, section):
        index = 0
        while self.value(section, b"item_%d" % index):
            index += 1
        return b"item_%d" % index

    def has_item(self, section, name):
        index = 0
        while True:
            value = self.value(section, b"item_%d" % index)
            if not value:
                return False
            if _lower(value) == _lower(name):
                return True
            index += 1

    def add_child(self, section, name, is_folder):
        key = self.first_free_key(section)
        if not self.has_item(section, name):
            if is_folder:
                self.document.set(section, b"type", b"folder")
            self.document.set(section, key, name)
        return section + b"\\" + name

    def import_tree(self, section, nodes, date):
        for node in nodes:
            name = sanitize(node.name)
            if not fits(section, name, None if node.kind == 1 else node.url):
                continue  # left out, with everything below it
            if node.kind == 1:
                child = self.add_child(section, name, True)
                self.document.set(child, b"type", b"folder")
                self.import_tree(child, node.children, date)
            else:
                child = self.add_child(section, name, False)
                self.document.set(child, b"type", b"file")
                self.document.set(child, b"URL", node.url)
                self.document.set(child, b"CREATED_DATE", date)


def import_file(document, destination, file_bytes, date, to_ansi=bookmark_ref.default_to_ansi,
                empty_name_presets=True):
    """The store after importing a bookmark file into the folder path `destination`. The root is
    preset with the destination's display name; whether an empty display name counts as preset
    (else the file's title names the root) is open, `empty_name_presets` chooses."""
    cut = destination.rfind(b"\\")
    parent, name = (destination[:cut], destination[cut + 1:]) if cut >= 0 else (b"", destination)
    preset = name if name or empty_name_presets else None
    root = bookmark_ref.Reader(file_bytes, preset, to_ansi).parse()
    section = ROOT + (b"\\" + parent if parent else b"")
    StoreWriter(document).import_tree(section, [root], date)
    return document


def is_bookmark_file(file_bytes):
    return all(marker in file_bytes for marker in (b"<DL><p>", b"</DL><p>", b"<DT>"))
