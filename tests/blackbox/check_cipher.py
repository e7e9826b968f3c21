"""The configuration cipher: `nvtool config encrypt` and `decrypt` against the model."""

import os
from concurrent.futures import ThreadPoolExecutor

import cipher_ref
from harness import windows_path

LARGE_LENGTHS = (4096, 65539, 262151)


def _payloads(rng):
    for length in range(0, 101):
        yield "random %d bytes" % length, bytes(rng.getrandbits(8) for _ in range(length))
    for length in LARGE_LENGTHS:
        yield "random %d bytes" % length, rng.randbytes(length)
    text = b'[Registry_HKCU]\r\nCurrentSkin="Skin0000"\r\n'
    yield "ini text", text
    yield "ini text with a changed first byte", b"{" + text[1:]


def _convert(tool, command, source, target):
    result = tool.run("config", command, windows_path(source), windows_path(target))
    data = open(target, "rb").read() if os.path.exists(target) else None
    return result, data


def run(tool, checks, work, rng):
    folder = os.path.join(work, "cipher")
    os.makedirs(folder, exist_ok=True)
    jobs = []
    for index, (label, payload) in enumerate(_payloads(rng)):
        source = os.path.join(folder, "in%03d.bin" % index)
        with open(source, "wb") as handle:
            handle.write(payload)
        for command, model in (("encrypt", cipher_ref.encrypt), ("decrypt", cipher_ref.decrypt)):
            target = os.path.join(folder, "%s%03d.bin" % (command, index))
            jobs.append((label, command, payload, model, source, target))
    with ThreadPoolExecutor(max_workers=4) as pool:
        outcomes = list(pool.map(lambda job: _convert(tool, job[1], job[4], job[5]), jobs))
    for (label, command, payload, model, _, _), (result, data) in zip(jobs, outcomes):
        name = "cipher %s: %s" % (command, label)
        if not checks.equal(name + ": exit code", 0, result.code):
            print("     stderr: %r" % result.err[:300])
            continue
        checks.equal(name, model(payload), data, payload if len(payload) <= 100 else None)
    # A changed byte in the first block changes every following enciphered block, not the tail.
    base = bytes(range(8)) * 5 + b"tail"
    changed = b"\xff" + base[1:]
    first, second = cipher_ref.encrypt(base), cipher_ref.encrypt(changed)
    checks.true("cipher model: chaining spreads a change to every block",
                all(first[i:i + 8] != second[i:i + 8] for i in range(0, 40, 8)) and first[40:] == b"tail")
