"""The bookmark file and Internet shortcut writers, through `nvtool favorites export-file` and
`export-ie` on a demo installation whose per-user file is written by the models; and the
store's save of that file through `nvtool store set --save`."""

import html
import os
import shutil
import subprocess

import bookmark_ref
import cipher_ref
import html_bookmarks
import ini_ref
import writer_ref
from check_bookmarks import platform_to_ansi
from harness import ROOT, windows_path

USER = "usr0001"
LONG_A = b"Ordner mit einem recht langen Namen " + b"a" * 64  # 100 bytes
LONG_B = b"Unterordner mit langem Namen " + b"b" * 71  # 100 bytes


class TreeBuilder:
    def __init__(self, document):
        self.document = document
        self.next_index = {}

    def add(self, parent, name, kind=b"folder", url=None, type_value=None):
        index = self.next_index.get(parent.lower(), 0)
        self.next_index[parent.lower()] = index + 1
        self.document.set(parent, b"item_%d" % index, name)
        section = parent + b"\\" + name
        if type_value is not None or kind is not None:
            self.document.set(section, b"type", type_value if type_value is not None else kind)
        if url is not None:
            self.document.set(section, b"URL", url)
            self.document.set(section, b"CREATED_DATE", b"06.12.2004")
        return section


def demo_tree():
    document = ini_ref.Document()
    document.set(b"Registry_HKCU", b"CurrentSkin", b"Skin0000")
    document.set(b"Registry_HKCU", b"FavoritesRootName", b"Favoriten")
    tree = TreeBuilder(document)
    top = tree.add(b"NVFavTreeRoot", b"Favoriten")
    news = tree.add(top, b"News")
    tree.add(news, b"Tagesschau", b"file", b"http://www.example.com/nachrichten")
    tree.add(news, b"Leer")
    tree.add(news, b"M\xfcller & S\xf6hne", b"file", b"http://example.com/?a=1&b=\xe4")
    tree.add(top, b"Suchmaschine", b"file", b"http://search.example.com/")
    quirks = tree.add(top, b"Sonderf\xe4lle")
    tree.add(quirks, b"<b>fett</b>", b"file", b'http://x/"quoted"')
    tree.add(quirks, b"Ohne URL", b"file")
    tree.add(quirks, b"Falscher Typ", type_value=b"Folder")
    tree.add(quirks, b"Typ mit Blank", type_value=b"file ")
    tree.add(quirks, b"Ohne Typ", kind=None)
    tree.add(quirks, b"Leerer URL", b"file", b"")
    tree.add(quirks, b"Gro\xdf", b"file", b"http://gross/")
    tree.add(quirks, b"GRO\xdf", b"file", b"http://GROSS/")
    tree.add(quirks, b"Eckige ]Klammer", b"file", b"http://bracket/")
    tree.add(quirks, b"Nach den Sonderf\xe4llen", b"file", b"http://last/")
    gap = tree.add(top, b"L\xfccke")
    tree.add(gap, b"Erster", b"file", b"http://first/")
    document.set(gap, b"item_1", b"")
    document.set(gap, b"item_2", b"Hinter der L\xfccke")
    document.set(gap + b"\\Hinter der L\xfccke", b"type", b"file")
    deep = top
    for level in range(8):
        deep = tree.add(deep, b"Ebene %d" % level)
    tree.add(deep, b"Tief", b"file", b"http://deep/")
    long_a = tree.add(top, LONG_A)
    long_b = tree.add(long_a, LONG_B)
    # Shortcut paths of 259 and 260 characters below the Favorites folder C:\users\Demo\Favoriten.
    tree.add(top, b"p" * 231, b"file", b"http://259/")
    tree.add(top, b"q" * 232, b"file", b"http://260/")
    tree.add(long_b, b"Weit unten " + b"w" * 29, b"file", b"http://fallback/")
    tree.add(long_b, b"Kurz", b"file", b"http://short/")
    export = tree.add(top, b"Export")
    greetings = tree.add(export, b"Gr\xfc\xdfe")
    tree.add(greetings, b"M\xfcnchen Stra\xdfe", b"file", b"http://example.com/m\xfcnchen")
    tree.add(greetings, b"Eins", b"file", b"http://eins/")
    tree.add(export, b"Preis 5 \x80", b"file", b"http://example.com/?preis=5\x80")
    untyped_top = tree.add(b"NVFavTreeRoot", b"Ohne Typ oben", kind=None)
    document.set(untyped_top, b"item_0", b"Kind")
    document.set(untyped_top + b"\\Kind", b"type", b"file")
    other = tree.add(b"NVFavTreeRoot", b"Zusatzordner")
    tree.add(other, b"Unter ordner")
    tree.add(other + b"\\Unter ordner", b"Link", b"file", b"http://zusatz/")
    return document


EXPORT_FILE_SOURCES = [
    b"Favoriten\\Export", b"Favoriten", b"Favoriten\\News", b"Favoriten/News", b"Favoriten\\Sonderf\xe4lle", b"Favoriten\\L\xfccke",
    b"Favoriten\\News\\Leer", b"Favoriten\\news", b"Favoriten\\Gibt es nicht", b"Ohne Typ oben",
    b"Zusatzordner",
]
EXPORT_IE_SOURCES = [b"Favoriten", b"Favoriten\\News", b"Zusatzordner\\Unter ordner"]


class Demo:
    """The demo installation of scripts/demo-environment.sh in the run's own prefix."""

    def __init__(self, tool):
        self.tool = tool
        self.drive = os.path.join(tool.env["WINEPREFIX"], "drive_c")
        self.user_file = os.path.join(self.drive, "users", "Demo", "Anwendungsdaten", "Quendal",
                                      "Quendal_Software_5", "Browser", USER + ".ini")
        self.favorites = os.path.join(self.drive, "users", "Demo", "Favoriten")

    def prepare(self):
        done = subprocess.run(["bash", os.path.join(ROOT, "scripts", "demo-environment.sh"), ROOT, USER],
                              env=self.tool.env, capture_output=True, timeout=120)
        return done.returncode == 0 and os.path.exists(self.user_file)

    def system_ini(self):
        """The text of the demo's "system.ini" as the program reads it (deciphered when needed)."""
        for top, _, files in os.walk(self.tool.env["WINEPREFIX"]):
            if "system.ini" in files and top.replace("\\", "/").endswith("Quendal_Software_5/Browser"):
                return ini_ref.read_config_bytes(open(os.path.join(top, "system.ini"), "rb").read())
        return None

    def write_user_file(self, document):
        with open(self.user_file, "wb") as handle:
            handle.write(cipher_ref.encrypt(document.write()))

    def clear_favorites(self):
        shutil.rmtree(self.favorites, ignore_errors=True)
        os.makedirs(self.favorites)


def windows_to_unix(drive, path):
    """C:\\users\\... (ANSI bytes) to the Unix path of the prefix (UTF-8 file names)."""
    assert path[:3].upper() == b"C:\\"
    return os.path.join(drive, *path[3:].decode("cp1252").split("\\"))


def actual_tree(folder):
    folders, files = set(), {}
    for top, directories, names in os.walk(folder):
        for name in directories:
            folders.add(os.path.join(top, name))
        for name in names:
            files[os.path.join(top, name)] = open(os.path.join(top, name), "rb").read()
    return folders, files


def run(tool, checks, work, rng):
    demo = Demo(tool)
    if not checks.true("demo installation prepared", demo.prepare()):
        return
    document = demo_tree()
    demo.write_user_file(document)
    system = demo.system_ini()
    checks.true("demo system.ini found", system is not None)
    store = writer_ref.Store(ini_ref.parse(ini_ref.read_config_bytes(open(demo.user_file, "rb").read())))
    folder = os.path.join(work, "writer")
    os.makedirs(folder, exist_ok=True)
    _check_export_files(tool, checks, store, folder)
    _check_export_ie(tool, checks, demo, store)
    _check_export_nc(tool, checks, demo, store)
    _check_top_folder_names(tool, checks, demo)
    demo.write_user_file(document)
    if system is not None:
        _check_store_save(tool, checks, demo, document, system, folder)


def _check_export_files(tool, checks, store, folder):
    for index, source in enumerate(EXPORT_FILE_SOURCES):
        target = os.path.join(folder, "export%02d.htm" % index)
        result = tool.run("favorites", "export-file", source.decode("cp1252"), windows_path(target))
        label = "favorites export-file %r" % source
        if not checks.equal(label + ": exit code", 0, result.code):
            print("     stdout %r stderr %r" % (result.out[:200], result.err[:300]))
            continue
        actual = open(target, "rb").read() if os.path.exists(target) else None
        checks.equal(label, writer_ref.export_file(store, source), actual)
        if actual is not None:
            _check_reading_back(tool, checks, store, source, target, actual)
    # An existing file is kept when the question is answered no, replaced when answered yes.
    target = os.path.join(folder, "existing.htm")
    with open(target, "wb") as handle:
        handle.write(b"old content")
    result = tool.run("favorites", "export-file", "Favoriten\\News", windows_path(target), "--no")
    checks.equal("favorites export-file over an existing file, answered no: exit code", 3, result.code)
    checks.equal("favorites export-file over an existing file, answered no: file kept", b"old content",
                 open(target, "rb").read())
    result = tool.run("favorites", "export-file", "Favoriten\\News", windows_path(target), "--yes")
    checks.equal("favorites export-file over an existing file, answered yes: exit code", 0, result.code)
    checks.equal("favorites export-file over an existing file, answered yes: the new document",
                 writer_ref.export_file(store, b"Favoriten\\News"), open(target, "rb").read())


def _taken_as_written(data):
    """Whether an HTML reader takes the text as written: no tag characters, no quote, and no "&"
    that starts a character reference."""
    text = writer_ref.ansi_text(data)
    return not set(text) & set('<>"') and html.unescape(text) == text


def _plain(entries):
    for kind, name, rest in entries:
        if not _taken_as_written(name):
            return False
        if not (_plain(rest) if kind == "folder" else _taken_as_written(rest)):
            return False
    return True


def _as_text(entries):
    return [(kind, writer_ref.ansi_text(name), _as_text(rest) if kind == "folder" else writer_ref.ansi_text(rest))
            for kind, name, rest in entries]


def _listing(entries, depth):
    out = b""
    for kind, name, rest in entries:
        if kind == "folder":
            out += b"  " * depth + b"FOLDER [" + name + b"] []\r\n" + _listing(rest, depth + 1)
        else:
            out += b"  " * depth + b"LINK [" + name + b"] [" + rest + b"]\r\n"
    return out


def _check_reading_back(tool, checks, store, source, target, data):
    """The exported file as other programs read it and as the program's reader reads it."""
    label = "favorites export-file %r read back" % source
    shown = tool.run("bookmarks", "show", windows_path(target))
    checks.equal(label + " by bookmarks show", bookmark_ref.show(data, to_ansi=platform_to_ansi), shown.out)
    exported = [("folder", writer_ref.display_name(source), store.entries(writer_ref.ROOT + b"\\" + source))]
    if not _plain(exported):
        return
    checks.equal(label + " by bookmarks show: the store folder under the root",
                 b"FOLDER [Bookmarks] []\r\n" + _listing(exported, 1), shown.out)
    checks.equal(label + " by a general HTML parser: the store folder", _as_text(exported),
                 html_bookmarks.read(data))


INVALID_NAME_CHARACTERS = set(b'<>:"/|?*')


def _writable(path):
    """Whether the platform accepts the last component as a file name."""
    return not INVALID_NAME_CHARACTERS & set(path[path.rfind(b"\\") + 1:])


def _unix_expectation(demo, folders, files):
    """The model's folders and files as the case-insensitive file system keeps them: a later name
    that differs only in case opens the earlier file (first spelling, last content)."""
    expected_folders = {}
    for path in folders:
        unix = windows_to_unix(demo.drive, path)
        expected_folders.setdefault(unix.lower(), unix)
    expected_folders = set(expected_folders.values())
    spelled = {}
    expected_files = {}
    for path, data in files.items():
        if not _writable(path):
            continue
        unix = windows_to_unix(demo.drive, path)
        unix = spelled.setdefault(unix.lower(), unix)
        expected_files[unix] = data
    # Creating the target creates its missing parents below the Favorites folder as well.
    for path in list(expected_folders) + list(expected_files):
        parent = os.path.dirname(path)
        while len(parent) > len(demo.favorites):
            expected_folders.add(parent)
            parent = os.path.dirname(parent)
    expected_folders.discard(demo.favorites)
    return expected_folders, expected_files


def _check_top_folder_names(tool, checks, demo):
    """The export strips as many characters as the configured top folder name has, plus one."""
    for label, value in (("another top folder name", b"Favs"), ("an empty top folder name", b""),
                         ("no top folder name", None)):
        document = demo_tree()
        section = document.find_section(b"Registry_HKCU")
        section[1] = [entry for entry in section[1] if entry[0] != b"FavoritesRootName"]
        if value is not None:
            document.set(b"Registry_HKCU", b"FavoritesRootName", value)
        demo.write_user_file(document)
        _check_export_ie(tool, checks, demo, writer_ref.Store(document), [b"Favoriten\\News"], label)


def _check_export_ie(tool, checks, demo, store, sources=EXPORT_IE_SOURCES, setting=""):
    favorites = b"C:\\users\\Demo\\Favoriten"
    for source in sources:
        demo.clear_favorites()
        result = tool.run("favorites", "export-ie", source.decode("cp1252"))
        label = "favorites export-ie %r" % source + (" with " + setting if setting else "")
        if not checks.equal(label + ": exit code", 0, result.code):
            print("     stdout %r stderr %r" % (result.out[:200], result.err[:300]))
            continue
        folders, files = writer_ref.export_ie(store, source, favorites)
        expected_folders, expected_files = _unix_expectation(demo, folders, files)
        actual_folders, actual_files = actual_tree(demo.favorites)
        checks.equal(label + ": folders", sorted(expected_folders), sorted(actual_folders))
        checks.equal(label + ": shortcut files", sorted(expected_files), sorted(actual_files))
        for path in sorted(path for path in files if not _writable(path)):
            message = b"unable to write file '" + path + b"'"
            checks.true(label + ": a shortcut the platform refuses is reported: %r" % path,
                        message in result.err.replace(b"\r", b""), repr(result.err[:200]))
        for path, data in sorted(expected_files.items()):
            if path in actual_files:
                checks.equal(label + ": bytes of " + os.path.relpath(path, demo.favorites)[:60],
                             data, actual_files[path])


def _check_store_save(tool, checks, demo, document, system_text, folder):
    """Adding nodes with `store set --save` writes the merged store, enciphered, as the writer does."""
    merged = ini_ref.parse(ini_ref.read_config_bytes(cipher_ref.encrypt(document.write())))
    expanded = system_text.replace(b"%PERSONAL%", b"C:\\users\\Demo\\Eigene Dateien", 1)
    ini_ref.parse(expanded, merged)
    additions = [
        (b"NVFavTreeRoot\\Favoriten\\News", b"item_3", b"Neu hinzugef\xfcgt"),
        (b"NVFavTreeRoot\\Favoriten\\News\\Neu hinzugef\xfcgt", b"type", b"file"),
        (b"NVFavTreeRoot\\Favoriten\\News\\Neu hinzugef\xfcgt", b"URL", b"http://neu/?x=\"1\""),
        (b"nvfavtreeroot\\FAVORITEN\\news", b"item_4", b"Neuer Ordner"),
        (b"NVFavTreeRoot\\Favoriten\\News\\Neuer Ordner", b"type", b"folder"),
    ]
    for section, key, value in additions:
        result = tool.run("store", "set", section.decode("cp1252"), key.decode("cp1252"),
                          value.decode("cp1252"), "--save")
        checks.equal("store set %r %r --save: exit code" % (section, key), 0, result.code)
        merged.set(section, key, value)
    saved = open(demo.user_file, "rb").read()
    checks.equal("store set --save: the per-user file is the merged store, enciphered",
                 cipher_ref.encrypt(merged.write()), saved)
    _check_save_in_a_closed_folder(tool, checks, demo, merged)
    store = writer_ref.Store(merged)
    target = os.path.join(folder, "after-set.htm")
    result = tool.run("favorites", "export-file", "Favoriten\\News", windows_path(target))
    if checks.equal("favorites export-file after store set: exit code", 0, result.code):
        checks.equal("favorites export-file after store set", writer_ref.export_file(store, b"Favoriten\\News"),
                     open(target, "rb").read())


def _check_save_in_a_closed_folder(tool, checks, demo, merged):
    """A folder where the program may write the file but create nothing beside it (made immutable
    here): the save still writes the file, in place."""
    folder = os.path.dirname(demo.user_file)
    if subprocess.run(["chattr", "+i", folder], capture_output=True).returncode != 0:
        checks.note("store set --save in a folder without create rights: not checked (chattr +i refused)")
        return
    try:
        section, key, value = b"NVFavTreeRoot\\Favoriten\\News", b"item_5", b"Im geschlossenen Ordner"
        result = tool.run("store", "set", section.decode("cp1252"), key.decode("cp1252"), value.decode("cp1252"),
                          "--save")
        merged.set(section, key, value)
        checks.equal("store set --save in a folder without create rights: exit code", 0, result.code)
        checks.equal("store set --save in a folder without create rights: the file is written in place",
                     cipher_ref.encrypt(merged.write()), open(demo.user_file, "rb").read())
    finally:
        subprocess.run(["chattr", "-i", folder], capture_output=True)


NETSCAPE_USERS = "HKCU\\Software\\Netscape\\Netscape Navigator\\biff\\users"
PROFILE_FILES = {
    "a profile file": b"<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n<DL><p>\r\n"
                      b"<DT><H3>Alt</H3>\r\n<DL><p>\r\n</DL><p>\r\n</DL><p>\r\n",
    "a profile file in UTF-8": b"<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" "
                               b"CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n<DL><p>\n"
                               b"    <DT><H3 ADD_DATE=\"1\">Gr\xc3\xbc\xc3\x9fe</H3>\n    <DL><p>\n    </DL><p>\n"
                               b"</DL><p>\n",
    "a charset after a zero byte": b"<DL><p>\r\n</DL><p>\r\n\0charset=UTF-8",
    "a charset in lower case": b"<META CONTENT=\"text/html; charset=utf-8\">\r\n<DL><p>\r\n</DL><p>\r\n",
    "a file without a list end": b"<DL><p>\r\n<DT><A HREF=\"u\">n</A>\r\n",
    "a list end in lower case": b"<DL><p>\r\n</dl><p>\r\n",
    "a list end without line end at the end": b"<DL><p>\r\n\xe4\xf6\xfc</DL><p>",
    "an empty file": b"",
}


def _check_export_nc(tool, checks, demo, store):
    """Export into a Netscape profile user's bookmark file (found through the registry)."""
    profile = os.path.join(demo.drive, "nsprofile", "anna")
    os.makedirs(os.path.join(profile, "mail"), exist_ok=True)
    ready = (tool.wine("reg", "add", NETSCAPE_USERS + "\\anna", "/v", "defaultServer", "/d", "pop", "/f")
             and tool.wine("reg", "add", NETSCAPE_USERS + "\\anna\\servers\\pop", "/v", "popstatePath",
                           "/d", "C:\\nsprofile\\anna\\mail\\popstate.dat", "/f"))
    if not checks.true("Netscape profile user registered", ready):
        return
    bookmark_file = os.path.join(profile, "bookmark.htm")
    for name, text in PROFILE_FILES.items():
        with open(bookmark_file, "wb") as handle:
            handle.write(text)
        for source in (b"Favoriten\\News", b"Favoriten\\Sonderf\xe4lle", b"Favoriten\\Export"):
            result = tool.run("favorites", "export-nc", source.decode("cp1252"), "anna")
            label = "favorites export-nc %r into %s" % (source, name)
            if checks.equal(label + ": exit code", 0, result.code):
                expected = writer_ref.export_into_profile(store, source, text)
                text = open(bookmark_file, "rb").read()
                checks.equal(label, expected, text)
        if name.startswith("a profile file"):
            shown = tool.run("bookmarks", "show", windows_path(bookmark_file))
            checks.equal("bookmarks show of %s after the exports" % name,
                         bookmark_ref.show(text, to_ansi=platform_to_ansi), shown.out)
    os.remove(bookmark_file)
    result = tool.run("favorites", "export-nc", "Favoriten\\News", "anna")
    checks.equal("favorites export-nc to a missing profile file: exit code", 1, result.code)
    checks.true("favorites export-nc to a missing profile file: no file made", not os.path.exists(bookmark_file))
