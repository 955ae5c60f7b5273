#!/usr/bin/env bash
# End-to-end: the install asks the user to close the product's running programs first.
. "$(dirname "$0")/lib.sh"

# open_browser: the demo Coverage Browser open on a coverage file, as a user left it.
open_browser() {
  mkdir -p "$drive_c/demo"
  cp "$product/bin/coverageBrowser.exe" "$drive_c/demo/"
  echo "coverage" > "$drive_c/x.trq"
  wine_in start 'C:\demo\coverageBrowser.exe' 'C:\x.trq' </dev/null >/dev/null 2>&1
  robot window 'Coverage Browser - C:\x.trq'
}

scenario running-cancel
open_browser
setup
robot wait 'Trelliq Setup' expect 1026 'Please close the program "Coverage Browser - C:\x.trq"' click 2 gone \
      absent 'Choose Destination Folder' 2000
finish
check "nothing installed" test ! -e "$installed"
check "no uninstall entry" no_key "$uninstall_key"

scenario running-ok
open_browser
setup
robot wait 'Trelliq Setup' expect 1026 'Please close the program "Coverage Browser - C:\x.trq"' click 1 gone \
      wait 'Choose Destination Folder' click 1 gone wait 'Locate Coverage File' click 1 gone \
      wait 'Choose Compilers' click 1 gone wait 'Setup complete' click 1 gone \
      window 'Coverage Browser - C:\x.trq' close
finish
check "installed after OK" test -f "$installed/uninstall.exe"

# With -a no window is looked at: the open browser does not stop the install. The user's
# own TRQFILE is the proposed coverage file.
scenario running-unattended
open_browser
reg add 'HKCU\Environment' /v TRQFILE /d 'C:\mine.trq' /f >/dev/null
setup -a
robot absent 'Trelliq Setup' 3000
finish
check "installed without a question" test -f "$installed/uninstall.exe"
check "the user's TRQFILE was proposed" equals "$(reg_value "$machine_env" TRQFILE)" 'C:\mine.trq'

# One setup at a time: while one waits on its wizard, a second install and an uninstaller
# say that setup is already running and end, changing nothing; once the first has ended, the
# next one runs.
scenario one-at-a-time
setup
robot wait 'Choose Destination Folder'
first_pid=$setup_pid
cp "$setup_exe" "$drive_c/setup/uninstall.exe"
for second in 'C:\setup\setup.exe -a' "C:\setup\uninstall.exe -d $folder"; do
  # shellcheck disable=SC2086 # the program and its arguments
  start_program $second
  robot wait 'Trelliq Setup' expect 1026 'Trelliq Setup is already running. Please let it finish first.' \
        click 1 gone
  finish 20
done
setup_pid=$first_pid
check "the first still waits" kill -0 "$first_pid"
check "nothing installed" test ! -e "$installed"
check "no uninstall entry" no_key "$uninstall_key"
robot wait 'Choose Destination Folder' click 2 gone
finish
setup -a
robot absent 'Trelliq Setup' 3000
finish
check "the next run installs" test -f "$installed/uninstall.exe"

done_group
