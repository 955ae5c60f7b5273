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
check "only the running uninstaller is left" equals "$(ls "$(dir_of_install)")" "uninstall.exe"
check "the running file is listed for deletion at restart" \
  grep -qi 'trelliq\\uninstall.exe' <(reg query "$pending_key" /v PendingFileRenameOperations | tr -d '\r')

# Folders that are no product install are never removed, whatever -d names.
scenario uninstall-refusals
mkdir -p "$drive_c/Other/bin"
echo "keep" > "$drive_c/Other/notes.txt"
# Letters folded: this name uninstalls too.
cp "$setup_exe" "$drive_c/Other/Uninstall.EXE"
start_program 'C:\Other\Uninstall.EXE' -d 'C:\'
robot wait 'Trelliq Setup' click 6 gone \
      seek 'Refusing' expect 1026 'Refusing to remove the folder C:\: it is the root of a drive.' click 1 gone \
      wait 'Uninstall' ready 1 shown 1006 0 shown 1005 1 click 1 gone
finish
check "drive C: keeps its Windows folder" test -d "$drive_c/windows/system32"
start_program 'C:\Other\Uninstall.EXE' -d 'C:\windows'
robot wait 'Trelliq Setup' click 6 gone \
      seek 'Refusing' expect 1026 'Refusing to remove the folder C:\windows: it is the Windows folder.' click 1 gone \
      wait 'Uninstall' ready 1 shown 1006 0 shown 1005 1 click 1 gone
finish
# A copy of the uninstaller dropped into another folder and run there with -a.
rm -rf "$drive_c/Other/bin"
start_program 'C:\Other\Uninstall.EXE' -a
robot wait 'Trelliq Setup' click 6 gone \
      seek 'Refusing' begins 1026 'Refusing to remove the folder C:\Other\: it does not hold' click 1 gone \
      wait 'Uninstall' ready 1 shown 1006 0 shown 1005 1 click 1 gone
finish
check "the other folder keeps its files" test -f "$drive_c/Other/notes.txt"
# A folder that does not exist fails with the C library's text.
start_program 'C:\Other\Uninstall.EXE' -d 'C:\Missing\'
robot wait 'Trelliq Setup' click 6 gone \
      seek 'File system error: C:\Missing' click 1 gone \
      wait 'Uninstall' ready 1 shown 1006 0 shown 1005 1 click 1 gone
finish

done_group
