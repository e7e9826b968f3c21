"""Independent model of the favorites store tree and of what its exports write: the bookmark
folder block and the Internet shortcut files."""

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


def export_file(store, source):
    """The whole bookmark file that exporting the folder path `source` writes."""
    return folder_block(store, ROOT + b"\\" + source, display_name(source))


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
    before the last "</DL><p>", or in front of a text without one."""
    block = export_file(store, source)
    at = find_last_list_end(text)
    return block + text if at < 0 else text[:at] + block + text[at:]
