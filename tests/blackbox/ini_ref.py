"""Independent model of the configuration file syntax: reading (deciphered when needed),
parsing and writing back in the writer's syntax."""

import cipher_ref

LINE_LIMIT = 3071


def is_enciphered(data):
    """Content test: any control byte other than TAB, LF and CR marks an enciphered file."""
    return any(b < 0x20 and b not in (0x09, 0x0A, 0x0D) for b in data)


def read_config_bytes(data):
    """The text the parser sees for a file's bytes: deciphered when needed, up to its first zero."""
    if is_enciphered(data):
        data = cipher_ref.decrypt(data)
    zero = data.find(b"\0")
    return data if zero < 0 else data[:zero]


def _lower_ascii(name):
    return bytes(b + 32 if 0x41 <= b <= 0x5A else b for b in name)


def _starts_entry_or_header(line):
    if not line:
        return False
    first = line[0]
    return (0x30 <= first <= 0x39) or (0x41 <= first <= 0x5A) or (0x61 <= first <= 0x7A) or first == 0x5B


class Document:
    def __init__(self):
        self.sections = []  # [name, [[key, value], ...]]

    def find_section(self, name):
        wanted = _lower_ascii(name)
        for section in self.sections:
            if _lower_ascii(section[0]) == wanted:
                return section
        return None

    def set(self, section_name, key, value):
        section = self.find_section(section_name)
        if section is None:
            section = [section_name, []]
            self.sections.append(section)
        for entry in section[1]:
            if entry[0] == key:
                entry[1] = value
                return
        section[1].append([key, value])

    def limits_touched(self):
        """True when a name, key or value lies beyond the limits whose handling is free."""
        for name, entries in self.sections:
            if len(name) > 511:
                return True
            for key, value in entries:
                if len(key) > 511 or len(value) > 2559:
                    return True
        return False

    def write(self):
        out = bytearray()
        for name, entries in self.sections:
            out += b"[" + name + b"]\r\n"
            for key, value in entries:
                out += key + b'="' + value + b'"\r\n'
        return bytes(out)


def split_lines(text):
    """Lines separated by exactly CR LF; the text after the last CR LF is the last line."""
    return text.split(b"\r\n")


def parse(text, document=None):
    document = document if document is not None else Document()
    current = None
    for line in split_lines(text):
        if len(line) > LINE_LIMIT:
            break
        if not _starts_entry_or_header(line):
            continue
        if line[0] == 0x5B:
            close = line.find(b"]", 1)
            if close <= 1:
                continue
            name = line[1:close]
            current = document.find_section(name)
            if current is None:
                current = [name, []]
                document.sections.append(current)
            continue
        if current is None:
            continue
        equals = line.find(b"=")
        if equals < 0:
            continue
        key = line[:equals].rstrip(b" ")
        if not key:
            continue
        rest = line[equals + 1:]
        opening = rest.find(b'"')
        closing = rest.rfind(b'"')
        if opening < 0 or closing == opening:
            continue
        value = rest[opening + 1:closing]
        for entry in current[1]:
            if entry[0] == key:
                entry[1] = value
                break
        else:
            current[1].append([key, value])
    return document


def show(file_bytes):
    """What `config show` is expected to print for a file: the writer's output of its parse."""
    return parse(read_config_bytes(file_bytes)).write()


if __name__ == "__main__":
    sample = b'[A]\r\nk = "v"\r\n[a]\r\nk="w"x\r\n_u="1"\r\nq=x\r\n[]\r\nz="a"b"c"\r\n'
    assert show(sample) == b'[A]\r\nk="w"\r\nz="a"b"c"\r\n', show(sample)
    print("ini model ok")
