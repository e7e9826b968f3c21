"""Independent model of the favorites store tree and of what its exports write: the bookmark
file (a whole document in UTF-8), the folder block inserted into a profile's bookmark file and
the Internet shortcut files."""

ROOT = b"NVFavTreeRoot"


class Store:
    """Read access to a store document (ini_ref.Document) as the favorites tree sees it."""

    def __init__(self, document):
        self.document = document

    def value(self, section, key):
        found = self.document.find_section(section)
        if found is None:
            return b""
        for entry_key, entry_value in found[1]:
            if entry_key == key:
                return entry_value
        return b""

    def children(self, section):
        index = 0
        while True:
            name = self.value(section, b"item_%d" % index)
            if not name:
                return
            yield name
            index += 1

    def entries(self, section):
        """The folders and links below a folder section as the tree shows them: tuples
        ("folder", name, entries) and ("link", name, url); nothing below a section that is not a
        folder, and children of other types left out."""
        if self.value(section, b"type") != b"folder":
            return []
        found = []
        for child in self.children(section):
            child_section = section + b"\\" + child
            kind = self.value(child_section, b"type")
            if kind == b"folder":
                found.append(("folder", child, self.entries(child_section)))
            elif kind == b"file":
                found.append(("link", child, self.value(child_section, b"URL")))
        return found

    def has(self, section, key):
        found = self.document.find_section(section)
        return found is not None and any(entry_key == key for entry_key, _ in found[1])

    def top_name(self):
        """FavoritesRootName of Registry_HKCU; the default only when the key is missing."""
        if not self.has(b"Registry_HKCU", b"FavoritesRootName"):
            return b"Favoriten"
        return self.value(b"Registry_HKCU", b"FavoritesRootName")


def display_name(path):
    return path[path.rfind(b"\\") + 1:]


def folder_children_html(store, section):
    if store.value(section, b"type") != b"folder":
        return b""
    out = b""
    for child in store.children(section):
        child_section = section + b"\\" + child
        kind = store.value(child_section, b"type")
        if kind == b"folder":
            out += folder_block(store, child_section, child)
        elif kind == b"file":
            out += b'<DT><A HREF="' + store.value(child_section, b"URL") + b'">' + child + b"</A>\r\n"
    return out


def folder_block(store, section, name):
    return (b"<DT><H3 >" + name + b"</H3>\r\n<DL><p>\r\n" + folder_children_html(store, section)
            + b"</DL><p>\r\n")


def ansi_text(data):
    """ANSI bytes (code page 1252) as text, as the platform converts them: the five bytes that the
    code page leaves undefined become the code points of the same number."""
    text = []
    for byte in data:
        try:
            text.append(bytes([byte]).decode("cp1252"))
        except UnicodeDecodeError:
            text.append(chr(byte))
    return "".join(text)


def ansi_to_utf8(data):
    return ansi_text(data).encode("utf-8")


DOCUMENT_OPENING = (b"<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
                    b'<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">\r\n'
                    b"<TITLE>Bookmarks</TITLE>\r\n"
                    b"<H1>Bookmarks</H1>\r\n"
                    b"<DL><p>\r\n")
DOCUMENT_CLOSING = b"</DL><p>\r\n"


def export_block(store, source):
    """The folder block of the folder path `source`, as the store holds its text (ANSI)."""
    return folder_block(store, ROOT + b"\\" + source, display_name(source))


def export_file(store, source):
    """The whole bookmark file that exporting the folder path `source` writes: a document whose
    outer list holds the folder block, in UTF-8."""
    return DOCUMENT_OPENING + ansi_to_utf8(export_block(store, source)) + DOCUMENT_CLOSING


def declares_utf8(text):
    """The reader's test: "charset=UTF-8" before the first zero byte."""
    zero = text.find(b"\0")
    return b"charset=UTF-8" in (text if zero < 0 else text[:zero])


def shortcut(url):
    return b"[InternetShortcut]\r\nURL=" + url


FALLBACK = b"Quendal Browser-Links"
MAX_PATH = 260


def export_ie(store, source, favorites):
    """Folders (as a list) and files (path -> bytes) that exporting `source` creates, all as
    Windows paths below the Favorites folder `favorites`, in the order they are made."""
    folders, files = [], {}
    relative = source[len(store.top_name()) + 1:]
    target = favorites + b"\\" + relative
    if target.endswith(b"\\"):
        target = target[:-1]
    folders.append(target)
    _export_directory(store, ROOT + b"\\" + source, target, favorites, folders, files)
    return folders, files


def _export_directory(store, section, directory, favorites, folders, files):
    if store.value(section, b"type") != b"folder":
        return
    for child in store.children(section):
        child_section = section + b"\\" + child
        path = directory + b"\\" + child
        kind = store.value(child_section, b"type")
        if kind == b"folder":
            folders.append(path)
            _export_directory(store, child_section, path, favorites, folders, files)
        elif kind == b"file":
            url = store.value(child_section, b"URL")
            if len(path) + 4 < MAX_PATH:
                files[path + b".url"] = shortcut(url)
                continue
            fallback = favorites + b"\\" + FALLBACK
            folders.append(fallback)
            fallback += path[path.rfind(b"\\"):]
            if len(fallback) + 4 < MAX_PATH:
                files[fallback + b".url"] = shortcut(url)


def find_last_list_end(text):
    position, found = -1, text.find(b"</DL><p>")
    while found >= 0:
        position, found = found, text.find(b"</DL><p>", found + 8)
    return position


def export_into_profile(store, source, text):
    """A profile's bookmark file after exporting `source` into it: the folder block goes just
    before the last "</DL><p>", or in front of a text without one; in UTF-8 when the file
    declares UTF-8, else as the store holds it."""
    block = export_block(store, source)
    if declares_utf8(text):
        block = ansi_to_utf8(block)
    at = find_last_list_end(text)
    return block + text if at < 0 else text[:at] + block + text[at:]
