#!/usr/bin/env bash
# End-to-end: setup.exe on a prefix that reports Windows 98 to it: the settings go to the
# batch file called from autoexec.bat, and a restart is offered.
. "$(dirname "$0")/lib.sh"

as_windows98() {
  reg add 'HKCU\Software\Wine\AppDefaults\setup.exe' /v Version /d win98 /f >/dev/null
  # Wine ignores the access mask of a program it tells it runs on Windows 95 or 98, as those
  # did, and with it the 32-bit view that the x64 program asks for: that program, which no
  # real Windows 98 runs, finds the 64-bit view's Program Files folder.
  if [ "$WINEARCH" = win64 ]; then
    folder='C:\Program Files\trelliq\'
    installed="$drive_c/Program Files/trelliq"
  fi
}

batch_checks() {
  local batch="$installed/bin/trqset.bat"
  check "the batch file sets TRQFILE" grep -q '^set TRQFILE=c:\\test.trq' "$batch"
  check "the batch file puts bin first in PATH" grep -qiF "set PATH=\"${folder}bin;%PATH%\"" "$batch"
  # Backslashes only: COMMAND.COM would read a '/' as the start of a switch.
  check "autoexec.bat calls the batch file" grep -qi '^call C:\\[^/]*\\bin\\trqset\.bat' "$drive_c/autoexec.bat"
  check "nothing in the machine environment" equals "$(reg_value "$machine_env" TRQFILE)" ""
}

scenario windows98-wizard
as_windows98
plant_restart_marker
setup
robot wait 'Choose Destination Folder' click 1 gone wait 'Locate Coverage File' click 1 gone \
      wait 'Choose Compilers' click 1 gone wait 'Setup complete' click 1 gone \
      wait 'Restart Windows' click 2 gone
finish
check "installed" test -f "$installed/uninstall.exe"
batch_checks
check "Cancel on the restart page: no restart" test -f "$drive_c/marker.txt"

# -a restarts without asking.
scenario windows98-unattended
as_windows98
plant_restart_marker
setup -a
robot absent 'Restart Windows' 2000
finish
check "installed" test -f "$installed/uninstall.exe"
batch_checks
check "the restart was requested" eventually 20 test ! -e "$drive_c/marker.txt"

done_group
