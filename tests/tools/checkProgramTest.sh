#!/usr/bin/env bash
# check-program reads the import table function by function: a program that imports a
# function newer than the architecture's oldest Windows, one the table lacks or one the table
# says never to import, fails.
#   checkProgramTest.sh CHECK-PROGRAM LATE-IMPORT-PROGRAM x86|x64
set -uo pipefail
check=${1:?usage: checkProgramTest.sh CHECK-PROGRAM PROGRAM x86|x64}
program=${2:?}
arch=${3:?}
failures=0
empty=$(mktemp)
trap 'rm -f "$empty"' EXIT
if output=$("$check" "$program" "$arch" "$empty" 2>&1); then
  echo "FAIL: check-program passed $program"
  failures=1
fi
for expected in "kernel32.dll!GetTickCount64 needs Windows - / NT Vista, newer than the program's floor" \
                "kernel32.dll!GetCurrentProcessorNumber is not in tools/windows-api.tsv" \
                "kernel32.dll!CreateSemaphoreW is imported, and the table says never to"; do
  grep -qF -- "$expected" <<<"$output" || { echo "FAIL: no '$expected' in:"; echo "$output"; failures=1; }
done
[ $failures -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $failures
