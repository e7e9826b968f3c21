"""The configuration file syntax: `nvtool config show FILE` against the model's parser and writer."""

import os
from concurrent.futures import ThreadPoolExecutor

import cipher_ref
import ini_ref
from harness import windows_path, write_file as _write

CRLF = b"\r\n"


def _lines(*lines, end=CRLF):
    return end.join(lines) + end


def _entry_line(length, key=b"k", value_length=2559):
    """An entry line of exactly `length` bytes with a value of `value_length` bytes."""
    head = key + b"=" + b'"' + b"v" * value_length + b'"'
    assert len(head) <= length
    return head + b"t" * (length - len(head))


def handmade_cases():
    cases = {
        "inner quotes": _lines(b"[S]", b'a="x"y"z"', b'b="x" "y"', b'c="x"tail', b'd=lead"x"trail',
                               b'e=""', b'f="', b'g=plain', b'h="""', b'i= "one', b'j=" "'),
        "blanks around equals": _lines(b"[S]", b'k  = "v"', b'l=   "w"', b'm\t= "t"', b'n = " v "',
                                       b'a b  ="inner"', b"o \t =\"mixed\""),
        "line starts": _lines(b"[S]", b'_u="1"', b' b="2"', b'\tc="3"', b';d="4"', b'#e="5"', b'=f="6"',
                              b'\xc4g="7"', b'\x80h="8"', b'9i="9"', b'Zz="10"', b'-x="11"'),
        "sections differing in case": _lines(b"[Sec]", b'a="1"', b"[SEC]", b'b="2"', b"[other]", b'c="3"',
                                             b"[sec]", b'a="4"', b"[OTHER]", b'd="5"'),
        "non-ASCII section case": _lines(b"[\xc4rger]", b'a="1"', b"[\xe4rger]", b'b="2"', b"[\xc4RGER]",
                                         b'c="3"'),
        "repeated keys": _lines(b"[S]", b'k="1"', b'j="2"', b'k="3"', b'K="4"', b'k ="5"'),
        "LF-only lines": b'[A]\nk="v"\nj="w"\n',
        "LF-only entry lines": b'[A]\r\nk="v"\nj="w"\n',
        "lone CR": _lines(b"[A]", b'k="v"\rj="w"', b'm="x\ry"'),
        "entries before the first section": _lines(b'a="1"', b'b="2"', b"[S]", b'c="3"'),
        "headers without ] or with empty names": _lines(b"[S]", b'a="1"', b"[T", b'b="2"', b"[]", b'c="3"',
                                                        b"[]x]", b'd="4"', b"[U]rest]", b'e="5"', b"[ V ]",
                                                        b'f="6"', b"[", b'g="7"'),
        "equals and quotes inside": _lines(b"[S]", b'k="a=b"', b'l=x="y"', b'q"x="v"', b'r=a"b"c"d'),
        "no final line end": b'[S]\r\na="1"\r\nb="2"',
        "only line ends": b"\r\n\r\n\r\n",
        "empty file": b"",
        "empty sections": _lines(b"[A]", b"[B]", b"[a]", b'x="1"', b"[C]"),
        "keys beginning with digits": _lines(b"[1]", b'0="zero"', b'1a="one"'),
        "placeholder-free percent": _lines(b"[S]", b'a="100% and %APPDATA%"', b'b="%x%"'),
        "form feed in plain text": _lines(b"[S]", b'a="page\x0cbreak"'),
        "zero byte in plain text": _lines(b"[S]", b'a="x"', b'b="\x00"', b'c="z"'),
    }
    big = b"x" * 100
    cases["line of 3071 bytes then more"] = _lines(b"[S]", _entry_line(3071), b'after="1"')
    cases["line of 3072 bytes ends the parse"] = _lines(b"[S]", b'before="1"', _entry_line(3072), b'after="1"')
    cases["skipped line of 3072 bytes ends the parse"] = _lines(b"[S]", b'a="1"', b";" + b"c" * 3071, b'b="2"')
    cases["header of 3071 bytes"] = _lines(b"[H]" + b"h" * 3068, b'a="1"')
    cases["header of 3072 bytes"] = _lines(b"[S]", b'a="1"', b"[H]" + b"h" * 3069, b'b="2"')
    cases["last line of 3071 bytes"] = _lines(b"[S]") + _entry_line(3071)
    cases["last line of 3072 bytes"] = _lines(b"[S]") + _entry_line(3072)
    cases["LF-only file of 3071 bytes"] = (b'[S]\n' + big) + b"y" * (3071 - 4 - len(big))
    cases["LF-only file of 3072 bytes"] = (b'[S]\n' + big) + b"y" * (3072 - 4 - len(big))
    cases["key of 511 bytes"] = _lines(b"[S]", b"k" * 511 + b'="v"')
    cases["value of 2559 bytes"] = _lines(b"[S]", b'k="' + b"v" * 2559 + b'"')
    cases["section name of 511 bytes"] = _lines(b"[" + b"s" * 511 + b"]", b'k="v"')
    return cases


def limit_cases():
    """Beyond the limits the handling is free: only a clean, consistent result is demanded."""
    return {
        "key of 512 bytes": _lines(b"[S]", b"k" * 512 + b'="v"', b'next="1"'),
        "value of 2560 bytes": _lines(b"[S]", b'k="' + b"v" * 2560 + b'"', b'next="1"'),
        "section name of 512 bytes": _lines(b"[" + b"s" * 512 + b"]", b'k="v"', b"[T]", b'next="1"'),
        "key of 3000 bytes": _lines(b"[S]", b"k" * 3000 + b'="v"', b'next="1"'),
        "writer output above 1 MiB": _lines(b"[S]", *[b"k%04d=\"%s\"" % (i, b"v" * 2500) for i in range(440)]),
    }


def random_file(rng):
    """A file of random lines drawn from the syntax's corner cases."""
    names = [b"S", b"s", b"Sec", b"SEC", b"T", b"\xe4", b"\xc4", b"x y", b"a]b"]
    keys = [b"k", b"K", b"key", b"k ", b"k  ", b"1", b"_k", b" k", b"\xe4k", b"a b", b"k\t", b'q"']
    values = [b"", b"v", b'"', b'a"b', b" ", b"=", b"\xfc\xdf", b"\r", b"\n", b"x\ty", b"%", b"100%"]
    lines = []
    for _ in range(rng.randint(0, 40)):
        choice = rng.random()
        if choice < 0.15:
            lines.append(b"[" + rng.choice(names) + rng.choice([b"]", b"]", b"] junk", b"", b"]]"]))
        elif choice < 0.75:
            between = rng.choice([b"", b" ", b"  ", b"x", b'"'])
            after = rng.choice([b"", b"", b" ", b";c", b'"', b'x"'])
            quote = rng.choice([b'"', b'"', b'"', b""])
            lines.append(rng.choice(keys) + rng.choice([b"=", b"=", b" =", b""]) + between + quote
                         + rng.choice(values) + rng.choice([b'"', b'"', b""]) + after)
        elif choice < 0.85:
            lines.append(rng.choice([b"", b";comment", b"#c", b" x=\"1\"", b"=\"v\"", b"\xa0k=\"v\""]))
        else:
            lines.append(bytes(rng.choice(b"ab =\"[]\r\n\t\xe4") for _ in range(rng.randint(0, 12))))
    text = b"".join(line + rng.choice([CRLF, CRLF, CRLF, b"\n", b"\r", b"\r\r\n"]) for line in lines)
    if rng.random() < 0.3 and text.endswith(CRLF):
        text = text[:-2]
    return text


def _show(tool, path):
    return tool.run("config", "show", windows_path(path))


def run(tool, checks, work, rng):
    folder = os.path.join(work, "ini")
    os.makedirs(folder, exist_ok=True)
    cases = list(handmade_cases().items())
    for name, data in list(cases):
        if b"%" not in data and len(data) >= 8:
            cases.append((name + " (enciphered)", cipher_ref.encrypt(data)))
    cases.append(("enciphered text with a zero byte",
                  cipher_ref.encrypt(_lines(b"[S]", b'a="1"', b'b="\x00"', b'c="3"'))))
    cases.append(("enciphered text with a clear tail",
                  cipher_ref.encrypt(_lines(b"[S]", b'a="1"', b'b="23"') + b'c="4"')))
    for index in range(60):
        data = random_file(rng)
        cases.append(("random file %d" % index, data))
        if index % 3 == 0:
            cases.append(("random file %d (enciphered)" % index, cipher_ref.encrypt(data)))
    paths = [_write(folder, "case%03d.ini" % i, data) for i, (_, data) in enumerate(cases)]
    with ThreadPoolExecutor(max_workers=4) as pool:
        results = list(pool.map(lambda path: _show(tool, path), paths))
    for (name, data), result in zip(cases, results):
        label = "config show: " + name
        if checks.equal(label + ": exit code", 0, result.code):
            checks.equal(label, ini_ref.show(data), result.out, data if len(data) <= 200 else None)
        else:
            print("     stderr: %r" % result.err[:300])
    _run_limits(tool, checks, folder)
    path = _write(folder, "placeholders.ini", _lines(b"[S]", b'a="%PERSONAL%\\x"', b'b="%APPDATA%"',
                                                     b'c="%CURRENTUSER%"'))
    data = open(path, "rb").read()
    result = _show(tool, path)
    # Placeholders are expanded only where the store reads the per-user file; a shown file keeps them.
    if checks.equal("config show of placeholders %PERSONAL%, %APPDATA%, %CURRENTUSER%: exit code", 0, result.code):
        checks.equal("config show of placeholders: written as they stand", ini_ref.show(data), result.out)


def _run_limits(tool, checks, folder):
    for index, (name, data) in enumerate(limit_cases().items()):
        path = _write(folder, "limit%02d.ini" % index, data)
        result = _show(tool, path)
        label = "config show beyond a limit: " + name
        if not checks.equal(label + ": exit code", 0, result.code):
            continue
        again = _write(folder, "limit%02d.again.ini" % index, result.out)
        second = _show(tool, again)
        # Whatever the product keeps, its output must be its own fixed point under the model too.
        checks.equal(label + ": output reads back unchanged", result.out, second.out)
        checks.equal(label + ": output is in the writer's syntax", ini_ref.show(result.out), result.out)
        expected = ini_ref.show(data)
        summary = "same as the unlimited model" if result.out == expected else _describe(expected, result.out)
        checks.note("%s: %s" % (label, summary))


def _describe(expected, actual):
    model = ini_ref.parse(expected)
    product = ini_ref.parse(actual)
    parts = []
    for section in model.sections:
        found = product.find_section(section[0])
        if found is None:
            parts.append("section of %d bytes dropped" % len(section[0]))
            continue
        if found[0] != section[0]:
            parts.append("section name %d -> %d bytes" % (len(section[0]), len(found[0])))
        keys = {k: v for k, v in found[1]}
        for key, value in section[1]:
            if key in keys:
                if keys[key] != value:
                    parts.append("value of %d -> %d bytes" % (len(value), len(keys[key])))
            else:
                match = [k for k in keys if key.startswith(k) and k != key]
                parts.append("key of %d bytes %s" % (len(key), "-> %d bytes" % len(match[0]) if match
                                                      else "dropped"))
    parts.append("output %d bytes (model %d)" % (len(actual), len(expected)))
    return "; ".join(parts)
