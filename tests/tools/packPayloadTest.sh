#!/usr/bin/env bash
# Tests of the payload builder, run natively: refusals without output, determinism, codecs.
#   packPayloadTest.sh PACK_PAYLOAD
set -uo pipefail
pack=${1:?usage: packPayloadTest.sh PACK_PAYLOAD}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

make_product() { # folder
  mkdir -p "$1/bin" "$1/help"
  printf 'program' > "$1/bin/trqc.exe"
  printf 'help text\n' > "$1/help/readme.txt"
  touch -d @1600000000 "$1/bin/trqc.exe" "$1/help/readme.txt"
}

# expect_refusal NAME TEXT SETUP: SETUP spoils a fresh product; packing must fail with a
# message holding TEXT and leave neither the output (an older one was there) nor a
# temporary file.
expect_refusal() {
  local name=$1 text=$2 setup=$3 product="$work/$1" out="$work/$1.out"
  make_product "$product"
  (cd "$product" && eval "$setup")
  echo old > "$out"
  if "$pack" "$product" "$out" 2> "$work/$name.err"; then
    fail "$name: packed"
  fi
  grep -qF -- "$text" "$work/$name.err" || fail "$name: message '$(cat "$work/$name.err")' lacks '$text'"
  [ -e "$out" ] && fail "$name: output left behind"
  ls "$out".* >/dev/null 2>&1 && fail "$name: temporary file left behind"
}

expect_refusal parent "help/..\\evil.txt: the name contains a '..' component" 'echo x > "help/..\\evil.txt"'
expect_refusal absolute '\abs.txt: the name is absolute' 'echo x > "\\abs.txt"'
expect_refusal drive "c:evil.txt: the name names a drive" 'echo x > "c:evil.txt"'
expect_refusal linefeed 'the name contains a line feed' 'echo x > "$(printf "line\nfeed")"'
expect_refusal dangling 'bin/gone.dll: cannot read' 'ln -s nowhere bin/gone.dll'
expect_refusal fifo 'bin/pipe: not a regular file' 'mkfifo bin/pipe'
expect_refusal folderlink 'bin/loop: not a regular file' 'ln -s .. bin/loop'
expect_refusal nofolder 'cannot read the product folder' 'cd .. && rm -rf nofolder'
if [ "$(id -u)" -ne 0 ]; then # root reads every file
  expect_refusal unreadable 'help/secret.txt: cannot read' 'echo x > help/secret.txt && chmod 000 help/secret.txt'
fi

# The same tree gives the same bytes, wherever it lies; any change gives others.
make_product "$work/a"
"$pack" "$work/a" "$work/a1.bin" || fail "pack a"
"$pack" "$work/a" "$work/a2.bin" || fail "pack a again"
cp -a "$work/a" "$work/copy"
"$pack" "$work/copy" "$work/copy.bin" || fail "pack the copy"
cmp -s "$work/a1.bin" "$work/a2.bin" || fail "two packs of one tree differ"
cmp -s "$work/a1.bin" "$work/copy.bin" || fail "a copy of the tree packs differently"
size=$(stat -c %s "$work/a1.bin")
[ $((size % 8)) -eq 0 ] || fail "payload of $size bytes is not a whole number of blocks"
touch -d @1600000001 "$work/copy/help/readme.txt"
"$pack" "$work/copy" "$work/later.bin" || fail "pack the touched copy"
cmp -s "$work/a1.bin" "$work/later.bin" && fail "a new modification time packs the same"
printf 'link' > "$work/copy/bin/link.exe"
"$pack" "$work/copy" "$work/more.bin" || fail "pack the copy with one more file"
cmp -s "$work/later.bin" "$work/more.bin" && fail "one more file packs the same"

# LZMA: as deterministic, and another payload than bzip2's; an unknown
# codec is a usage error that writes nothing.
"$pack" --codec lzma "$work/a" "$work/l1.bin" || fail "pack a with LZMA"
"$pack" --codec lzma "$work/copy" "$work/l2.bin" && "$pack" --codec lzma "$work/copy" "$work/l3.bin" \
  || fail "pack the copy with LZMA"
cmp -s "$work/l2.bin" "$work/l3.bin" || fail "two LZMA packs of one tree differ"
cmp -s "$work/a1.bin" "$work/l1.bin" && fail "LZMA packs as bzip2 does"
"$pack" --codec bzip2 "$work/a" "$work/b1.bin" && cmp -s "$work/a1.bin" "$work/b1.bin" \
  || fail "--codec bzip2 is not the default"
[ $(($(stat -c %s "$work/l1.bin") % 8)) -eq 0 ] || fail "LZMA payload is not a whole number of blocks"
"$pack" --codec zip "$work/a" "$work/zip.bin" 2>/dev/null
[ $? -eq 2 ] || fail "an unknown codec is no usage error"
[ -e "$work/zip.bin" ] && fail "an unknown codec wrote a payload"

"$pack" 2>/dev/null
[ $? -eq 2 ] || fail "usage without arguments"

[ $failures -eq 0 ] && echo "pack-payload: all checks passed"
exit $((failures > 0))
