#!/usr/bin/env bash
# End-to-end: what software distribution needs: the silent run (-s) that shows no window,
# the exit codes through "start /wait" and through the uninstall entry's commands, the log
# (-l), the target folder (-t) and the relaunched uninstaller that is waited for.
. "$(dirname "$0")/lib.sh"

# robot_meanwhile ROBOT-ARGS...: a second robot works in the background while the first
# answers windows: `quiet NAME` watches that no process of that program shows a window,
# `exits CODE COMMANDLINE` runs the command line and waits for its exit code to be CODE.
# robot_verdict collects its verdict.
robot_meanwhile() {
  wine_in "$robot_exe" "$@" >"$world/meanwhile.log" 2>&1 &
  meanwhile_pid=$!
}
robot_verdict() {
  local status=0
  wait "$meanwhile_pid" || status=$?
  cat "$world/meanwhile.log"
  return $status
}

# Exit codes are read in the Windows world, by the robot: Wine hands a Unix parent only the
# low 8 bits of a program's exit code.
# start_wait CODE ARGS...: setup.exe through "start /wait", as a deployment script runs it;
# its exit code must be CODE.
start_wait() {
  local code=$1
  shift
  wine_in "$robot_exe" exits "$code" "start /wait C:\setup\setup.exe $*"
}

log_has() { # FILE TEXT
  grep -qF -- "$2" "$1" || { echo "   \"$2\" not in $1:"; tail -n 5 "$1"; return 1; }
}

scenario silent
mkdir -p "$drive_c/logs"
robot_meanwhile quiet setup.exe
check "exit code 0" start_wait 0 -s -l 'C:\logs\install.log'
check "no window during the silent install" robot_verdict
installed_checks "$installed" "$folder"
log=$drive_c/logs/install.log
check "the log names the run" log_has "$log" "Trelliq Setup 5.2.9, install: "
check "the log names the destination" log_has "$log" "destination: $folder"
check "the log lists the files with their sizes" \
  log_has "$log" "file: ${folder}bin/trqc.exe ($(stat -c %s "$product/bin/trqc.exe") bytes)"
check "the log lists the wrappers not installed" log_has "$log" "skipped: ${folder}bin/gcc.exe-"
check "the log lists registry values with what they replaced" \
  log_has "$log" "registry: set HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelliq\\DisplayName = \"Trelliq 5.2.9\" (was not set)"
check "the log lists PATH with its earlier value" log_has "$log" "\\Environment\\PATH = \"${folder}bin;%SystemRoot%"
check "the log names the shortcut" log_has "$log" "shortcut: "
check "the log ends with the exit code" bash -c '[[ "$(tail -n 1 "$0" | tr -d "\r")" == *"exit code 0" ]]' "$log"
quiet=$(reg_value "$uninstall_key" QuietUninstallString)
check "the quiet uninstall command" equals "$quiet" "\"${folder}uninstall.exe\" -s"
size=$(reg_value "$uninstall_key" EstimatedSize)
# The install's record of what it wrote (setup.files) comes after the entry: the estimate is
# of the installed files without it.
check "the estimated size in KB" equals "$((size))" \
  "$(( ($(find "$installed" -type f ! -name setup.files -printf '%s\n' | paste -sd+ | bc) + 1023) / 1024 ))"

# The quiet uninstall command, as software distribution runs it: no window, waited for.
robot_meanwhile quiet uninstall.exe
robot exits 0 "$quiet -l C:\\logs\\uninstall.log"
check "no window during the silent uninstall" robot_verdict
check "the product folder is gone when the command ends" test ! -e "$installed"
check "the uninstall entry is gone" no_key "$uninstall_key"
check "PATH no longer holds the product" bash -c '[[ "$0" != *trelliq* ]]' "$(reg_value "$machine_env" PATH)"
check "the shortcut is gone" test ! -e "$(menu_link)"
log=$drive_c/logs/uninstall.log
check "the uninstall log holds the relaunch" log_has "$log" "relaunch: "
check "the uninstall log holds the copy's removals" log_has "$log" "removed: $folder"
check "the uninstall log holds registry removals" log_has "$log" "registry: removed key HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelliq\\"
check "the uninstall log ends with exit code 0 twice" test "$(grep -c 'exit code 0' "$log")" -eq 2

# The uninstall entry's command with the user: No is 1602, Yes 0, and the first process
# ends only after its copy.
scenario exit-codes
check "-a: exit code 0" start_wait 0 -a
command=$(reg_value "$uninstall_key" UninstallString)
robot_meanwhile exits 1602 "$command"
robot wait 'Trelliq Setup' expect 1026 'Are you sure you want to remove Trelliq?' click 7 gone
check "No: exit code 1602" robot_verdict
check "the product stays" test -f "$installed/uninstall.exe"
robot_meanwhile exits 0 "$command"
robot wait 'Trelliq Setup' click 6 gone wait 'Uninstall' ready 1 click 1 gone
check "Yes: exit code 0" robot_verdict
check "the first process ended after its copy: the folder was gone" test ! -e "$installed"
# Cancel on the running-program check.
mkdir -p "$drive_c/demo"
cp "$product/bin/coverageBrowser.exe" "$drive_c/demo/"
wine_in start 'C:\demo\coverageBrowser.exe' </dev/null >/dev/null 2>&1
robot window 'Coverage Browser'
robot_meanwhile exits 1602 'C:\setup\setup.exe'
robot wait 'Trelliq Setup' begins 1026 'Please close the program' click 2 gone
check "Cancel on the running-program check: 1602" robot_verdict
check "nothing installed" test ! -e "$installed"

# Wrong command lines change nothing and show nothing under -s.
scenario bad-options
mkdir -p "$drive_c/logs"
for arguments in "-s -l" "-s -x" "-s -?" "-s -l C:\\no\\such\\folder\\setup.log"; do
  check "$arguments: exit code 87" start_wait 87 "$arguments"
done
check "nothing installed" test ! -e "$installed"
check "no uninstall entry" no_key "$uninstall_key"
robot_meanwhile exits 87 'C:\setup\setup.exe -l C:\no\such\folder\setup.log'
robot wait 'Trelliq Setup' begins 1026 'Unable to open the log C:\no\such\folder\setup.log: Error 3: ' click 1 gone
check "an unwritable log: 87 before any change" robot_verdict
check "still nothing installed" test ! -e "$installed"
robot_meanwhile exits 0 'C:\setup\setup.exe -?'
robot wait 'Trelliq Setup' begins 1026 'setup.exe [-a | -s] [-t FOLDER] [-l FILE]' click 1 gone
check "-? shows the options: exit code 0" robot_verdict

# -t: the folder installed into, silently.
scenario target
check "exit code 0" start_wait 0 -s -t 'C:\Tools\Trelliq'
installed_checks "$drive_c/Tools/Trelliq" 'C:\Tools\Trelliq\'

# A -t folder the installer refuses is a wrong command line: 87, nothing changed, the
# reason in the log; nothing shown under -s, the reason shown under -a.
scenario bad-target
mkdir -p "$drive_c/logs" "$drive_c/Projects/cpp"
echo mine >"$drive_c/Projects/notes.txt"
# The watch sees the first run.
robot_meanwhile quiet setup.exe
for target in 'C:\Projects' 'Tools\Trelliq' 'C:\' 'C:\windows' '"C:\Tools\a;b"'; do
  check "-s -t $target: exit code 87" start_wait 87 -s -t "$target" -l 'C:\logs\bad.log'
  check "-t $target: the log names the refusal" log_has "$drive_c/logs/bad.log" "message: -t ${target//\"/}: "
done
check "no window for a refused folder" robot_verdict
robot_meanwhile exits 87 'C:\setup\setup.exe -a -t C:\Projects'
robot wait 'Trelliq Setup' begins 1026 '-t C:\Projects: ' click 1 gone
check "-a -t C:\Projects: exit code 87 after the message" robot_verdict
check "the foreign folder keeps its files" test -f "$drive_c/Projects/notes.txt" -a -d "$drive_c/Projects/cpp"
check "nothing installed" test ! -e "$installed"
check "no uninstall entry" no_key "$uninstall_key"

# While one setup runs, a second install or uninstall ends with 1618 and changes nothing.
scenario already-running
setup
robot wait 'Choose Destination Folder'
first_pid=$setup_pid
cp "$setup_exe" "$drive_c/setup/uninstall.exe"
for second in 'C:\setup\setup.exe -s' 'C:\setup\setup.exe -s -t C:\Tools\Trelliq' \
              "C:\setup\uninstall.exe -s -d \"$folder\""; do
  check "$second: exit code 1618" wine_in "$robot_exe" exits 1618 "start /wait $second"
done
setup_pid=$first_pid
check "nothing installed" test ! -e "$installed" -a ! -e "$drive_c/Tools/Trelliq"
check "no uninstall entry" no_key "$uninstall_key"
robot wait 'Choose Destination Folder' click 2 gone
finish

# Damaged data and a full disk fail with 1603, nothing reported as success.
scenario silent-damaged
python3 - "$setup_exe" "$build/payload.bin" "$drive_c/setup/setup.exe" <<'PY'
import sys
exe, payload, out = sys.argv[1], open(sys.argv[2], 'rb').read(), sys.argv[3]
data = bytearray(open(exe, 'rb').read())
at = data.find(payload)
for i in range(len(payload) // 2, len(payload) // 2 + 16):
    data[at + i] ^= 0xA5
open(out, 'wb').write(data)
PY
mkdir -p "$drive_c/logs"
check "a damaged payload: 1603" start_wait 1603 -s -l 'C:\logs\damaged.log'
check "the log holds the failure" bash -c 'grep -qE "message: (BzipDecode error|The product data inside the setup program is damaged)" "$0"' \
  "$drive_c/logs/damaged.log"
check "no uninstall entry" no_key "$uninstall_key"

scenario silent-disk-full
if small_drive_t 96k; then
  check "a full disk: 1603" start_wait 1603 -s -t 'T:\Trelliq'
  check "no uninstall entry" no_key "$uninstall_key"
fi

# Windows 98 under -s: no restart, 3010 instead.
scenario silent-windows98
reg add 'HKCU\Software\Wine\AppDefaults\setup.exe' /v Version /d win98 /f >/dev/null
plant_restart_marker
check "Windows 98: exit code 3010" start_wait 3010 -s
sleep 2
check "no restart" test -f "$drive_c/marker.txt"

done_group
