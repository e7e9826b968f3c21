#!/usr/bin/env bash
# The configuration cipher's throughput side by side with OpenSSL's bf-cbc on this machine:
# alternating runs, then the median ratio for encryption and decryption.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-3}
ours() { # $1: Encipher or Decipher -> MB/s
  "$root/build/native/benchmarks" --benchmark_filter="BM_$1" --benchmark_format=csv 2>/dev/null |
    awk -F, '/BM_/ {printf "%.1f\n", $6 / 1e6}'
}
openssl_mbs() { # $1: "" or -decrypt -> MB/s
  openssl speed -provider legacy -provider default $1 -evp bf-cbc -bytes 65536 -seconds 2 2>/dev/null |
    awk '/^BF-CBC/ {sub("k", "", $2); printf "%.1f\n", $2 / 1000}'
}
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
enc=(); dec=()
for _ in $(seq "$rounds"); do
  e=$(ours Encipher); oe=$(openssl_mbs ""); d=$(ours Decipher); od=$(openssl_mbs -decrypt)
  echo "encrypt: ours $e MB/s, openssl $oe MB/s | decrypt: ours $d MB/s, openssl $od MB/s"
  enc+=("$(awk -v a="$e" -v b="$oe" 'BEGIN {printf "%.2f", a / b}')")
  dec+=("$(awk -v a="$d" -v b="$od" 'BEGIN {printf "%.2f", a / b}')")
done
echo "median ratio ours/openssl: encrypt $(printf '%s\n' "${enc[@]}" | median), decrypt $(printf '%s\n' "${dec[@]}" | median)"
