#!/usr/bin/env bash
# Makes the payloads of the extraction tests in OUT (ids as in extractResources.rc.in):
#   makeExtractPayloads.sh PACK_PAYLOAD RAW_PAYLOAD OUT
# Product folders go through the builder; archives it cannot make (a wrong magic, a cut
# entry, names that leave the install folder) are written as decoded bytes and enciphered.
set -euo pipefail
pack=${1:?usage: makeExtractPayloads.sh PACK_PAYLOAD RAW_PAYLOAD OUT}
raw=${2:?usage: makeExtractPayloads.sh PACK_PAYLOAD RAW_PAYLOAD OUT}
out=${3:?usage: makeExtractPayloads.sh PACK_PAYLOAD RAW_PAYLOAD OUT}

rm -rf "$out"
mkdir -p "$out"
cd "$out"

mkdir none
"$pack" none none.payload

# The wrapper, an empty file and 10000 bytes (the numbers 1, 2, ... one a line, cut).
mkdir -p full/bin full/help full/lib
printf 'extracted wrapper\n' > full/bin/trqc.exe
: > full/help/empty.txt
seq 1 3000 > numbers.txt
head -c 10000 numbers.txt > full/lib/big.bin
touch -d @1500000000 full/bin/trqc.exe
touch -d @1234567890 full/help/empty.txt
touch -d @1600000000 full/lib/big.bin
"$pack" full full.payload
# The full payload without its last 8 bytes, which hold only the bzip2 stream's trailer (its
# entries come out whole), and an archive with a byte after its last entry.
head -c -8 full.payload > trailer.payload
printf 'qxa-archive\n0\n0\n0\nx' | "$raw" trailing.payload

# An entry of 10000 bytes of which the data holds 5000.
{ printf 'qxa-archive\n1\n0\n0\nqxa-archive\nlib/cut.bin\n10000\n1600000000\n'; head -c 5000 /dev/zero | tr '\0' 'c'; } \
  | "$raw" cut.payload
printf 'QXA-archive\n0\n0\n0\n' | "$raw" magic.payload
printf 'qxa-archive\n2\n0' | "$raw" header.payload

# About 1.3 MB of 400 files of many sizes in the product's folders (two bzip2 blocks, the
# first ending among small files), and copies of its payload damaged by one flipped byte each or cut short (at
# whole blocks), where the decoder's failures and cut data are found amid the files.
python3 - <<'PY'
import os
for i in range(400):
    folder = 'many/' + ['help', 'include', 'lib', 'src', 'sample', 'sample/text', 'sample/win'][i % 7]
    os.makedirs(folder, exist_ok=True)
    size = 0 if i % 9 == 0 else (i * 7919) % 6000 + (60000 if i % 97 == 50 else 0)
    text = ''.join('%d %s\n' % (n, 'abcdefghij'[(n + i) % 10] * (n % 13)) for n in range(i, i + size))
    with open('%s/f%03d.txt' % (folder, i), 'w') as f:
        f.write(text[:size])
PY
find many -type f -exec touch -d @1600000000 {} +
"$pack" many many.payload
python3 - <<'PY'
data = open('many.payload', 'rb').read()
for k in range(1, 10):
    damaged = bytearray(data)
    damaged[len(data) * k // 10 // 8 * 8 + 3] ^= 0x40
    open('damaged%d.payload' % k, 'wb').write(damaged)
for k in range(1, 4):
    open('cutmany%d.payload' % k, 'wb').write(data[:len(data) * k // 4 // 8 * 8])
PY

# One payload per name that leaves the install folder, in the order the test lists them.
i=0
while IFS= read -r name; do
  printf 'qxa-archive\n1\n0\n0\nqxa-archive\n%s\n5\n1600000000\n12345' "$name" | "$raw" "escape$i.payload"
  i=$((i + 1))
done <<'NAMES'
../escaped.txt
bin/../../escaped.txt
bin\..\..\escaped.txt
bin/.. /escaped.txt
bin/.../escaped.txt
/escaped.txt
\escaped.txt
//localhost/c$/escaped.txt
C:/escaped.txt
C:escaped.txt
bin/escaped.txt:stream
NAMES
