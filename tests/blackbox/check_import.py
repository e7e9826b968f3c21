"""The Netscape import through `nvtool favorites import-file`: the saved per-user file must be
the model's store after the import, enciphered, byte for byte."""

import os
import time

import cipher_ref
import import_ref
import ini_ref
from check_bookmarks import platform_to_ansi
from check_writer import Demo, demo_tree
from harness import windows_path

CRLF = b"\r\n"


def _file(*lines):
    return CRLF.join((b"<DL><p>",) + lines + (b"</DL><p>",)) + CRLF


IMPORTS = [
    ("repeated, unsafe and empty names into an existing folder", b"Favoriten\\News", _file(
        b'<DT><A HREF="http://neu/tagesschau">Tagesschau</A>',
        b'<DT><A HREF="http://klein/">tagesschau</A>',
        b"<DT><H3>leer</H3>", b"<DL><p>", b'<DT><A HREF="http://in-leer/">Drin</A>', b"</DL><p>",
        b'<DT><A HREF="http://sonder/">a/b: c?</A>',
        b'<DT><A HREF="http://rand/">  \tRand \t </A>',
        b'<DT><A HREF="http://apostroph/">\'</A>',
        b'<DT><A HREF="http://leer2/">"|"</A>',
        b"<DT><A>ohne Ziel</A>",
        b"<DT><H3>Neu</H3>", b"<DL><p>", b"<DT><H3>Tiefer</H3>", b"<DL><p>",
        b'<DT><A HREF="http://tief/">T\xe4ter &amp;amp; Co</A>', b"</DL><p>", b"</DL><p>")),
    ("a destination whose name holds an apostrophe", b"Favoriten\\Anna's", _file(
        b'<DT><A HREF="http://anna/">Anna</A>')),
    ("a new top-level folder", b"Neuer Stamm", _file(b'<DT><A HREF="http://stamm/">Stamm</A>')),
    ("a UTF-8 file into the top folder", b"Favoriten", b"<META charset=UTF-8>\n" + _file(
        b'<DT><A HREF="http://utf/\xc3\xa4">Gr\xc3\xbc\xc3\x9fe \xe2\x82\xac \xc4\x81</A>\r',
        b"<DT><H3>News</H3>\r", b"<DL><p>\r", b'<DT><A HREF="http://utf-news/">Utf</A>\r', b"</DL><p>\r"
    ).replace(CRLF, b"\n")),
    ("brackets, a URL too long for the store and folders nested past its paths", b"Favoriten\\Lang", _file(
        b'<DT><A HREF="http://lang/' + b"x" * 3188 + b'">Lang</A>',
        b'<DT><A HREF="http://kurz/">Kurz</A>',
        b'<DT><A HREF="http://pdf/">Bericht [PDF]</A>',
        b"<DT><H3>News</H3>", b"<DL><p>", b'<DT><A HREF="http://innen/">Innen</A>', b"</DL><p>",
        b'<DT><A HREF="http://news/">News]</A>',
        *([b"<DT><H3>Tief</H3>", b"<DL><p>"] * 120), b'<DT><A HREF="http://tief/">Ganz unten</A>',
        *([b"</DL><p>"] * 120), b'<DT><A HREF="http://danach/">Danach</A>')),
    ("the same file twice: reused, not added", b"Favoriten\\News", _file(
        b'<DT><A HREF="http://zwei/">Tagesschau</A>')),
]


def _today():
    now = time.localtime()
    return b"%02d.%02d.%04d" % (now.tm_mday, now.tm_mon, now.tm_year)


def run(tool, checks, work, rng):
    demo = Demo(tool)
    if not checks.true("demo installation prepared", demo.prepare()):
        return
    system = demo.system_ini()
    if not checks.true("demo system.ini found", system is not None):
        return
    document = demo_tree()
    demo.write_user_file(document)
    model = ini_ref.parse(ini_ref.read_config_bytes(cipher_ref.encrypt(document.write())))
    ini_ref.parse(system.replace(b"%PERSONAL%", b"C:\\users\\Demo\\Eigene Dateien", 1), model)
    folder = os.path.join(work, "import")
    os.makedirs(folder, exist_ok=True)
    for index, (name, destination, data) in enumerate(IMPORTS):
        path = os.path.join(folder, "import%02d.htm" % index)
        with open(path, "wb") as handle:
            handle.write(data)
        before = _today()
        result = tool.run("favorites", "import-file", destination.decode("cp1252"), windows_path(path))
        dates = {before, _today()}
        label = "favorites import-file: " + name
        if not checks.equal(label + ": exit code", 0, result.code):
            print("     stdout %r stderr %r" % (result.out[:200], result.err[:300]))
            return
        saved = open(demo.user_file, "rb").read()
        candidates = []
        for date in sorted(dates):
            candidate = ini_ref.parse(model.write())
            import_ref.import_file(candidate, destination, data, date, platform_to_ansi)
            candidates.append(candidate)
        matching = [c for c in candidates if cipher_ref.encrypt(c.write()) == saved]
        if not matching:
            checks.equal(label + ": the saved per-user file", candidates[0].write(),
                         ini_ref.read_config_bytes(saved))
            return
        checks.true(label + ": the saved per-user file", True)
        model = matching[0]
    _check_refusals(tool, checks, demo, folder)
    _observe_empty_display_name(tool, checks, demo, folder, model)


def _observe_empty_display_name(tool, checks, demo, folder, model):
    """A destination path ending in a backslash has an empty display name: reported, not judged."""
    path = os.path.join(folder, "titel.htm")
    data = b"<TITLE>Titel der Datei</TITLE>\r\n" + _file(b'<DT><A HREF="http://titel/">T</A>')
    with open(path, "wb") as handle:
        handle.write(data)
    result = tool.run("favorites", "import-file", "Favoriten\\", windows_path(path))
    saved = open(demo.user_file, "rb").read()
    readings = []
    for presets, reading in ((True, "the empty name presets the root (the title is not read)"),
                             (False, "an empty name is no preset (the title names the root)")):
        for date in sorted({_today(), b"%02d.%02d.%04d" % time.localtime(time.time() - 60)[2::-1]}):
            candidate = ini_ref.parse(model.write())
            import_ref.import_file(candidate, b"Favoriten\\", data, date, platform_to_ansi, presets)
            if cipher_ref.encrypt(candidate.write()) == saved:
                readings.append(reading)
    label = "favorites import-file into 'Favoriten\\' (empty display name)"
    checks.equal(label + ": exit code", 0, result.code)
    if checks.true(label + ": the store matches one of the two readings", readings):
        checks.note("%s: the store matches: %s" % (label, "; ".join(sorted(set(readings)))))


def _check_refusals(tool, checks, demo, folder):
    before = open(demo.user_file, "rb").read()
    path = os.path.join(folder, "kein-lesezeichen.htm")
    with open(path, "wb") as handle:
        handle.write(b"<DL>\r\n<DT><A HREF=\"u\">n</A>\r\n</DL>\r\n")
    for name, target in (("a file that is not a bookmark file", path),
                         ("a missing file", os.path.join(folder, "fehlt.htm"))):
        result = tool.run("favorites", "import-file", "Favoriten", windows_path(target))
        label = "favorites import-file of %s" % name
        checks.equal(label + ": exit code (abandoned)", 3, result.code)
        checks.equal(label + ": store file unchanged", before, open(demo.user_file, "rb").read())
