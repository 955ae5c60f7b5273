#!/usr/bin/env bash
# End-to-end rollback: an install that ends early (Escape in Copy Files, a damaged payload)
# leaves the machine as it was, and one that was killed is taken back by the next install or
# by the uninstaller. The machine is compared from outside: the files of drive C: outside
# Wine's own folders (the program menu included), and exports of HKLM\Software, HKCU and
# the environment key. setup-paused.exe is this setup.exe built to wait before a given
# change (TRELLIQ_PAUSE_AT), so that a test can press Escape or kill it there.
. "$(dirname "$0")/lib.sh"

# machine FILE: the machine as seen from outside (C:\setup holds the tests' programs).
# Wine keeps a volatile key of its own under HKCU\Software\Wine, made when a window first
# shows: it is left out.
machine() {
  local key
  {
    (cd "$drive_c" && find . \( -path ./windows -o -path ./users -o -path ./setup \) -prune -o -type d -printf '%p/\n' \
       -o -type f -printf '%p %s %T@\n' | sort)
    for key in 'HKLM\Software' 'HKCU' "$machine_env"; do
      reg export "$key" 'C:\export.reg' /y >/dev/null 2>&1 || echo "export of $key failed"
      iconv -f UTF-16LE -t UTF-8 "$drive_c/export.reg" | tr -d '\r' \
        | awk '/^\[/ { skip = index($0, "\\Software\\Wine\\Temporary System Parameters") > 0 } !skip'
      rm -f "$drive_c/export.reg"
    done
  } > "$1"
}
same_machine() { # BEFORE AFTER
  diff "$1" "$2" > "$world/machine.diff" && return 0
  echo "   the machine changed:"; head -20 "$world/machine.diff"; return 1
}

# exit_is CODE: the program's exit code, of which Unix sees the low byte.
exit_is() { equals "$exit_code" $(($1 % 256)); }

journal_left() { test -f "$installed/setup.journal"; }
uninstall_folder() { # runs the uninstaller silently on the install folder
  cp "$setup_exe" "$drive_c/setup/uninstall.exe"
  start_program 'C:\setup\uninstall.exe' -s -d "$folder"
  finish
}
# A payload whose bytes near its end are flipped.
damaged_near_end() {
  python3 - "$setup_exe" "$build/payload.bin" "$1" <<'PY'
import sys
exe, payload, out = sys.argv[1], open(sys.argv[2], 'rb').read(), sys.argv[3]
data = bytearray(open(exe, 'rb').read())
at = data.find(payload)
assert at > 0, 'payload not found in setup.exe'
for i in range(len(payload) * 9 // 10, len(payload) * 9 // 10 + 16):
    data[at + i] ^= 0xA5
open(out, 'wb').write(data)
PY
}

# Escape in Copy Files after some files, on a clean machine and over an earlier install
# (whose replaced files must come back byte for byte): 1602 and the machine as before.
for over in clean earlier; do
  scenario "escape-in-copy-files-$over"
  if [ $over = earlier ]; then setup -a; finish; fi
  machine "$world/before"
  paused_setup file 6 -a
  check "files were written before Escape" test -f "$installed/bin/trqc.exe" -o -f "$installed/setup.kept/1"
  robot wait 'Copy Files' escape
  resume
  finish
  check "exit code 1602" exit_is 1602
  machine "$world/after"
  check "the machine as before" same_machine "$world/before" "$world/after"
done

scenario damaged-near-the-end
damaged_near_end "$drive_c/setup/setup.exe"
machine "$world/before"
setup -a
# The robot answers every message for 8 s, waiting for one that never comes, and lists them.
shown=$(wine_in "$robot_exe" timeout 8000 seek 'no such message' 2>/dev/null | tr -d '\r' || true)
echo "$shown" | sed 's/^/   /'
finish
check "exit code 1603" exit_is 1603
check "one message, which says that nothing was changed" \
  test "$(grep -c 'answered OK' <<<"$shown")" = 1 -a "$(grep -c 'nothing has been changed\."' <<<"$shown")" = 1
machine "$world/after"
check "the machine as before" same_machine "$world/before" "$world/after"

# Killed at a point (the 6th file, the 4th registry value), then the next install or the
# uninstaller: a whole install, or the machine as before.
for case in "file 6 install" "file 6 uninstall" "value 4 install" "value 4 uninstall"; do
  read -r kind n next <<<"$case"
  scenario "killed-at-$kind-$n-then-$next"
  machine "$world/before"
  paused_setup "$kind" "$n" -s
  kill_setup
  check "the killed run left its journal" journal_left
  check "and files" test -n "$(find "$installed" -type f -name '*.exe')"
  if [ "$next" = install ]; then
    setup -s
    finish
    check "exit code 0" exit_is 0
    installed_checks "$installed" "$folder"
    check "one PATH entry of the product" equals "$(reg_value "$machine_env" PATH | grep -o 'trelliq\\bin' | wc -l)" 1
    check "no journal and nothing kept" test ! -e "$installed/setup.journal" -a ! -e "$installed/setup.kept"
  else
    uninstall_folder
    check "exit code 0" exit_is 0
    machine "$world/after"
    check "the machine as before" same_machine "$world/before" "$world/after"
  fi
done

done_group
