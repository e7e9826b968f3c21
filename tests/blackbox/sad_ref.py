"""Independent model of the ".sad" archive container: a 520-byte header, then records of
(name size, name with its zero byte, data size, data), little-endian 32-bit numbers."""

import os
import re
import struct
import time

MAGIC = 0xDEADBEEF
HEADER_SIZE = 520
MAKER = b"Norvalen Internet AG"


def header(created=None):
    created = int(time.time()) if created is None else created
    local = time.localtime(created)
    dated = MAKER + b" - " + time.strftime("%m/%d/%y", local).encode()
    return (struct.pack("<II", MAGIC, created) + dated.ljust(256, b"\0") + MAKER.ljust(256, b"\0"))


def record(name, data):
    return struct.pack("<I", len(name) + 1) + name + b"\0" + struct.pack("<I", len(data)) + data


def archive(records, created=None):
    return header(created) + b"".join(record(name, data) for name, data in records)


def listing_key(name):
    """The order in which Wine lists a directory: by name, each character upper-cased alone."""
    return [ord(ch.upper()) if len(ch.upper()) == 1 else ord(ch) for ch in name]


def walk(folder, prefix=b""):
    """Records of every file below `folder`, depth first, each folder's entries in the order the
    platform lists them; names relative to `folder`, joined by backslashes, as ANSI bytes."""
    out = []
    for entry in sorted(os.scandir(folder), key=lambda entry: listing_key(entry.name)):
        name = prefix + entry.name.encode("cp1252")
        if entry.is_dir(follow_symlinks=False):
            out += walk(entry.path, name + b"\\")
        else:
            out.append((name, open(entry.path, "rb").read()))
    return out


class Layout:
    """The parts of an archive file, with every deviation from the format found on the way."""

    def __init__(self, data):
        self.problems = []
        self.records = []
        self.created = None
        if len(data) < HEADER_SIZE:
            self.problems.append("shorter than the header: %d bytes" % len(data))
            return
        magic, self.created = struct.unpack_from("<II", data, 0)
        if magic != MAGIC:
            self.problems.append("magic %08X" % magic)
        self._check_texts(data[8:264], data[264:520])
        self._read_records(data)

    def _check_texts(self, dated, maker):
        match = re.fullmatch(rb"Norvalen Internet AG - (\d\d/\d\d/\d\d)\0+", dated)
        if not match:
            self.problems.append("first text field %r" % dated.rstrip(b"\0"))
        else:
            days = {time.strftime("%m/%d/%y", time.localtime(self.created + delta)).encode()
                    for delta in (-2, 0, 2)}
            if match.group(1) not in days:
                self.problems.append("date %s is not the local date of the time field" % match.group(1))
        if maker != MAKER.ljust(256, b"\0"):
            self.problems.append("second text field %r" % maker.rstrip(b"\0"))

    def _read_records(self, data):
        offset = HEADER_SIZE
        while offset < len(data):
            if offset + 4 > len(data):
                self.problems.append("cut name size at %d" % offset)
                return
            (name_size,) = struct.unpack_from("<I", data, offset)
            name = data[offset + 4:offset + 4 + name_size]
            if name_size == 0 or len(name) != name_size or name[-1:] != b"\0" or b"\0" in name[:-1]:
                self.problems.append("bad name of size %d at %d" % (name_size, offset))
                return
            offset += 4 + name_size
            if offset + 4 > len(data):
                self.problems.append("cut data size at %d" % offset)
                return
            (size,) = struct.unpack_from("<I", data, offset)
            offset += 4
            if offset + size > len(data):
                self.problems.append("data of %d bytes runs past the end at %d" % (size, offset))
                return
            self.records.append((name[:-1], data[offset:offset + size]))
            offset += size


def is_depth_first(names):
    """True when the files of every folder come as one run (each folder is walked whole)."""
    closed = set()
    open_path = []
    for name in names:
        parts = name.split(b"\\")[:-1]
        common = 0
        while common < min(len(parts), len(open_path)) and parts[common] == open_path[common]:
            common += 1
        for depth in range(common, len(open_path)):
            closed.add(b"\\".join(open_path[:depth + 1]).lower())
        for depth in range(common, len(parts)):
            if b"\\".join(parts[:depth + 1]).lower() in closed:
                return False
        open_path = parts
    return True
