"""The Netscape bookmark reader: `nvtool bookmarks show FILE [--root NAME]` against the model."""

import os
from concurrent.futures import ThreadPoolExecutor

import bookmark_ref
from harness import windows_path, write_file as _write

# What the platform's wide-to-ANSI conversion (code page 1252) was seen to make of characters
# outside the code page: best-fit letters, and the five code points the code page leaves
# undefined, which come back as their own bytes. Everything else becomes "?" per UTF-16 unit.
BEST_FIT = {"\u0101": b"a", "\u0131": b"i", "\u03b1": b"a", "\uff21": b"A"}
PASSED_THROUGH = {chr(c): bytes([c]) for c in (0x81, 0x8D, 0x8F, 0x90, 0x9D)}


def platform_to_ansi(text):
    out = bytearray()
    for ch in text:
        if ch in BEST_FIT:
            out += BEST_FIT[ch]
        elif ch in PASSED_THROUGH:
            out += PASSED_THROUGH[ch]
        else:
            try:
                out += ch.encode("cp1252")
            except UnicodeEncodeError:
                out += b"?" * (2 if ord(ch) > 0xFFFF else 1)
    return bytes(out)


def python_cp1252(text):
    return text.encode("cp1252", "replace")


CRLF = b"\r\n"


def _crlf(*lines):
    return CRLF.join(lines) + CRLF


def _lf(*lines):
    return b"\n".join(lines) + b"\n"


UTF8 = b'<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">'


def handmade_cases():
    written = (b"<DT><H3 >Top</H3>\r\n<DL><p>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n"
               b"<DT><H3 >Empty</H3>\r\n<DL><p>\r\n</DL><p>\r\n</DL><p>\r\n")
    cases = {
        "a folder block alone, as earlier exports wrote it": written,
        "header and title": _crlf(b"<!DOCTYPE NETSCAPE-Bookmark-file-1>", b"<TITLE>Bookmarks of X</TITLE>",
                                  b"<H1>Bookmarks</H1>", b"<DL><p>",
                                  b'    <DT><H3 ADD_DATE="1" FOLDED>News</H3>', b"    <DL><p>",
                                  b'        <DT><A HREF="http://n/" ADD_DATE="2" LAST_VISIT="3">N</A>',
                                  b"        <DD>description", b"    </DL><p>", b"    <HR>",
                                  b'    <DT><A HREF="http://x/?a=1&amp;b=2">Tom &amp;amp; Jerry</A>',
                                  b"</DL><p>"),
        "LF-only lines without charset": _lf(b"<TITLE>T</TITLE>", b"<DL><p>", b'<DT><A HREF="u">n</A>',
                                             b"</DL><p>"),
        "unterminated last line": b"<DL><p>\r\n<DT><A HREF=\"u\">first</A>\r\n<DT><A HREF=\"v\">last</A>",
        "lower-case markup": _crlf(b"<dl><p>", b'<dt><a href="u">n</a>', b'<dt><h3>f</h3>', b"</dl><p>"),
        "folder and list start on one line": _crlf(b"<DL><p>", b"<DT><H3>Outer</H3>", b"<DL><p>",
                                                   b"<DT><H3>X</H3><DL><p>", b'<DT><A HREF="in">inner</A>',
                                                   b"</DL><p>", b'<DT><A HREF="after">after</A>', b"</DL><p>",
                                                   b'<DT><A HREF="top">top</A>'),
        "outermost list end ends the parse": _crlf(b'<DT><A HREF="a">a</A>', b"</DL><p>",
                                                   b'<DT><A HREF="b">b</A>', b"<DT><H3>F</H3>"),
        "link lines without the link marker": _crlf(b"<DT><A>first</A>", b'<DT><A HREF="u">named</A>',
                                                    b"<DT><A NAME=x>second</A>", b"<DT><H3>F</H3>", b"<DL><p>",
                                                    b"<DT><A>inner</A>", b"</DL><p>", b"<DT><A HREF='s'>third</A>"),
        "link markup quirks": _crlf(b'<DT><A HREF="a>b">x</A>', b'<DT><A HREF="open>y</A>',
                                    b'<DT><A X="1">keep</A>', b'<DT><A HREF="noclose">rest of line',
                                    b'<DT><A HREF="nogt"', b'<DT><A HREF= "spaced">s</A>',
                                    b'<DT><A HREF=""></A>', b'<DT><A HREF="u" HREF="v">two</A>',
                                    b'x <DT><A y HREF="mid">m</A> z</A>'),
        "folder markup quirks": _crlf(b"<DT><H3", b"<DT><H3 no close", b"</DL>", b"<DT><H3 A=1>no end",
                                      b"</DL><p>", b"<DT><H3>a</H3>b</H3>", b"</DL>", b"<DT><H3></H3>", b"</DL>",
                                      b'<DT><A HREF="x"><DT><H3>both</H3>', b"</DL>",
                                      b"<DT><H3>end</H3></DL>", b'<DT><A HREF="after">after</A>'),
        "names survive a nested folder": _crlf(b"<DT><H3>Folder</H3>", b"<DL><p>", b"</DL><p>",
                                               b"<DT><A>unnamed</A>", b"<DT><H3>G</H3>", b"</DL>",
                                               b'<DT><A HREF="q"', b"<DT><A>"),
        "missing list ends": _crlf(b"<DT><H3>A</H3>", b"<DL><p>", b"<DT><H3>B</H3>", b'<DT><A HREF="u">n</A>'),
        "deep nesting": b"".join(b"<DT><H3>L%d</H3>\r\n<DL><p>\r\n" % i for i in range(60))
        + b'<DT><A HREF="deep">deep</A>\r\n' + b"</DL><p>\r\n" * 60,
        "zero byte ends the text": _crlf(b'<DT><A HREF="a">a</A>', b'<DT><A HREF="b">b\x00</A>',
                                         b'<DT><A HREF="c">c</A>'),
        "title quirks: end before start": _crlf(b"</TITLE>x<TITLE>y</TITLE>", b'<DT><A HREF="a">a</A>'),
        "title quirks: no end": _crlf(b"<TITLE>open", b'<DT><A HREF="a">a</A>'),
        "title quirks: spans lines, lower case": _crlf(b"<title>no</title><TITLE>two", b"lines</TITLE>"),
        "markers inside names": _crlf(b'<DT><A HREF="u">a <DL> b</A>', b'<DT><A HREF="v">c </DL> d</A>',
                                      b'<DT><A HREF="w">e <DT><H3>f</H3> g</A>', b"</DL>",
                                      b'<DT><A HREF="x">after</A>'),
        "lone CR and LF inside lines": b'<DT><A HREF="u\rv">n\nm</A>\r\n<DT><A HREF="w">x\r</A>\r\n',
        "ANSI bytes": _crlf(b"<TITLE>\xc4rger</TITLE>", b'<DT><A HREF="http://\xfc/">M\xfcller \x80</A>'),
        "charset in lower case stays ANSI": _lf(b"charset=utf-8", b'<DT><A HREF="u">\xc3\xbc</A>')
        + b'<DT><A HREF="v">\xc3\xa4</A>\r\n',
    }
    utf8 = {
        "UTF-8: valid names": [b'<DT><A HREF="http://\xc3\xbc/">M\xc3\xbcller \xe2\x82\xac</A>',
                               b"<DT><H3>Gr\xc3\xbc\xc3\x9fe</H3>", b"<DL><p>", b"</DL><p>"],
        "UTF-8: characters outside the code page": [b'<DT><A HREF="u">\xe4\xb8\xad \xc4\x81 \xc4\xb1 \xce\xb1</A>',
                                                    b'<DT><A HREF="u">\xef\xbc\xa1 \xc8\x98 \xf0\x9f\x98\x80</A>',
                                                    b'<DT><A HREF="u">\xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d</A>',
                                                    b'<DT><A HREF="u">\xe2\x80\x99\xe2\x80\xa6\xc5\xa0\xcb\x86</A>'],
        "UTF-8: invalid lines stay raw": [b'<DT><A HREF="u">lone \x80 continuation</A>',
                                          b'<DT><A HREF="u">overlong \xc0\xaf</A>',
                                          b'<DT><A HREF="u">overlong3 \xe0\x80\xaf</A>',
                                          b'<DT><A HREF="u">high surrogate \xed\xa0\x80</A>',
                                          b'<DT><A HREF="u">low surrogate \xed\xb0\x80</A>',
                                          b'<DT><A HREF="u">plane 0 \xf0\x8f\xbf\xbf</A>',
                                          b'<DT><A HREF="u">plane 17 \xf4\x90\x80\x80</A>',
                                          b'<DT><A HREF="u">plane 16 \xf4\x8f\xbf\xbf</A>',
                                          b'<DT><A HREF="u">lead F8 \xf8\x88\x80\x80\x80</A>',
                                          b'<DT><A HREF="u">bad follower \xc3\x28</A>',
                                          b'<DT><A HREF="u">\xc3\xbc cut at the end</A>\xc3'],
        "UTF-8: CR stays before LF": [b'<DT><A HREF="u">no end tag \xc3\xbc\r', b"<DT><H3>f\xc3\xbc\r",
                                      b"</DL>\r"],
        "UTF-8: raw title": [b"<TITLE>T\xc3\xbctel</TITLE>", b'<DT><A HREF="u">\xc3\xbc</A>'],
        "UTF-8: last line without LF": [b'<DT><A HREF="u">a</A>', b'<DT><A HREF="v">b</A>'],
    }
    for name, lines in utf8.items():
        data = _lf(UTF8, *lines)
        if name.endswith("without LF"):
            data = data[:-1]
        cases[name] = data
    cases.update(length_cases())
    return cases


def length_cases():
    """Lines around the decoder's capacity of 2559 UTF-16 units."""
    head = b'<DT><A HREF="u">'
    tail = b"</A>"
    fixed = len(head) + len(tail)
    cases = {}
    for units in (2558, 2559, 2560):
        body = b"\xc3\xbc" * (units - fixed)  # one unit per character
        cases["UTF-8: line of %d units" % units] = _lf(UTF8, head + body + tail)
    body = b"\xc3\xbc" * (2557 - fixed) + b"\xf0\x9f\x98\x80"  # a surrogate pair as the last two units
    cases["UTF-8: line of 2559 units ending in a pair"] = _lf(UTF8, head + body + tail)
    body = b"\xc3\xbc" * (2558 - fixed) + b"\xf0\x9f\x98\x80"
    cases["UTF-8: line of 2560 units ending in a pair"] = _lf(UTF8, head + body + tail)
    return cases


def random_file(rng):
    names = [b"", b"n", b"a b", b"&amp;", b"<b>", b'"q"', b"\xe4", b"\xc3\xbc", b"\xe2\x82\xac", b">", b"</A>x"]
    urls = [b"", b"u", b"http://x/", b"a>b", b"\xc3\xbc", b"q'"]
    lines = []
    if rng.random() < 0.3:
        lines.append(b"<TITLE>" + rng.choice(names) + b"</TITLE>")
    if rng.random() < 0.4:
        lines.append(UTF8)
    for _ in range(rng.randint(0, 50)):
        choice = rng.random()
        if choice < 0.2:
            lines.append(rng.choice([b"<DL><p>", b"</DL><p>", b"</DL>", b"<DL>", b"<HR>", b"<DD>text"]))
        elif choice < 0.45:
            lines.append(b"<DT><H3" + rng.choice([b"", b" ", b" X=1"]) + rng.choice([b">", b""])
                         + rng.choice(names) + rng.choice([b"</H3>", b"</H3>", b""]))
        elif choice < 0.9:
            lines.append(b"<DT><A" + rng.choice([b' HREF="', b' HREF="', b" ", b' X="']) + rng.choice(urls)
                         + rng.choice([b'"', b'"', b""]) + rng.choice([b">", b">", b""]) + rng.choice(names)
                         + rng.choice([b"</A>", b"</A>", b""]))
        else:
            lines.append(bytes(rng.choice(b'<>/"DTAH3L\xc3\xbc\r ') for _ in range(rng.randint(0, 10))))
    ends = [CRLF, CRLF, CRLF, b"\n"]
    return b"".join(line + rng.choice(ends) for line in lines)


def run(tool, checks, work, rng):
    folder = os.path.join(work, "bookmarks")
    os.makedirs(folder, exist_ok=True)
    jobs = [(name, data, None) for name, data in handmade_cases().items()]
    jobs.append(("root name preset", _crlf(b"<TITLE>ignored</TITLE>", b'<DT><A HREF="a">a</A>'), "Preset"))
    jobs.append(("root name preset, a folder block alone",
                 handmade_cases()["a folder block alone, as earlier exports wrote it"], "Favoriten"))
    jobs += [("random file %d" % i, random_file(rng), None) for i in range(80)]

    def show(index_job):
        index, (_, data, root) = index_job
        path = _write(folder, "case%03d.htm" % index, data)
        args = ["bookmarks", "show", windows_path(path)] + (["--root", root] if root else [])
        return tool.run(*args)

    with ThreadPoolExecutor(max_workers=4) as pool:
        results = list(pool.map(show, enumerate(jobs)))
    differences = set()
    for (name, data, root), result in zip(jobs, results):
        label = "bookmarks show: " + name
        if not checks.equal(label + ": exit code", 0, result.code):
            print("     stderr: %r" % result.err[:300])
            continue
        preset = root.encode() if root else None
        expected = bookmark_ref.show(data, preset, platform_to_ansi)
        checks.equal(label, expected, result.out, data if len(data) <= 300 else None)
        if bookmark_ref.show(data, preset, python_cp1252) != expected:
            differences.add(name)
    if differences:
        checks.note("bookmarks show: Python's cp1252 replacement differs from the platform's conversion "
                    "(best fit such as U+0101 -> 'a', U+0081 -> byte 0x81, one '?' per UTF-16 unit) in: "
                    + ", ".join(sorted(differences)[:8]))
    _check_missing_file(tool, checks, folder)


def _check_missing_file(tool, checks, folder):
    result = tool.run("bookmarks", "show", windows_path(os.path.join(folder, "missing.htm")))
    checks.equal("bookmarks show: a missing file fails with exit code 1", 1, result.code)
    checks.true("bookmarks show: a missing file prints no tree", result.out == b"", repr(result.out[:80]))
