#!/usr/bin/env bash
# End-to-end: installing for the current user only, alone and beside an install for all
# users, and the folders of the user that it refuses.
. "$(dirname "$0")/lib.sh"

# Wine runs every program as an administrator, so the user's scope is chosen here with -u.
user_entry='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelliq'
shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'

# unix_path WINDOWS-PATH: the path of a C: path in the world's drive_c.
unix_path() { local p=${1#[Cc]:\\}; echo "$drive_c/${p//\\//}"; }

# user_places: the user's Programs folder and program menu of the current world.
user_places() {
  # Windows gives every user this key; Wine's fresh prefix has none.
  reg add 'HKCU\Software\Classes' /f >/dev/null
  local_appdata=$(reg_value "$shell_folders" 'Local AppData')
  user_folder="$local_appdata\\Programs\\trelliq\\"
  user_installed=$(unix_path "${user_folder%\\}")
  user_menu=$(unix_path "$(reg_value "$shell_folders" Programs)")/Trelliq.lnk
}

# snapshot NAME: the machine's registry (HKLM\Software in every view, the machine
# environment), Program Files and the common program menu; and the user's environment,
# file types and uninstall list, each in $world/NAME.*.
snapshot() {
  local name=$1 key i=0
  for key in 'HKLM\Software' "$machine_env" 'HKCU\Environment' 'HKCU\Software\Classes' \
             'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'; do
    wine_in reg export "$key" "C:\\snapshot.reg" /y >/dev/null 2>&1 || true
    # Keys that are missing export nothing: an empty file stands for them.
    if [ -f "$drive_c/snapshot.reg" ]; then mv "$drive_c/snapshot.reg" "$world/$name.$i"; else : >"$world/$name.$i"; fi
    i=$((i + 1))
  done
  # A 32-bit prefix has no Program Files (x86).
  (cd "$drive_c" && { find 'Program Files' 'Program Files (x86)' 'ProgramData/Microsoft/Windows/Start Menu' \
     \( -type d -printf '%p/ %T@\n' \) -o -printf '%p %s %T@\n' 2>/dev/null || true; } | sort) >"$world/$name.files"
}
# same_machine BEFORE AFTER, same_user BEFORE AFTER: the snapshots' parts are equal, byte for byte.
same_machine() { cmp "$world/$1.0" "$world/$2.0" && cmp "$world/$1.1" "$world/$2.1" && cmp "$world/$1.files" "$world/$2.files"; }
# same_machine_content BEFORE AFTER: as same_machine, the times of the folders left out (an
# install for all users and its removal change them).
same_machine_content() {
  cmp "$world/$1.0" "$world/$2.0" && cmp "$world/$1.1" "$world/$2.1" \
    && cmp <(sed 's|/ [0-9.]*$|/|' "$world/$1.files") <(sed 's|/ [0-9.]*$|/|' "$world/$2.files")
}
same_user() { cmp "$world/$1.2" "$world/$2.2" && cmp "$world/$1.3" "$world/$2.3" && cmp "$world/$1.4" "$world/$2.4"; }

user_installed_checks() {
  check "the product's files in the user's Programs folder" same_tree "$user_installed"
  check "the shortcut in the user's program menu" equals "$(link_target "$user_menu")" "${user_folder}bin\\coverageBrowser.exe"
  check "the user's uninstall entry starts the uninstaller for the user" \
    equals "$(reg_value "$user_entry" UninstallString)" "\"${user_folder}uninstall.exe\" -u"
  check "its quiet uninstall too" equals "$(reg_value "$user_entry" QuietUninstallString)" "\"${user_folder}uninstall.exe\" -u -s"
  check "the user's .trq" equals "$(reg_value 'HKCU\Software\Classes\.trq' '')" "Coverage.File"
  check "the user's PATH starts with bin" starts_with "$(reg_value 'HKCU\Environment' PATH)" "${user_folder}bin;"
  check "the user's TRQFILE" equals "$(reg_value 'HKCU\Environment' TRQFILE)" 'c:\test.trq'
}

scenario user-scope
user_places
snapshot before
setup -u -s -l 'C:\setup.log'
finish 120
check "installed for the user (exit code)" equals "$exit_code" 0
check "the log names the scope" grep -q 'scope: the current user (-u)' "$drive_c/setup.log"
user_installed_checks
snapshot installed
check "the machine's registry, environment and folders are as they were" same_machine before installed
robot run "$(reg_value "$user_entry" UninstallString)" \
      wait 'Trelliq Setup' expect 1026 'Are you sure you want to remove Trelliq?' click 6 gone \
      wait 'Uninstall' ready 1 shown 1007 1 shown 1008 1 shown 1006 1 shown 1009 1 click 1 gone
check "the user's product folder is gone" eventually 10 test ! -e "$user_installed"
check "the user's shortcut is gone" test ! -e "$user_menu"
snapshot removed
check "the machine's registry, environment and folders are still as they were" same_machine before removed
check "the user's environment, file types and uninstall list are as before" same_user before removed

# Both scopes side by side, removed in either order: each uninstall leaves the other whole.
scenario side-by-side
user_places
snapshot before
for first in user machine; do
  setup -s
  finish 120
  installed_checks "$installed" "$folder"
  setup -u -s
  finish 120
  user_installed_checks
  if [ $first = user ]; then
    robot timeout 120000 exits 0 "$(reg_value "$user_entry" QuietUninstallString)"
    check "user first: the user's folder is gone" eventually 10 test ! -e "$user_installed"
    installed_checks "$installed" "$folder"
    check "user first: TRQFILE stays the machine's" equals "$(reg_value "$machine_env" TRQFILE)" 'c:\test.trq'
    robot timeout 120000 exits 0 "$(reg_value "$uninstall_key" QuietUninstallString)"
  else
    robot timeout 120000 exits 0 "$(reg_value "$uninstall_key" QuietUninstallString)"
    check "machine first: the machine's folder is gone" eventually 10 test ! -e "$installed"
    user_installed_checks
    check "machine first: the product key stays for the user's install" \
      equals "$(reg_value 'HKCU\Software\Pembrox\Trelliq' version)" "5.2.9"
    robot timeout 120000 exits 0 "$(reg_value "$user_entry" QuietUninstallString)"
  fi
  check "$first first: both folders are gone" eventually 10 test ! -e "$installed" -a ! -e "$user_installed"
  snapshot "after-$first"
  check "$first first: the machine is as it was" same_machine_content before "after-$first"
  check "$first first: the user's settings are as they were" same_user before "after-$first"
done

# Escape while the user's settings are written: the journal takes every one of them back.
scenario user-scope-escape
user_places
snapshot before
cp "$paused_exe" "$drive_c/setup/setup-paused.exe"
touch "$drive_c/pause"
TRELLIQ_PAUSE_AT='value 12 C:\pause' start_program 'C:\setup\setup-paused.exe' -u
robot wait 'Choose Destination Folder' expect 1004 "${user_folder%\\}" click 1 gone \
      wait 'Locate Coverage File' click 1 gone wait 'Choose Compilers' click 1 gone
eventually 60 test -e "$drive_c/pause.reached" || fail "the run never got to the 12th registry value"
check "the user's uninstall entry was written" reg_key_exists "$user_entry"
check "the user's PATH holds bin" starts_with "$(reg_value 'HKCU\Environment' PATH)" "${user_folder}bin;"
robot wait 'Update Registry' escape
resume
shown=$(answered_messages)
echo "$shown" | sed 's/^/   /'
check "one message, the cancel's" test "$(grep -c 'answered OK' <<<"$shown")" = 1 -a -n "$(grep 'Error 1223' <<<"$shown")"
finish 120
check "exit code 1602 (low byte)" equals "$exit_code" $((1602 % 256))
snapshot after
check "the user's folder is gone" test ! -e "$user_installed"
check "the user's shortcut is gone" test ! -e "$user_menu"
check "the user's settings are as they were" same_user before after
check "the machine is as it was" same_machine before after

# Killed after the user's uninstall list was made: the next install for the user takes the
# run back first (the list it made included) and installs whole; its removal leaves the
# user's settings as they were.
scenario user-scope-killed
user_places
snapshot before
paused_setup value 4 -u -s
kill_setup
check "the user's uninstall entry was being written" reg_key_exists "$user_entry"
setup -u -s
finish 120
check "the next install succeeds (exit code)" equals "$exit_code" 0
user_installed_checks
robot timeout 120000 exits 0 "$(reg_value "$user_entry" QuietUninstallString)"
snapshot after
check "the user's settings are as they were" same_user before after
check "the machine is as it was" same_machine before after

# The user's own folders are no install folder for the user either, and nothing changes.
scenario user-scope-refusals
user_places
profile=$(reg query 'HKCU\Volatile Environment' /v USERPROFILE 2>/dev/null | tr -d '\r' | awk '/REG_/ {print $NF}')
[ -n "$profile" ] || profile=${local_appdata%\\AppData\\Local}
desktop=$(reg_value "$shell_folders" Desktop)
mkdir -p "$(unix_path "$profile")/Project"
echo "mine" >"$(unix_path "$profile")/Project/main.c"
snapshot before
for target in "$profile" "$desktop" "$local_appdata\\Programs" "$profile\\Project"; do
  robot exits 87 "\"C:\\setup\\setup.exe\" -u -s -t \"$target\""
done
snapshot after
check "nothing of the user's changed" same_user before after
check "nothing of the machine's changed" same_machine before after
check "the user's own file stays" test -f "$(unix_path "$profile")/Project/main.c"
check "no product folder anywhere" test -z "$(find "$drive_c" -name trqc.exe -not -path '*/setup/*' 2>/dev/null)"

done_group
