"""Independent model of the configuration cipher: the suite's Blowfish variant in CBC mode.

The initial tables are the fractional hexadecimal digits of pi, computed here with integer
arithmetic (Machin's formula), so the model shares no data with the product.
"""

MASK = 0xFFFFFFFF
KEY = b"MaplewoodCastleKeys"
WORDS = 18 + 4 * 256


def _arctan_inverse(x, scale):
    """arctan(1/x) * scale, truncated, for integer x > 1."""
    total = term = scale // x
    x2 = x * x
    n = 1
    sign = -1
    while term:
        term //= x2
        total += sign * (term // (2 * n + 1))
        sign = -sign
        n += 1
    return total


def pi_fraction_words(count):
    """The first `count` 32-bit words of the hexadecimal fraction of pi."""
    bits = 32 * count
    guard = 64
    scale = 1 << (bits + guard)
    pi = 4 * (4 * _arctan_inverse(5, scale) - _arctan_inverse(239, scale))
    fraction = (pi - 3 * scale) >> guard
    return [(fraction >> (bits - 32 * (i + 1))) & MASK for i in range(count)]


_INITIAL = None


def initial_tables():
    global _INITIAL
    if _INITIAL is None:
        words = pi_fraction_words(WORDS)
        _INITIAL = (words[:18], [words[18 + 256 * k: 18 + 256 * (k + 1)] for k in range(4)])
    return _INITIAL


class Cipher:
    def __init__(self, key=KEY):
        p, s = initial_tables()
        self.p = list(p)
        self.s = [list(t) for t in s]
        self._schedule(key)

    def _f(self, x):
        s = self.s
        a, b, c, d = x >> 24, (x >> 16) & 0xFF, (x >> 8) & 0xFF, x & 0xFF
        return ((s[3][a] + s[2][b]) & MASK) ^ ((s[1][c] + s[0][d]) & MASK)

    def encrypt_block(self, left, right):
        p = self.p
        for i in range(16):
            left ^= p[i]
            right ^= self._f(left)
            left, right = right, left
        left, right = right, left
        return left ^ p[17], right ^ p[16]

    def decrypt_block(self, left, right):
        p = self.p
        for i in range(17, 1, -1):
            left ^= p[i]
            right ^= self._f(left)
            left, right = right, left
        left, right = right, left
        return left ^ p[0], right ^ p[1]

    def _schedule(self, key):
        n = len(key)
        pos = 0
        wrapped = False
        while True:
            for i in range(18):
                word = 0
                for _ in range(4):
                    word = ((word | key[pos]) << 8) & MASK
                    pos += 1
                    if pos == n:
                        pos = 0
                        wrapped = True
                self.p[i] ^= word
            if wrapped:
                break
        left = right = 0
        for i in range(0, 18, 2):
            left, right = self.encrypt_block(left, right)
            self.p[i], self.p[i + 1] = left, right
        for table in self.s:
            for j in range(0, 256, 2):
                left, right = self.encrypt_block(left, right)
                table[j], table[j + 1] = left, right


_CIPHER = None


def _cipher():
    global _CIPHER
    if _CIPHER is None:
        _CIPHER = Cipher()
    return _CIPHER


def _words(data, offset):
    return int.from_bytes(data[offset:offset + 4], "big"), int.from_bytes(data[offset + 4:offset + 8], "big")


def encrypt(data):
    cipher = _cipher()
    out = bytearray(data)
    c0 = c1 = 0
    for offset in range(0, len(data) - len(data) % 8, 8):
        left, right = _words(data, offset)
        c0, c1 = cipher.encrypt_block(left ^ c0, right ^ c1)
        out[offset:offset + 8] = c0.to_bytes(4, "big") + c1.to_bytes(4, "big")
    return bytes(out)


def decrypt(data):
    cipher = _cipher()
    out = bytearray(data)
    c0 = c1 = 0
    for offset in range(0, len(data) - len(data) % 8, 8):
        left, right = _words(data, offset)
        plain_left, plain_right = cipher.decrypt_block(left, right)
        out[offset:offset + 8] = (plain_left ^ c0).to_bytes(4, "big") + (plain_right ^ c1).to_bytes(4, "big")
        c0, c1 = left, right
    return bytes(out)


def self_check():
    """Facts that hold for any correct model, whatever the product does."""
    p, s = initial_tables()
    assert p[0] == 0x243F6A88 and p[17] == 0x8979FB1B, hex(p[17])
    assert s[0][0] == 0xD1310BA6 and s[1][0] == 0x4B7A70E9
    assert s[2][0] == 0xE93D5A68 and s[3][0] == 0x3A39CE37
    assert s[3][255] == 0x3AC372E6  # last word of the published tables
    for length in (0, 7, 8, 13, 64, 65):
        data = bytes((i * 37 + 11) & 0xFF for i in range(length))
        assert decrypt(encrypt(data)) == data
    assert encrypt(b"1234567") == b"1234567"


if __name__ == "__main__":
    self_check()
    print("cipher model ok")
