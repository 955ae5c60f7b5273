#!/usr/bin/env bash
# End-to-end: setup.exe on the older Windows. On a prefix that reports Windows 98 to it: the
# settings go to the batch file called from autoexec.bat, and a restart is offered. And the
# test build that finds none of the functions newer than Windows 95 and NT 4.0 installs and
# removes the product all the same.
. "$(dirname "$0")/lib.sh"

old_library=$build/tests/old-library.dll
older_setup=$build/tests/setup-older.exe

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
  # No quotes, which COMMAND.COM would keep in the value: the folder's 8.3 form, no blanks.
  check "the batch file puts bin first in PATH" grep -qiE '^set PATH=C:\\[^\\ "]*~[^\\ "]*\\trelliq\\bin;%PATH%.?$' "$batch"
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

# An old system library (hhctrl.ocx 4.70): the check warns with the error icon, and the
# install goes on, finishes and ends as a finished one: the restart page and 3010.
scenario windows98-old-library
as_windows98
plant_restart_marker
cp "$old_library" "$drive_c/windows/system32/hhctrl.ocx"
# Wine reads the version of its own built-in library, not of the file, unless told to use it.
reg add 'HKCU\Software\Wine\DllOverrides' /v hhctrl.ocx /d native /f >/dev/null
setup
robot wait 'Trelliq Setup' begins 1026 'This application requires hhctrl.ocx version 4.72.7290.0 or later.' \
      click 1 gone \
      wait 'Choose Destination Folder' click 1 gone wait 'Locate Coverage File' click 1 gone \
      wait 'Choose Compilers' click 1 gone wait 'Setup complete' click 1 gone \
      wait 'Restart Windows' click 2 gone
finish
# The shell sees the low byte of the exit code: 3010 is 194 there, 1603 would be 67.
check "a finished install that asked for the restart" equals "$exit_code" $((3010 % 256))
check "installed" test -f "$installed/uninstall.exe"
batch_checks

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

# Without any function newer than Windows 95 and NT 4.0 (the test build's lookup finds
# none): the folder's rights by the NT 4.0 calls, the registry's wide values by the ANSI
# calls, the program's path by GetModuleFileNameA, Program Files from the registry. The
# install and the removal from the program list both finish.
scenario older-functions
cp "$older_setup" "$drive_c/setup/setup.exe"
setup_exe=$older_setup
setup
robot wait 'Choose Destination Folder' click 1 gone wait 'Locate Coverage File' click 1 gone \
      wait 'Choose Compilers' click 1 gone wait 'Setup complete' click 1 gone
finish
check "a finished install" equals "$exit_code" 0
installed_checks "$installed" "$folder"
robot run "$(reg_value "$uninstall_key" UninstallString)" \
      wait 'Trelliq Setup' expect 1026 'Are you sure you want to remove Trelliq?' click 6 gone \
      wait 'Uninstall' ready 1 expect 1009 'Uninstall completed successfully.' click 1 gone
check "the product folder is gone" eventually 10 test ! -e "$installed"
check "the uninstall entry is gone" eventually 5 no_key "$uninstall_key"
check "PATH no longer holds bin" bash -c '[[ "$0" != *trelliq* ]]' "$(reg_value "$machine_env" PATH)"

done_group
