#!/usr/bin/env bash
# The configuration cipher's throughput side by side with OpenSSL's bf-cbc on this machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/build/native/benchmarks" --benchmark_filter='Cipher|Encipher|Decipher'
echo "== openssl bf-cbc (64 KiB blocks)"
openssl speed -provider legacy -provider default -evp bf-cbc -bytes 65536 -seconds 3 2>/dev/null | tail -2
echo "== openssl bf-cbc decryption"
openssl speed -provider legacy -provider default -decrypt -evp bf-cbc -bytes 65536 -seconds 3 2>/dev/null | tail -2
