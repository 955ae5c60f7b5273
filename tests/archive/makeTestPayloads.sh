#!/usr/bin/env bash
# Makes the product folders and resources that test_archive carries, in OUT:
#   makeTestPayloads.sh PACK_PAYLOAD OUT
# Every file has fixed contents and times, so the payloads are the same on every build.
set -euo pipefail
pack=${1:?usage: makeTestPayloads.sh PACK_PAYLOAD OUT}
out=${2:?usage: makeTestPayloads.sh PACK_PAYLOAD OUT}

rm -rf "$out"
mkdir -p "$out"
cd "$out"
time=@1600000000

mkdir empty

mkdir onebyte
printf x > onebyte/a

# One entry "f" with a 10-digit time: the header record takes 18 bytes and the entry's
# lines 29 (size of 3 digits) or 30 (4 digits), so the decoded streams are exactly 1024
# and 2048 bytes long.
mkdir stream1024 stream2048
head -c 977 /dev/zero | tr '\0' 'a' > stream1024/f
head -c 2000 /dev/zero | tr '\0' 'b' > stream2048/f

# Several megabytes, an empty file, every byte value (line feeds, CRs and NULs included)
# and a deep folder.
mkdir -p big/data big/x/y/z
seq 1 500000 > big/data/numbers.txt
: > big/data/empty
for i in $(seq 0 255); do printf "\\$(printf %03o "$i")"; done > big/x/y/z/bytes.bin

# Many empty files (and a few that are not), and a single file of 20 MB.
mkdir -p manyempty/a manyempty/b/c
for i in $(seq 1 1500); do : > "manyempty/a/$i.txt"; : > "manyempty/b/c/$i"; done
printf 'not empty\n' > manyempty/a/750.txt
printf x > manyempty/b/c/1500
mkdir single20mb
seq 1 2700000 > numbers.txt
head -c 20000000 numbers.txt > single20mb/twenty.bin
rm numbers.txt

touch -d "$time" empty onebyte/a stream1024/f stream2048/f big/data/* big/x/y/z/bytes.bin \
  manyempty/a/* manyempty/b/c/* single20mb/twenty.bin
for product in empty onebyte stream1024 stream2048 big manyempty single20mb; do
  "$pack" "$product" "$product.payload"
  "$pack" --codec lzma "$product" "$product.lzma.payload"
done

# A payload cut short (a whole number of blocks), and raw resources for the decipher layer.
head -c 4096 big.payload > cut.payload
printf 01234567 > raw8.bin
head -c 2048 /dev/zero | tr '\0' 'r' > raw2048.bin
head -c 663120 /dev/zero | tr '\0' 'r' > raw663120.bin
