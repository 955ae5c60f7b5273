#!/usr/bin/env bash
# check-program reads the import table function by function: a program that imports a
# function newer than the architecture's oldest Windows, one the table lacks or one the table
# says never to import, fails; so does one without the stack protector (the test program is
# built without it), and a copy of it whose header loses ASLR and DEP and whose code section
# is made writable.
#   checkProgramTest.sh CHECK-PROGRAM LATE-IMPORT-PROGRAM x86|x64
set -uo pipefail
check=${1:?usage: checkProgramTest.sh CHECK-PROGRAM PROGRAM x86|x64}
program=${2:?}
arch=${3:?}
failures=0
empty=$(mktemp)
weakened=$(mktemp)
trap 'rm -f "$empty" "$weakened"' EXIT
python3 - "$program" "$weakened" <<'PY'
# The copy: DllCharacteristics 0, and .text also IMAGE_SCN_MEM_WRITE.
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
pe = struct.unpack_from("<I", data, 0x3C)[0]
sections, = struct.unpack_from("<H", data, pe + 6)
optional, = struct.unpack_from("<H", data, pe + 20)
struct.pack_into("<H", data, pe + 24 + 70, 0)
for i in range(sections):
    s = pe + 24 + optional + 40 * i
    if data[s:s + 5] == b".text":
        flags, = struct.unpack_from("<I", data, s + 36)
        struct.pack_into("<I", data, s + 36, flags | 0x80000000)
open(sys.argv[2], "wb").write(data)
PY
check() { # program, then the texts its failure must contain
  local output
  if output=$("$check" "$1" "$arch" "$empty" 2>&1); then
    echo "FAIL: check-program passed $1"
    failures=1
  fi
  shift
  for expected in "$@"; do
    grep -qF -- "$expected" <<<"$output" || { echo "FAIL: no '$expected' in:"; echo "$output"; failures=1; }
  done
}
check "$program" "kernel32.dll!GetTickCount64 needs Windows - / NT Vista, newer than the program's floor" \
  "kernel32.dll!GetCurrentProcessorNumber is not in tools/windows-api.tsv" \
  "kernel32.dll!CreateSemaphoreW is imported, and the table says never to" "no stack protector: 0 functions"
high_entropy=()
[ "$arch" != x64 ] || high_entropy=("HIGH_ENTROPY_VA is missing")
check "$weakened" "DYNAMIC_BASE is missing" "NX_COMPAT is missing" "${high_entropy[@]}" \
  "sections both writable and executable: .text"
[ $failures -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $failures
