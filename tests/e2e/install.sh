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
check "the first destination, made for the first choice, went" test ! -e "$drive_c/Tools/First"
for wrapper in c++ ccppc g++ gcc powerpc-wrs-vxworks-gcc; do
  check "GNU wrapper $wrapper" test -f "$drive_c/Tools/Trelliq/bin/$wrapper.exe-"
done
check "TRQFILE from the page" equals "$(reg_value "$machine_env" TRQFILE)" 'C:\data\cov.trq'

# Cancel on each page after the destination's folders were made: they go again.
for page in 'Locate Coverage File' 'Choose Compilers'; do
  scenario "cancel-on-${page// /-}"
  setup
  robot wait 'Choose Destination Folder' set 1004 'C:\Tools\Cancelled' click 1 gone
  [ "$page" = 'Locate Coverage File' ] || robot wait 'Locate Coverage File' click 1 gone
  robot wait "$page" click 2 gone
  finish
  check "the folders made for the destination went" test ! -e "$drive_c/Tools"
  check "no uninstall entry" no_key "$uninstall_key"
done

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

# The destination page refuses what is no folder of its own to install into: nothing typed,
# a relative name, a ';' that would split the PATH entry, a drive root, the Windows folder
# and a folder holding files of someone else's. None of them is touched.
scenario destination-refusals
mkdir -p "$drive_c/Projects/cpp" "$drive_c/Projects/bin"
echo "mine" > "$drive_c/Projects/cpp/main.cpp"
echo "mine" > "$drive_c/Projects/bin/tool.exe"
echo "mine" > "$drive_c/Projects/bin/tool.dll"
before=$(cd "$drive_c/Projects" && find . -type f -printf '%p %s %T@\n' | sort)
setup
refused() { # TYPED MESSAGE-START
  robot wait 'Choose Destination Folder' set 1004 "$1" click 1
  robot seek "$2" click 1 gone
}
refused '' 'Please give the folder to install into.'
refused 'trelliq' 'Setup cannot install into "trelliq": it is not a full path'
refused 'C:\Tools;x' 'Setup cannot install into "C:\Tools;x": it holds the character ";"'
refused 'C:\' 'Setup cannot install into "C:\": it is the root of a drive.'
refused 'C:\windows' 'Setup cannot install into "C:\windows": it is the Windows folder.'
refused 'C:\Projects' 'Setup cannot install into "C:\Projects": it holds files of its own'
robot wait 'Choose Destination Folder' expect 1004 'C:\Projects' set 1004 'C:\Projects\Trelliq' click 1 gone \
      wait 'Locate Coverage File' click 1 gone wait 'Choose Compilers' click 1 gone \
      wait 'Setup complete' click 1 gone
finish
installed_checks "$drive_c/Projects/Trelliq" 'C:\Projects\Trelliq\'
check "the other folder's files are as they were" \
  equals "$(cd "$drive_c/Projects" && find . -path ./Trelliq -prune -o -type f -printf '%p %s %T@\n' | sort)" "$before"
check "no Tools;x" test ! -e "$drive_c/Tools;x"
check "nothing installed into the Windows folder" test ! -e "$drive_c/windows/uninstall.exe"

# Unattended, the same refusal ends the run: a Program Files setting that is empty makes the
# page's default a relative name, which would have put the product into the current folder.
scenario unattended-refused
reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProgramFilesDir /d '' /f >/dev/null
path_before=$(reg_value "$machine_env" PATH)
setup -a
robot seek 'Setup cannot install into "trelliq": it is not a full path' click 1 gone
finish
check "no uninstall entry" no_key "$uninstall_key"
check "PATH is as it was" equals "$(reg_value "$machine_env" PATH)" "$path_before"
check "no product folder anywhere" test -z "$(find "$drive_c" -name trqc.exe -not -path '*/setup/*' 2>/dev/null)"

done_group
