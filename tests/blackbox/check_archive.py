"""The ".sad" archive container: `nvtool archive create`, `list` and `extract` against the model."""

import errno
import os
import stat
import struct

import sad_ref
from harness import windows_path, write_file as _write


def _put(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as handle:
        handle.write(data)


def make_source(folder, rng):
    _put(os.path.join(folder, "Rom.htm"), b'<html><img src="Rom-Dateien/bild.gif"></html>')
    _put(os.path.join(folder, "Rom-Dateien", "bild.gif"), b"GIF89a" + rng.randbytes(300))
    _put(os.path.join(folder, "leer.txt"), b"")
    _put(os.path.join(folder, "gro\u00df", "\u00c4rger \u00fc.bin"), rng.randbytes(17))
    _put(os.path.join(folder, "a", "b", "c", "d.txt"), b"deep")
    _put(os.path.join(folder, "a", "zwischen.txt"), b"between")
    _put(os.path.join(folder, "gross.bin"), rng.randbytes(100003))
    _put(os.path.join(folder, "block.bin"), rng.randbytes(4096))
    _put(os.path.join(folder, ".versteckt"), b"hidden under Wine")
    _put(os.path.join(folder, "nvarchive.ini"), b'[NVOfflineTreeRoot]\r\nitem_0="Rom"\r\n')
    os.makedirs(os.path.join(folder, "leerer Ordner", "auch leer"))
    read_only = os.path.join(folder, "schreibgesch\u00fctzt.txt")
    _put(read_only, b"read-only")
    os.chmod(read_only, stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)


def tree_files(folder):
    files = {}
    for top, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(top, name)
            files[os.path.relpath(path, folder)] = open(path, "rb").read()
    return files


def _unix_name(name):
    return name.decode("cp1252").replace("\\", "/")


def listing(records):
    """The model of `archive list`: "size<TAB>name" per record, then the count."""
    return [b"%d\t%s" % (len(data), name) for name, data in records]


def _lines(output):
    return [line for line in output.replace(b"\r\n", b"\n").split(b"\n") if line]


def run(tool, checks, work, rng):
    folder = os.path.join(work, "archive")
    source = os.path.join(folder, "quelle")
    make_source(source, rng)
    expected_records = sad_ref.walk(source)
    made = os.path.join(folder, "made.sad")
    result = tool.run("archive", "create", windows_path(source), windows_path(made))
    if not checks.equal("archive create: exit code", 0, result.code):
        print("     stdout %r stderr %r" % (result.out[:200], result.err[:300]))
        return
    data = open(made, "rb").read()
    layout = sad_ref.Layout(data)
    checks.equal("archive create: header and record layout", [], layout.problems)
    checks.equal("archive create: record names and data", sorted(expected_records), sorted(layout.records))
    checks.equal("archive create: record order (depth first, in listing order)",
                 [name for name, _ in expected_records], [name for name, _ in layout.records])
    checks.true("archive create: every folder's files come as one run",
                sad_ref.is_depth_first([name for name, _ in layout.records]))
    body = data[sad_ref.HEADER_SIZE:]
    checks.equal("archive create: records byte for byte", b"".join(sad_ref.record(n, d) for n, d in layout.records),
                  body)
    if layout.created is not None:
        checks.equal("archive create: header byte for byte but for the time",
                     sad_ref.header(layout.created)[8:], data[8:sad_ref.HEADER_SIZE])
    mode = os.stat(os.path.join(source, "schreibgesch\u00fctzt.txt")).st_mode
    checks.true("archive create: packing a read-only file clears its read-only attribute",
                mode & stat.S_IWUSR, "mode %o" % mode)

    checks.equal("archive create: an archive with files is not hidden", False, _hidden(made))
    _check_list(tool, checks, made, layout.records, "archive list of the made archive")
    _check_empty_folder(tool, checks, folder)
    _check_extract(tool, checks, folder, made, tree_files(source), "archive extract of the made archive")
    _check_reference_archives(tool, checks, folder, rng)
    _check_unnamable_file(tool, checks, folder)
    _check_replacing_read_only(tool, checks, folder)
    _check_damaged_archives(tool, checks, folder)


def _hidden(path):
    """The hidden attribute as Wine keeps it (extended attribute user.DOSATTRIB), or None."""
    try:
        return bool(int(os.getxattr(path, "user.DOSATTRIB").split(b"\0")[0], 16) & 2)
    except OSError as error:
        return False if error.errno == errno.ENODATA else None


def _check_empty_folder(tool, checks, folder):
    empty = os.path.join(folder, "leer")
    os.makedirs(os.path.join(empty, "nur ein Ordner"))
    path = os.path.join(folder, "leer.sad")
    result = tool.run("archive", "create", windows_path(empty), windows_path(path))
    if not checks.equal("archive create of a folder without files: exit code", 0, result.code):
        return
    data = open(path, "rb").read()
    checks.equal("archive create of a folder without files: header only", (520, []),
                 (len(data), sad_ref.Layout(data).problems))
    hidden = _hidden(path)
    if hidden is None:
        checks.note("archive create: the file system keeps no DOS attributes, hidden flag not checked")
    else:
        checks.equal("archive create of a folder without files: the archive stays hidden", True, hidden)
    _check_extract(tool, checks, folder, path, {}, "archive extract of an archive without records")


def _check_list(tool, checks, path, records, label):
    result = tool.run("archive", "list", windows_path(path))
    if not checks.equal(label + ": exit code", 0, result.code):
        return
    lines = _lines(result.out)
    checks.equal(label + ": one line per record", listing(records), lines[:len(records)])
    count = lines[len(records):]
    checks.equal(label + ": then the count", [b"%d" % len(records)], count)


def _check_extract(tool, checks, folder, archive_path, expected, label):
    destination = os.path.join(folder, "ziel-" + os.path.basename(archive_path))
    os.makedirs(destination)
    result = tool.run("archive", "extract", windows_path(archive_path), windows_path(destination))
    if not checks.equal(label + ": exit code", 0, result.code):
        print("     stdout %r stderr %r" % (result.out[:200], result.err[:300]))
        return
    actual = tree_files(destination)
    checks.equal(label + ": files", sorted(expected), sorted(actual))
    for name in sorted(expected):
        if name in actual and expected[name] != actual[name]:
            checks.equal(label + ": bytes of " + name, expected[name], actual[name])


def _expected_files(records):
    """What extracting records gives on a case-insensitive file system: "/" is "\\", a later
    record replaces an earlier one of the same name in any case, keeping the first spelling."""
    spelled, files = {}, {}
    for name, data in records:
        unix = _unix_name(name.replace(b"/", b"\\"))
        unix = spelled.setdefault(unix.lower(), unix)
        files[unix] = data
    return files


def _check_reference_archives(tool, checks, folder, rng):
    cases = {
        "nested names, slashes and an empty file": [(b"x\\y.htm", b"page"), (b"a/b.gif", b"GIF89a"),
                                                   (b"a/c/d/e.txt", b"deep"), (b"leer", b""),
                                                   (b"M\xfcller\\\xc4.bin", rng.randbytes(50))],
        "a repeated name replaces the earlier file": [(b"dup.txt", b"first"), (b"x", b"1"),
                                                      (b"dup.txt", b"second")],
        "names differing in case": [(b"Gross.txt", b"upper"), (b"gross.TXT", b"lower")],
        "large record": [(b"big.bin", rng.randbytes(300001))],
        "no records": [],
    }
    for index, (name, records) in enumerate(cases.items()):
        path = _write(folder, "ref%02d.sad" % index, sad_ref.archive(records))
        _check_extract(tool, checks, folder, path, _expected_files(records), "archive extract: " + name)
        if "/" not in repr([n for n, _ in records]):
            _check_list(tool, checks, path, records, "archive list: " + name)
    path = _write(folder, "any-header.sad", bytes(rng.getrandbits(8) for _ in range(520)))
    _check_extract(tool, checks, folder, path, {}, "archive extract: 520 bytes with any header")
    path = _write(folder, "short.sad", sad_ref.header()[:519])
    destination = os.path.join(folder, "ziel-short")
    os.makedirs(destination)
    result = tool.run("archive", "extract", windows_path(path), windows_path(destination))
    checks.equal("archive extract: a 519-byte file fails", 1, result.code)


def _check_damaged_archives(tool, checks, folder):
    """Damaged or unsafe records: nothing may be written outside the destination and nothing may
    crash; what is kept inside is the implementation's choice (reported)."""
    good = sad_ref.record(b"gut.txt", b"good")
    cases = {
        "data size past the end": good + struct.pack("<I", 8) + b"bad.txt\0" + struct.pack("<I", 1000) + b"short",
        "name size past the end": good + struct.pack("<I", 1000) + b"bad.txt\0",
        "cut data size": good + struct.pack("<I", 8) + b"bad.txt\0" + b"\1\0",
        "cut name size": good + b"\7\0",
        "name without its zero byte": good + struct.pack("<I", 7) + b"bad.txt" + struct.pack("<I", 1) + b"x",
        "name size 0": good + struct.pack("<I", 0) + struct.pack("<I", 1) + b"x",
        "huge name size": good + struct.pack("<I", 0xFFFFFFF0) + b"x\0",
        "huge data size": good + struct.pack("<I", 6) + b"x.txt\0" + struct.pack("<I", 0xFFFFFFF0) + b"data",
        "parent reference": good + sad_ref.record(b"..\\entkommen.txt", b"escaped"),
        "parent reference with slashes": good + sad_ref.record(b"a/../../entkommen.txt", b"escaped"),
        "drive in the name": good + sad_ref.record(b"C:\\entkommen.txt", b"escaped"),
        "leading backslash": good + sad_ref.record(b"\\entkommen.txt", b"escaped"),
    }
    for index, (name, body) in enumerate(cases.items()):
        case_folder = os.path.join(folder, "damaged%02d" % index)
        destination = os.path.join(case_folder, "ziel")
        os.makedirs(destination)
        path = _write(case_folder, "damaged.sad", sad_ref.header() + body)
        result = tool.run("archive", "extract", windows_path(path), windows_path(destination))
        label = "archive extract, %s" % name
        checks.true(label + ": ends with exit code 0 or 1", result.code in (0, 1), "exit %d" % result.code)
        outside = sorted(set(os.listdir(case_folder)) - {"ziel", "damaged.sad"})
        escaped = any(os.path.exists(os.path.join(place, "entkommen.txt"))
                      for place in (os.path.dirname(folder), os.path.join(tool.env["WINEPREFIX"], "drive_c")))
        checks.equal(label + ": nothing written outside the destination", ([], False), (outside, escaped))
        kept = sorted(tree_files(destination))
        listed = tool.run("archive", "list", windows_path(path))
        checks.true(label + ": list ends with exit code 0 or 1", listed.code in (0, 1), "exit %d" % listed.code)
        checks.note("%s: extract exit %d, kept %s; list exit %d, %r" % (
            label, result.code, kept, listed.code, (listed.out + listed.err).strip()[-120:]))


def _check_unnamable_file(tool, checks, folder):
    """A file whose name the ANSI code page cannot hold cannot be opened by its listed name: the
    packing stops there with the container's message; the records before it stay."""
    source = os.path.join(folder, "unnennbar")
    _put(os.path.join(source, "0\u4e2d.txt"), b"x")
    _put(os.path.join(source, "a.txt"), b"a")
    path = os.path.join(folder, "unnennbar.sad")
    result = tool.run("archive", "create", windows_path(source), windows_path(path))
    label = "archive create with a file the code page cannot name"
    checks.equal(label + ": exit code", 1, result.code)
    checks.true(label + ": reports it", b"unable to open input file" in result.err, repr(result.err[:200]))
    if os.path.exists(path):
        layout = sad_ref.Layout(open(path, "rb").read())
        checks.equal(label + ": the header stays, no record", ([], []), (layout.problems, layout.records))


def _check_replacing_read_only(tool, checks, folder):
    destination = os.path.join(folder, "ziel-schreibschutz")
    target = os.path.join(destination, "a", "alt.txt")
    _put(target, b"old content, longer than the new one")
    os.chmod(target, stat.S_IRUSR)
    path = _write(folder, "schreibschutz.sad", sad_ref.archive([(b"a\\alt.txt", b"new")]))
    result = tool.run("archive", "extract", windows_path(path), windows_path(destination))
    label = "archive extract over a read-only file"
    checks.equal(label + ": exit code", 0, result.code)
    checks.equal(label + ": replaced", b"new", open(target, "rb").read())
    short = _write(folder, "kurz.sad", sad_ref.header()[:519])
    result = tool.run("archive", "list", windows_path(short))
    checks.equal("archive list of a 519-byte file: exit code", 1, result.code)
