#!/usr/bin/env bash
# End-to-end: installing the demo product, unattended and through the wizard.
. "$(dirname "$0")/lib.sh"

scenario unattended
# An earlier release's program-menu folder of the same name goes.
mkdir -p "$(dirname "$(menu_link)")/Trelliq"
echo "old" > "$(dirname "$(menu_link)")/Trelliq/Coverage Viewer.lnk"
plant_restart_marker
setup -a
finish
check "the old program-menu folder is gone" test ! -e "$(dirname "$(menu_link)")/Trelliq"
check "no restart on Windows NT" test -f "$drive_c/marker.txt"
installed_checks "$installed" "$folder"
check "no other compiler's wrappers" test ! -e "$installed/bin/gcc.exe-"
check "TRQFILE" equals "$(reg_value "$machine_env" TRQFILE)" 'c:\test.trq'
echo "coverage" > "$drive_c/work.trq"
wine_in start 'C:\work.trq' </dev/null >/dev/null 2>&1
check "opening a .trq file starts the browser with it" robot window 'Coverage Browser - C:\work.trq' close

# Another destination whose parent does not exist yet, another coverage file, Back from the
# coverage page to a second destination, and GNU ticked.
scenario wizard
setup
robot wait 'Choose Destination Folder' set 1004 'C:\Tools\First' click 1 gone \
      wait 'Locate Coverage File' expect 1004 'c:\test.trq' click 1000 gone \
      wait 'Choose Destination Folder' expect 1004 'C:\Tools\First' set 1004 'C:\Tools\Trelliq' click 1 gone \
      wait 'Locate Coverage File' set 1004 'C:\data\cov.trq' click 1 gone \
      wait 'Choose Compilers' tick 1019 1 click 1 gone \
      wait 'Setup complete' click 1 gone
finish
installed_checks "$drive_c/Tools/Trelliq" 'C:\Tools\Trelliq\'
check "the first destination stays" test -d "$drive_c/Tools/First"
check "nothing was installed into the first" test -z "$(ls -A "$drive_c/Tools/First")"
for wrapper in c++ ccppc g++ gcc powerpc-wrs-vxworks-gcc; do
  check "GNU wrapper $wrapper" test -f "$drive_c/Tools/Trelliq/bin/$wrapper.exe-"
done
check "TRQFILE from the page" equals "$(reg_value "$machine_env" TRQFILE)" 'C:\data\cov.trq'

scenario cancel-compilers
setup
robot wait 'Choose Destination Folder' set 1004 'C:\Tools\Cancelled' click 1 gone \
      wait 'Locate Coverage File' click 1 gone wait 'Choose Compilers' click 2 gone
finish
check "the destination folder was made" test -d "$drive_c/Tools/Cancelled"
check "nothing extracted" test -z "$(ls -A "$drive_c/Tools/Cancelled")"
check "no uninstall entry" no_key "$uninstall_key"

# Without riched20.dll in the system folder: the version check says so, and after the
# install the notice page points to where it can be had; the install still succeeds.
scenario richedit
rm -f "$drive_c/windows/system32/riched20.dll"
setup
robot wait 'Trelliq Setup' begins 1026 'This application requires riched20.dll' click 1 gone \
      wait 'Choose Destination Folder' click 1 gone wait 'Locate Coverage File' click 1 gone \
      wait 'Choose Compilers' click 1 gone wait 'Install riched20.dll' click 2 gone \
      wait 'Setup complete' click 1 gone
finish
check "installed" equals "$(reg_value "$uninstall_key" DisplayName)" "Trelliq 5.2.9"

done_group
