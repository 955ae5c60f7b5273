#!/usr/bin/env bash
# End-to-end rollback: an install that ends early (Escape in Copy Files, a damaged payload)
# leaves the machine as it was, and one that was killed is taken back by the next install or
# by the uninstaller. The machine is compared from outside: the files of drive C: outside
# Wine's own folders (the program menu included), and exports of HKLM\Software, HKCU and
# the environment key. setup-paused.exe is this setup.exe built to wait before a given
# change (TRELLIQ_PAUSE_AT), so that a test can press Escape or kill it there.
. "$(dirname "$0")/lib.sh"

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

# On Windows 98 the settings go to a batch file and to autoexec.bat, which holds its owner's
# lines. Killed before its last record, with everything changed, the run is taken back by
# the uninstaller on the same Windows: autoexec.bat byte for byte, the machine as before.
scenario killed-at-the-end-on-windows98-then-uninstall
for program in setup-paused.exe uninstall.exe; do
  reg add "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /d win98 /f >/dev/null
done
if [ "$WINEARCH" = win64 ]; then # as windows98.sh says: the 64-bit view's Program Files
  folder='C:\Program Files\trelliq\'
  installed="$drive_c/Program Files/trelliq"
fi
printf '@echo off\r\nset BLASTER=A220 I5 D1\r\n' > "$drive_c/autoexec.bat"
cp "$drive_c/autoexec.bat" "$world/autoexec.bat"
machine "$world/before"
paused_setup done 1 -s
kill_setup
check "the killed run had called its batch file" grep -qi 'trqset' "$drive_c/autoexec.bat"
uninstall_folder
check "exit code 3010: Windows 98 restarts to take autoexec.bat as it is" exit_is 3010
check "autoexec.bat byte for byte" cmp -s "$world/autoexec.bat" "$drive_c/autoexec.bat"
machine "$world/after"
check "the machine as before" same_machine "$world/before" "$world/after"

# The end of the session (a restart, a log-off). While files are copied setup asks Windows to
# wait: Wine's end-session request is refused and the install finishes whole. At a page,
# before any change, the request ends the program and the machine stays as it was. When the
# user shuts down anyway (WM_ENDSESSION after the refusal, which the robot sends as Windows
# does; Wine's own request stops at the refusal), the run stops and takes its changes back,
# without a message.
end_session() { # wineboot's status goes to $world/ended: 0 granted, 1 refused
  local status=0
  wine_in wineboot --end-session >/dev/null 2>&1 || status=$?
  echo "$status" > "$world/ended"
}
scenario end-session-refused-in-copy-files
paused_setup file 6 -a
end_session &
sleep 1
resume
wait $!
check "wineboot's request refused" equals "$(cat "$world/ended")" 1
finish
check "exit code 0" exit_is 0
# The paused build installed itself as the uninstaller.
setup_exe=$paused_exe installed_checks "$installed" "$folder"

scenario end-session-at-a-page
machine "$world/before"
setup
robot wait 'Choose Destination Folder'
end_session
check "wineboot's request granted" equals "$(cat "$world/ended")" 0
finish 20
check "the program ended" test -n "$exit_code"
machine "$world/after"
check "the machine as before" same_machine "$world/before" "$world/after"

scenario session-ended-anyway-in-copy-files
machine "$world/before"
paused_setup file 6 -a
wine_in "$robot_exe" endsession setup-paused.exe > "$world/robot.log" 2>&1 &
robot_pid=$!
# Both messages wait in the paused run's queue, to be taken together by its next look.
sleep 2
resume
wait "$robot_pid" || fail "robot: endsession"
check "the copy refused the end of the session" grep -q ' [1-9][0-9]* of [0-9]* windows of setup-paused.exe refused' "$world/robot.log"
check "no message" test -z "$(answered_messages)"
finish
check "exit code 1603" exit_is 1603
machine "$world/after"
check "the machine as before" same_machine "$world/before" "$world/after"

# An uninstall killed before its first registry setting, in the middle of them, and in the
# middle of its file removal; then the uninstaller again, as a user would start it: the
# uninstall entry's UninstallString while there is one, else the one in the folder. It
# finishes the removal: exit 0 and the machine as before the install.
for case in "setting 1 entry" "setting 6 folder" "removal 4 folder"; do
  read -r kind n from <<<"$case"
  scenario "uninstall-killed-at-$kind-$n-then-again"
  machine "$world/before"
  setup -s
  finish
  # setup-paused.exe in uninstall mode: under the uninstaller's name, in C:\setup (left out
  # of the comparison with the tests' other programs).
  mkdir -p "$drive_c/setup/paused"
  cp "$paused_exe" "$drive_c/setup/paused/uninstall.exe"
  touch "$drive_c/pause"
  TRELLIQ_PAUSE_AT="$kind $n C:\\pause" start_program 'C:\setup\paused\uninstall.exe' -s -d "$folder"
  eventually 60 test -e "$drive_c/pause.reached" || fail "the uninstall never got to $kind $n"
  rm -f "$drive_c/pause.reached"
  kill_tree "$setup_pid"
  wait "$setup_pid" 2>/dev/null || true
  robot await uninstall.exe
  resume
  check "the killed uninstall left its mark" journal_left
  if [ "$from" = entry ]; then
    check "and the uninstall entry" reg_key_exists "$uninstall_key"
    again=$(reg_value "$uninstall_key" UninstallString | tr -d '"')
  else
    check "but no uninstall entry" no_key "$uninstall_key"
    again="${folder}uninstall.exe"
  fi
  start_program "$again" -s
  finish
  check "exit code 0" exit_is 0
  machine "$world/after"
  check "the machine as before" same_machine "$world/before" "$world/after"
done

done_group
