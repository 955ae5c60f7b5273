#!/usr/bin/env bash
# End-to-end faults: a disk that fills up during the extraction, a damaged payload, the
# uninstall run twice or after the product folder went, long or unusual environment lists
# that must come through an install and an uninstall unchanged, and a cancel at each poll
# of the registry update.
. "$(dirname "$0")/lib.sh"

no_uninstall_entry() { ! reg query "$uninstall_key" >/dev/null 2>&1; }

# snapshot FILE: every path of drive C: outside Wine's own folders (windows, users), files
# with size and time, so that a later snapshot shows anything added, changed or removed.
snapshot() {
  (cd "$drive_c" && find . \( -path ./windows -o -path ./users \) -prune -o -type d -printf '%p/\n' \
     -o -printf '%p %s %T@\n' | sort) > "$1"
}

# only_below FOLDER BEFORE AFTER: what changed between the snapshots lies in FOLDER.
only_below() {
  local changes
  changes=$(diff "$2" "$3" | sed -n 's/^[<>] //p' | grep -v "^\./$1/" || true)
  [ -z "$changes" ] || { echo "   changed outside $1:"; echo "$changes" | head -5; return 1; }
}

no_crash() { ! grep -qiE 'unhandled exception|page fault|wine: Unhandled' "$world/setup.log"; }

# A payload resource whose middle bytes are flipped, and one whose size says half.
damaged_setup() { # MODE (flip|cut) OUTPUT
  python3 - "$setup_exe" "$build/payload.bin" "$1" "$2" <<'PY'
import struct, sys
exe, payload, mode, out = sys.argv[1], open(sys.argv[2], 'rb').read(), sys.argv[3], sys.argv[4]
data = bytearray(open(exe, 'rb').read())
at = data.find(payload)
assert at > 0, 'payload not found in setup.exe'
if mode == 'flip':
    for i in range(len(payload) // 2, len(payload) // 2 + 16):
        data[at + i] ^= 0xA5
else:
    # The resource's data entry (RVA, size) gets half the size, a whole number of blocks.
    pe = struct.unpack_from('<I', data, 0x3C)[0]
    sections = struct.unpack_from('<H', data, pe + 6)[0]
    table = pe + 24 + struct.unpack_from('<H', data, pe + 20)[0]
    rva = None
    for s in range(sections):
        header = table + 40 * s
        vaddr = struct.unpack_from('<I', data, header + 12)[0]
        rsize, rptr = struct.unpack_from('<II', data, header + 16)
        if rptr <= at < rptr + rsize:
            rva = vaddr + at - rptr
    entry = data.find(struct.pack('<II', rva, len(payload)))
    assert rva is not None and entry > 0, 'resource entry not found'
    struct.pack_into('<I', data, entry + 4, len(payload) // 2 // 8 * 8)
open(out, 'wb').write(data)
PY
}

scenario damaged-payload
damaged_setup flip "$drive_c/setup/setup.exe"
snapshot "$world/before"
setup -a
# Bad bzip2 data is shown as the decoder's error, data that decodes into a broken archive as
# the damaged product data; which one depends on where the flipped bytes land in this
# build's payload. Either way exactly one message is shown and the program ends. The robot
# answers every message for 8 s, waiting for one that never comes, and lists them.
shown=$(answered_messages)
echo "   shown: $shown"
check "one message: the decoder's error or the damaged product data" one_damaged_payload_message "$shown"
finish 60
snapshot "$world/after"
check "no crash" no_crash
check "no uninstall entry" no_uninstall_entry
check "nothing written outside the destination" only_below "${installed#$drive_c/}" "$world/before" "$world/after"
check "no program-menu entry" test ! -e "$(menu_link)"

scenario cut-payload
damaged_setup cut "$drive_c/setup/setup.exe"
snapshot "$world/before"
setup -a
robot seek 'The product data inside the setup program is damaged: Error 1392' click 1 gone
finish 60
snapshot "$world/after"
check "no crash" no_crash
check "no uninstall entry" no_uninstall_entry
check "nothing written outside the destination" only_below "${installed#$drive_c/}" "$world/before" "$world/after"
check "no file extracted" test -z "$(find "$installed" -type f 2>/dev/null)"

# Drive T: is a 96 KB tmpfs (about half of the product) holding a file of its owner. The
# failed install takes back what it wrote: drive T: and the machine are as they were.
drive_t() { (cd "$small_drive" && find . -mindepth 1 -printf '%p %s %T@\n' | sort); }
scenario disk-full
if small_drive_t 96k; then
  head -c 20000 /dev/urandom > "$small_drive/owner.bin"
  cp "$small_drive/owner.bin" "$world/owner.bin"
  machine "$world/before"
  drive_t > "$world/drive-before"
  setup
  robot wait 'Choose Destination Folder' set 1004 'T:\Trelliq' click 1 gone \
        wait 'Locate Coverage File' click 1 gone wait 'Choose Compilers'
  threads_before=$(thread_count)
  robot wait 'Choose Compilers' click 1 gone seek 'File write error: T:\Trelliq\'
  threads_at_message=$(thread_count)
  robot seek 'File write error: T:\Trelliq\' click 1 gone absent 'Trelliq Setup' 3000 \
        absent 'Setup complete' 1000
  finish
  check "no thread of the extraction left when the failure is shown" equals "$threads_at_message" "$threads_before"
  check "no crash" no_crash
  check "no uninstall entry" no_uninstall_entry
  check "no program-menu entry" test ! -e "$(menu_link)"
  check "the owner's file is untouched" cmp -s "$small_drive/owner.bin" "$world/owner.bin"
  check "the file that did not fit is not left cut short" test ! -e "$small_drive/Trelliq/numega/cl.exe"
  machine "$world/after"
  check "the machine as before" same_machine "$world/before" "$world/after"
  check "drive T: as before" cmp -s "$world/drive-before" <(drive_t)
fi

# A registry step that fails: a key the run may not write (the user's environment, the .trq
# association, each made read-only for everybody). 1603, and the machine as before.
for key in 'HKCU\Environment' 'HKLM\Software\Classes\.trq'; do
  scenario "registry-step-fails-at-${key##*\\}"
  wine_in "$build/tests/wide_value.exe" lock "$key" || fail "locking $key"
  machine "$world/before"
  setup -s
  finish
  check "exit code 1603" exit_is 1603
  machine "$world/after"
  check "the machine as before" same_machine "$world/before" "$world/after"
done

# The uninstaller copy that the program list's entry starts from the temporary folder.
second_copy() { cp "$setup_exe" "$drive_c/setup/uninstall.exe"; }

scenario uninstall-twice
setup -a
finish
uninstall_string=$(reg_value "$uninstall_key" UninstallString)
robot run "$uninstall_string" wait 'Trelliq Setup' click 6 gone wait 'Uninstall' ready 1 click 1 gone
check "the first uninstall removed the folder" eventually 10 test ! -e "$installed"
second_copy
snapshot "$world/before"
start_program 'C:\setup\uninstall.exe' -d "$folder"
robot wait 'Trelliq Setup' click 6 gone \
      seek "File system error: ${folder%\\}" click 1 gone \
      wait 'Uninstall' ready 1 shown 1006 0 shown 1005 1 click 1 gone
finish
snapshot "$world/after"
check "no crash" no_crash
check "nothing else removed" only_below 'setup' "$world/before" "$world/after"

scenario uninstall-after-folder-deleted
setup -a
finish
rm -rf "$installed"
second_copy
snapshot "$world/before"
start_program 'C:\setup\uninstall.exe' -d "$folder"
robot wait 'Trelliq Setup' click 6 gone \
      seek "File system error: ${folder%\\}" click 1 gone \
      wait 'Uninstall' ready 1 shown 1007 1 shown 1008 1 shown 1006 0 shown 1005 1 click 1 gone
finish
snapshot "$world/after"
check "no crash" no_crash
check "the program-menu entry went" test ! -e "$(menu_link)"
check "the uninstall entry went" no_uninstall_entry
check "nothing else removed" only_below 'ProgramData' "$world/before" "$world/after"

# A machine PATH of 8000 characters and a user LIB of odd entries: empty ones, blanks, a
# variable, quotes, the product's folder in other letters and a longer name beginning like it.
scenario long-and-odd-lists
original_path=$(reg_value "$machine_env" PATH)
long_path=$original_path
for ((i = 0; ${#long_path} < 8000 - 20; i++)); do long_path+=";C:\\Tools\\pad$i"; done
while [ ${#long_path} -lt 8000 ]; do long_path+="x"; done
odd_lib='C:\lib;;  C:\spaced lib  ;%SystemRoot%\lib;"C:\quoted;lib";'"${folder}library;;"
reg add "$machine_env" /v PATH /t REG_EXPAND_SZ /d "$long_path" /f >/dev/null
reg add 'HKCU\Environment' /v LIB /t REG_SZ /d "$odd_lib" /f >/dev/null
check "the PATH set has 8000 characters" equals "$(reg_value "$machine_env" PATH | wc -c)" 8001
setup -a
finish
check "PATH after install" equals "$(reg_value "$machine_env" PATH)" "${folder}bin;$long_path"
check "LIB after install" equals "$(reg_value 'HKCU\Environment' LIB)" "${folder}lib;$odd_lib"
robot run "$(reg_value "$uninstall_key" UninstallString)" wait 'Trelliq Setup' click 6 gone \
      wait 'Uninstall' ready 1 click 1 gone
check "the uninstall entry went" eventually 10 no_uninstall_entry
check "PATH after uninstall" equals "$(reg_value "$machine_env" PATH)" "$long_path"
check "LIB after uninstall" equals "$(reg_value 'HKCU\Environment' LIB)" "$odd_lib"

# The product's entries moved by the user to the end of the lists, without a final ';': a
# reinstall keeps one of each, first, and the uninstall takes them out with the ';' before.
scenario entries-at-the-end
setup -a
finish
rest=$(reg_value "$machine_env" PATH)
rest=${rest#"${folder}bin;"}
reg add "$machine_env" /v PATH /t REG_EXPAND_SZ /d "$rest;${folder}BIN" /f >/dev/null
reg add 'HKCU\Environment' /v LIB /t REG_SZ /d "C:\VC\lib;${folder}lib" /f >/dev/null
setup -a
finish
check "PATH after a reinstall" equals "$(reg_value "$machine_env" PATH)" "${folder}bin;$rest"
check "LIB after a reinstall" equals "$(reg_value 'HKCU\Environment' LIB)" "${folder}lib;C:\VC\lib"
reg add "$machine_env" /v PATH /t REG_EXPAND_SZ /d "$rest;${folder}bin" /f >/dev/null
reg add 'HKCU\Environment' /v LIB /t REG_SZ /d "C:\VC\lib;${folder}lib" /f >/dev/null
robot run "$(reg_value "$uninstall_key" UninstallString)" wait 'Trelliq Setup' click 6 gone \
      wait 'Uninstall' ready 1 shown 1009 1 click 1 gone
check "the uninstall entry went" eventually 10 no_uninstall_entry
check "PATH after uninstall" equals "$(reg_value "$machine_env" PATH)" "$rest"
check "LIB after uninstall" equals "$(reg_value 'HKCU\Environment' LIB)" 'C:\VC\lib'

# A cancel at each poll of the registry update, in-process: no click from outside could
# land between two given steps.
scenario cancel-every-poll
cp "$(dirname "$robot_exe")/registry_cancel.exe" "$drive_c/setup/"
check "cancel at each poll" wine_in 'C:\setup\registry_cancel.exe'

done_group
