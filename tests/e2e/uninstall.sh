#!/usr/bin/env bash
# End-to-end: removing the product the way Windows' program list does, and the folders the
# uninstaller refuses to remove.
. "$(dirname "$0")/lib.sh"

dir_of_install() { echo "$installed"; }

install_quietly() {
  setup -a
  finish
  check "installed" test -f "$(dir_of_install)/uninstall.exe"
}

# run_uninstall_string: what the program list does with the entry.
uninstall_string() { reg_value "$uninstall_key" UninstallString; }

scenario uninstall
install_quietly
robot run "$(uninstall_string)" \
      wait 'Trelliq Setup' expect 1026 'Are you sure you want to remove Trelliq?' click 6 gone \
      wait 'Uninstall' ready 1 shown 1007 1 shown 1008 1 shown 1006 1 shown 1009 1 shown 1005 0 \
      expect 1009 'Uninstall completed successfully.' click 1 gone
check "the product folder is gone" eventually 10 test ! -e "$(dir_of_install)"
check "the shortcut is gone" test ! -e "$(menu_link)"
check "the uninstall entry is gone" eventually 5 no_key "$uninstall_key"
check "the company key is gone" no_key 'HKCU\Software\Pembrox'
check ".trq is no file type any more" no_key 'HKCR\.trq'
check "PATH no longer holds bin" bash -c '[[ "$0" != *trelliq* ]]' "$(reg_value "$machine_env" PATH)"
check "TRQFILE is gone" equals "$(reg_value "$machine_env" TRQFILE)" ""
check "Wine's program list no longer shows it" bash -c '! grep -q "Trelliq 5.2.9" <("$0" "$1" uninstaller --list)' "$top/tools/wine-run" "$world"
# Wine keeps the delayed deletion in PendingFileRenameOperations, as Windows NT does.
check "the temporary copy is listed for deletion at restart" \
  grep -qiE 'Temp\\trq[0-9a-f]{16}\\uninstall.exe' <(reg query "$pending_key" /v PendingFileRenameOperations | tr -d '\r')

scenario uninstall-no-shortcut
install_quietly
rm -f "$(menu_link)"
robot run "$(uninstall_string)" \
      wait 'Trelliq Setup' click 6 gone \
      wait 'Trelliq Setup' begins 1026 'Unable to remove program menu entry: Error 2: ' click 1 gone \
      wait 'Uninstall' ready 1 shown 1007 0 shown 1008 1 shown 1006 1 shown 1005 1 shown 1009 0 click 1 gone
check "the product folder is gone all the same" eventually 10 test ! -e "$(dir_of_install)"
check "the uninstall entry is gone all the same" no_key "$uninstall_key"

scenario uninstall-declined
install_quietly
robot run "$(uninstall_string)" wait 'Trelliq Setup' click 7 gone absent 'Uninstall' 2000
check "the files stay" same_tree "$(dir_of_install)"
check "the shortcut stays" test -f "$(menu_link)"
check "the entry stays" equals "$(reg_value "$uninstall_key" DisplayName)" "Trelliq 5.2.9"

# The uninstaller run in place with -a: no relaunch, the question all the same, and its own
# running file cannot go, so the files step fails and the file waits for the restart.
scenario uninstall-in-place
install_quietly
start_program "${folder}uninstall.exe" -a
robot wait 'Trelliq Setup' expect 1026 'Are you sure you want to remove Trelliq?' click 6 gone \
      wait 'Trelliq Setup' begins 1026 "File system error: $folder" click 1 gone \
      wait 'Uninstall' ready 1 shown 1007 1 shown 1008 1 shown 1006 0 shown 1005 1 click 1 gone
finish
check "only the running uninstaller and the uninstall's mark are left" \
  equals "$(ls "$(dir_of_install)" | tr '\n' ' ')" "setup.journal uninstall.exe "
# Then its mark and the folder, so that the restart leaves nothing of the product.
check "the running file, the mark and the folder are listed for deletion at restart, in this order" \
  grep -qiF "${folder}uninstall.exe\\0\\0\\??\\${folder}setup.journal\\0\\0\\??\\${folder%\\}\\0" \
  <(reg query "$pending_key" /v PendingFileRenameOperations | tr -d '\r')
# The folder without the install's marks is still the uninstall's by its mark: the next
# uninstaller finishes it.
cp "$setup_exe" "$drive_c/setup/uninstall.exe"
start_program 'C:\setup\uninstall.exe' -s -d "$folder"
finish
echo "   exit code of the finishing uninstaller: $exit_code (low byte)"
check "the next uninstaller removed the rest" test ! -e "$(dir_of_install)"

# -d as a user types it: without the final separator, and relative to the folder the
# uninstaller starts in. Every setting of the product goes all the same.
scenario uninstall-folder-as-typed
for typed in "${folder%\\}" trelliq; do
  install_quietly
  cp "$setup_exe" "$drive_c/setup/uninstall.exe"
  # Wine starts a program in the Windows form of the shell's folder.
  pushd "$installed/.." >/dev/null
  start_program 'C:\setup\uninstall.exe' -d "$typed"
  popd >/dev/null
  robot wait 'Trelliq Setup' expect 1026 'Are you sure you want to remove Trelliq?' click 6 gone \
        wait 'Uninstall' ready 1 shown 1007 1 shown 1008 1 shown 1006 1 shown 1009 1 click 1 gone
  finish
  check "-d $typed: the product folder is gone" test ! -e "$(dir_of_install)"
  check "-d $typed: PATH no longer holds bin" bash -c '[[ "$0" != *trelliq* ]]' "$(reg_value "$machine_env" PATH)"
  check "-d $typed: LIB is gone with its only entry" equals "$(reg_value 'HKCU\Environment' LIB)" ""
  check "-d $typed: the uninstall entry is gone" no_key "$uninstall_key"
done

# Started as "uninstall -d FOLDER" from a console in its own folder: argument 0 is a bare
# name, and the file listed for deletion at restart is still the program's own.
scenario uninstall-from-a-console
install_quietly
cp "$setup_exe" "$drive_c/setup/uninstall.exe"
# The robot, started in C:\setup, starts the command line as a console would.
pushd "$drive_c/setup" >/dev/null
robot run "uninstall -d \"$folder\"" \
      wait 'Trelliq Setup' click 6 gone wait 'Uninstall' ready 1 shown 1009 1 click 1 gone await uninstall.exe
popd >/dev/null
pending=$(reg query "$pending_key" /v PendingFileRenameOperations 2>/dev/null | tr -d '\r')
check "the program's own file is listed for deletion at restart" grep -qi 'C:\\setup\\uninstall.exe' <<<"$pending"
check "no file at the root is" bash -c '! grep -qiE "C:\\\\uninstall(\\.exe)?([^a-z]|$)" <<<"$0"' "$pending"

# Folders that are no product install are refused before anything changes, whatever -d
# names: no question, no result dialog.
scenario uninstall-refusals
mkdir -p "$drive_c/Other/bin"
echo "keep" > "$drive_c/Other/notes.txt"
# Letters folded: this name uninstalls too.
cp "$setup_exe" "$drive_c/Other/Uninstall.EXE"
start_program 'C:\Other\Uninstall.EXE' -d 'C:\'
robot wait 'Trelliq Setup' \
      expect 1026 'Refusing to remove the folder C:\: it is the root of a drive. Nothing has been changed.' \
      click 1 gone absent 'Uninstall' 1000
finish
check "drive C: keeps its Windows folder" test -d "$drive_c/windows/system32"
start_program 'C:\Other\Uninstall.EXE' -d 'C:\windows'
robot wait 'Trelliq Setup' begins 1026 'Refusing to remove the folder C:\windows\: it is the Windows folder.' \
      click 1 gone absent 'Uninstall' 1000
finish
# A copy of the uninstaller dropped into another folder with a bin of its own and run there
# with -a: the uninstaller and a bin folder are no install of the product.
echo "mine" > "$drive_c/Other/bin/tool.exe"
start_program 'C:\Other\Uninstall.EXE' -a
robot wait 'Trelliq Setup' begins 1026 'Refusing to remove the folder C:\Other\: it does not hold' \
      click 1 gone absent 'Uninstall' 1000
finish
check "the other folder keeps its files" test -f "$drive_c/Other/notes.txt" -a -f "$drive_c/Other/bin/tool.exe"
# A folder that does not exist fails with the C library's text.
start_program 'C:\Other\Uninstall.EXE' -d 'C:\Missing\'
robot wait 'Trelliq Setup' click 6 gone \
      seek 'File system error: C:\Missing' click 1 gone \
      wait 'Uninstall' ready 1 shown 1006 0 shown 1005 1 click 1 gone
finish

# A refused folder changes nothing at all: the product stays registered, and neither the
# product's entries nor the user's own C:\Tools\bin leave PATH and LIB.
scenario uninstall-refused-changes-nothing
install_quietly
mkdir -p "$drive_c/Tools/bin" "$drive_c/Tools/lib"
echo "tool" > "$drive_c/Tools/bin/tool.exe"
reg add "$machine_env" /v PATH /t REG_EXPAND_SZ /d "C:\Tools\bin;$(reg_value "$machine_env" PATH)" /f >/dev/null
reg add 'HKCU\Environment' /v LIB /t REG_SZ /d "C:\Tools\lib;$(reg_value 'HKCU\Environment' LIB)" /f >/dev/null
path_before=$(reg_value "$machine_env" PATH)
lib_before=$(reg_value 'HKCU\Environment' LIB)
cp "$setup_exe" "$drive_c/setup/uninstall.exe"
start_program 'C:\setup\uninstall.exe' -d 'C:\Tools\'
if ! wine_in "$robot_exe" wait 'Trelliq Setup' begins 1026 'Refusing to remove the folder C:\Tools\: it does not hold' \
     click 1 gone absent 'Uninstall' 1000; then
  fail "the refusal is the first and only thing the uninstaller shows"
  # An uninstaller that asks first: answered as a user would, for the checks below.
  wine_in "$robot_exe" timeout 5000 wait 'Trelliq Setup' click 6 gone seek 'Refusing' click 1 gone \
    wait 'Uninstall' click 1 gone || true
fi
finish
check "PATH is as it was" equals "$(reg_value "$machine_env" PATH)" "$path_before"
check "LIB is as it was" equals "$(reg_value 'HKCU\Environment' LIB)" "$lib_before"
check "the uninstall entry stays" equals "$(reg_value "$uninstall_key" DisplayName)" "Trelliq 5.2.9"
check "the shortcut stays" test -f "$(menu_link)"
check "the product's files stay" same_tree "$(dir_of_install)"
check "the other folder keeps its files" test -f "$drive_c/Tools/bin/tool.exe"

# A damaged install (a program of the product deleted, as an antivirus quarantines one) is
# still the uninstaller's by the record its install wrote and the uninstall entry naming
# the folder: every entry of the product goes, and only the files the install wrote.
# Without that record the folder is refused as before, and nothing changes.
for record in kept deleted; do
  scenario "uninstall-damaged-record-$record"
  machine "$world/before"
  install_quietly
  rm -f "$installed/bin/trqc.exe"
  [ "$record" = kept ] || rm -f "$installed/setup.files"
  machine "$world/installed"
  cp "$setup_exe" "$drive_c/setup/uninstall.exe"
  start_program 'C:\setup\uninstall.exe' -s -d "$folder"
  finish
  machine "$world/after"
  if [ "$record" = kept ]; then
    check "exit code 0" exit_is 0
    check "the machine as before the install" same_machine "$world/before" "$world/after"
  else
    check "refused: exit code 1603" exit_is 1603
    check "nothing changed" same_machine "$world/installed" "$world/after"
  fi
done

# What the user added to a damaged install stays, and with it the folder; the rest goes.
scenario uninstall-damaged-with-users-files
install_quietly
rm -f "$installed/bin/trqc.exe"
echo "mine" > "$installed/bin/notes.txt"
echo "mine" > "$installed/mine.txt"
cp "$setup_exe" "$drive_c/setup/uninstall.exe"
start_program 'C:\setup\uninstall.exe' -s -d "$folder"
finish
check "exit code 0" exit_is 0
check "only the user's files are left" \
  equals "$(cd "$installed" && find . -type f | sort | tr '\n' ' ')" "./bin/notes.txt ./mine.txt "
check "the uninstall entry is gone" no_key "$uninstall_key"

done_group
