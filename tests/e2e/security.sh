#!/usr/bin/env bash
# End-to-end: what setup.exe does against a hostile machine: DLLs planted beside it and
# beside its uninstaller, the uninstaller's temporary copy, the wrappers' source, the
# folders it creates, folder names outside the code page, and a user without administrator
# rights.
. "$(dirname "$0")/lib.sh"

planted_dll=$build/tests/planted.dll

# Libraries Windows loads by bare name after the program has started (the theme library
# with the first window, its drawing library, the message boxes' sounds). version.dll is not
# among them under Wine: Wine's own user32 imports it (Windows' does not, and takes a
# KnownDLL's imports from the system folder only), so Wine loads a planted copy into every
# program before its first instruction; that setup.exe does not import it is checked by
# tools/check-program instead.
planted_names="uxtheme msimg32 winmm dwmapi"

# wine_planted PROGRAM ARGS...: runs a program with Windows' own search order for those
# libraries: Wine prefers its builtin copies over any file found, so it is told to take a
# file found first, as Windows does.
wine_planted() {
  (
    . "$world/env"
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;${planted_names// /,}=n,b"
    exec "$WINELOADER" "$@"
  )
}

# plant FOLDER: a marker-writing copy of each of those libraries into the Unix folder.
plant() {
  local name
  mkdir -p "$1"
  for name in $planted_names; do cp "$planted_dll" "$1/$name.dll"; done
}

no_marker() {
  local planted=$drive_c/planted.txt
  [ ! -e "$planted" ] || { echo "   planted DLLs loaded:"; tr -d '\r' <"$planted" | sed 's/^/     /'; return 1; }
}

# temp_folder: the Windows name of the temporary folder; unix_path WINDOWS-PATH: its Unix name.
temp_folder() { wine_in cmd /c echo %TEMP% 2>/dev/null | tr -d '\r'; }
unix_path() { wine_in winepath -u "$1" 2>/dev/null | tr -d '\r'; }

scenario dll-planting
plant "$drive_c/setup"
# And a wrapper of somebody else's beside it, as a ZIP or a share can carry.
mkdir -p "$drive_c/setup/bin"
echo "planted wrapper" >"$drive_c/setup/bin/trqc.exe"
# Interactive, so that windows are made (the theme library loads with the first one).
wine_planted 'C:\setup\setup.exe' -a </dev/null >"$world/setup.log" 2>&1 &
setup_pid=$!
finish 120
check "installed" test -f "$installed/uninstall.exe"
check "no DLL planted beside setup.exe was loaded" no_marker
check "the compiler wrappers are the product's own" cmp -s "$product/bin/trqc.exe" "$installed/bin/cl.exe-"
rm -f "$drive_c/planted.txt"
plant "$installed"
plant "$(unix_path "$(temp_folder)")"
wine_planted "$robot_exe" run "$(reg_value "$uninstall_key" UninstallString)" \
  wait 'Trelliq Setup' click 6 gone wait 'Uninstall' ready 1 click 1 gone || fail "robot: the uninstall"
check "the product folder is gone" eventually 10 test ! -e "$installed"
check "no DLL planted beside the uninstaller or in the temporary folder was loaded" no_marker

# The uninstaller's copy goes into a new folder of its own, nobody else's, in the temporary
# folder; a temporary folder it cannot use ends the uninstall before anything changes.
scenario temp-copy
setup -s
finish
check "installed" test -f "$installed/uninstall.exe"
temp_win=$(temp_folder)
temp_unix=$(unix_path "$temp_win")
# 256 characters: GetTempPathA's answer then has 257 with its backslash.
long_unix=$drive_c/$(printf 't%.0s' {1..126})/$(printf 't%.0s' {1..126})
mkdir -p "$long_unix"
for tmp in 'C:\no\such\folder' "C:\\$(printf 't%.0s' {1..126})\\$(printf 't%.0s' {1..126})"; do
  robot exits 1603 "cmd /c set \"TMP=$tmp\"&& set \"TEMP=$tmp\"&& \"${folder}uninstall.exe\" -s"
  check "TMP ${tmp:0:24}...: the product stays" test -f "$installed/uninstall.exe"
  check "TMP ${tmp:0:24}...: the uninstall entry stays" reg_key_exists "$uninstall_key"
  check "TMP ${tmp:0:24}...: no copy anywhere" bash -c '[ -z "$(find "$0" "$1" -iname uninstall.exe)" ]' "$temp_unix" "$long_unix"
done
robot run "$(reg_value "$uninstall_key" UninstallString)" wait 'Trelliq Setup'
# The copy waits at its question: its folder is there to be looked at.
copies=$(cd "$temp_unix" && find . -iname uninstall.exe | sed 's|^\./||')
check "one copy, in a folder of its own" bash -c '[[ "$0" =~ ^trq[0-9a-f]{16}/uninstall\.exe$ ]] || { echo "   copies: $0"; false; }' "$copies"
own=$temp_unix/${copies%%/*}
# Wine keeps no ACL of its own: it turns the DACL into mode bits, and a DACL with entries for
# none but the owner, the administrators and SYSTEM leaves the others no bits at all.
check "the folder's rights give nobody else anything" bash -c '[[ "$(stat -c %a "$0")" == *0 ]] || { stat -c "   mode %a" "$0"; false; }' "$own"
robot wait 'Trelliq Setup' click 6 gone wait 'Uninstall' ready 1 click 1 gone
check "the product folder is gone" eventually 10 test ! -e "$installed"
# The copy was the first process's own file, moved there: it is in use until that process
# has ended, so the copy and then its folder wait for the next start of Windows.
pending() { reg query "$pending_key" /v PendingFileRenameOperations | tr -d '\r'; }
check "the copy waits for deletion at restart" grep -qiF "${copies%%/*}\\uninstall.exe" <(pending)
folder_pending() { pending | grep -qiE "$1"'(\\0|$)' || { pending | sed 's/^/   /'; false; }; }
check "its folder too, after it" eventually 10 folder_pending "${copies%%/*}"

# A product folder made outside Program Files gets Program Files' rights instead of its
# parent's: the drive root lets every authenticated user modify what is made in it (under
# Windows), and bin goes on every user's PATH.
scenario folder-rights
for target in 'C:\trelliq' 'C:\tools\deep\trelliq'; do
  setup -s -t "$target"
  finish
  unix=$drive_c/$(echo "${target#C:\\}" | tr '\\' /)
  check "$target: installed" test -f "$unix/uninstall.exe"
  # The outermost folder made; the ones below inherit its rights (Windows copies the
  # inheritable entries into them; Wine, which keeps rights only as mode bits, does not).
  made=$drive_c/$(echo "${target#C:\\}" | cut -d'\' -f1)
  # Wine turns the DACL into mode bits: administrators, SYSTEM and users, but no entry for
  # everyone, leave the others no bits; Windows stores the entries as given, marked protected.
  check "$target: the folder made gives no rights to others" \
    bash -c '[[ "$(stat -c %a "$0")" == *0 ]] || { stat -c "   mode %a" "$0"; false; }' "$made"
done

# Other programs' entries in the lists setup.exe edits keep every unit through an install and
# an uninstall, whatever their script: written through the ANSI code page, C:\Łódź would
# come back as C:\Lódz, a folder anybody may create, and C:\工具 as C:\??. The values are
# set and read through the wide API (reg.exe shows them through the console's code page).
wide_value=$build/tests/wide_value.exe
vc6='HKCU\Software\Microsoft\DevStudio\6.0'
dirs="$vc6\\Build System\\Components\\Platforms\\Win32 (x86)\\Directories"
dirs_hklm='HKLM\Software\Microsoft\DevStudio\6.0\Build System\Components\Platforms\Win32 (x86)\Directories'

# utf16 TEXT: TEXT's UTF-16 bytes in hex, and its terminator's; bare: without the terminator.
bare() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | xxd -p | tr -d '\n'; }
utf16() { echo "$(bare "$1")0000"; }
wide_get() { wine_in "$wide_value" get "$1" "$2" | tr -d '\r'; }

scenario shared-lists
reg add "$vc6\\General" /f >/dev/null
reg add 'HKLM\SOFTWARE\NuMega\BoundsChecker' /f >/dev/null
reg add "$vc6\\Tools" /v NumTools /t REG_DWORD /d 1 /f >/dev/null
foreign='C:\Łódź\bin;C:\工具;%SystemRoot%\Ελλάδα'
# KEY|NAME|TYPE|TEXT|BEFORE|AFTER: the value installed is BEFORE, TEXT and AFTER (AFTER
# only begun: it names the short form of the product folder), uninstalled TEXT again.
# Visual C++ reads its lists from the machine's key and writes them to the user's.
lists=(
  "$machine_env|PATH|2|$(reg_value "$machine_env" PATH);$foreign|${folder}bin;|"
  "HKCU\\Environment|LIB|2|$foreign|${folder}lib;|"
  "HKCU\\Environment|NMCL|1|/I C:\\工具 /D Ελλάδα=Łódź||/NMclpath:"
  "$dirs_hklm|Path Dirs|2|$foreign|${folder}bin;|"
  "$dirs_hklm|Library Dirs|1|C:\\VC\\lib;$foreign|${folder}lib;|"
  "$vc6\\Tools|MenuName#0|1|&X Łódź 工具 Ελλάδα||"
  "$vc6\\Tools|PathName#0|1|C:\\工具\\Ελλάδα\\Łódź.exe||"
)
for row in "${lists[@]}"; do
  IFS='|' read -r key name type text before after <<<"$row"
  wine_in "$wide_value" set "$key" "$name" "$type" "$(utf16 "$text")" || fail "setting $name"
done
setup -s
finish 120
check "installed" test -f "$installed/uninstall.exe"
for row in "${lists[@]}"; do
  IFS='|' read -r key name type text before after <<<"$row"
  [ "$key" != "$dirs_hklm" ] || key=$dirs
  if [ -z "$after" ]; then
    check "installed: $name" equals "$(wide_get "$key" "$name")" "$type $(bare "$before")$(utf16 "$text")"
  else
    check "installed: $name" starts_with "$(wide_get "$key" "$name")" "$type $(bare "$before$text $after")"
  fi
done
robot exits 0 "$(reg_value "$uninstall_key" QuietUninstallString)"
check "uninstalled" eventually 20 test ! -e "$installed"
for row in "${lists[@]}"; do
  IFS='|' read -r key name type text before after <<<"$row"
  [ "$key" != "$dirs_hklm" ] || key=$dirs
  check "uninstalled: $name" equals "$(wide_get "$key" "$name")" "$type $(utf16 "$text")"
done

# A folder whose name has characters outside the code page (Chinese, and Polish letters that
# the ANSI calls turn into Latin look-alikes, under this prefix's Western code page): setup
# runs from it by the 8.3 name that Wine makes for every long name, and the uninstaller copies
# itself into a temporary folder named so as well.
scenario folder-names
# Wine's code page follows the Unix locale: C.UTF-8 gives Windows-1252 and carries the names.
export LC_ALL=C.UTF-8
temp_before=$(reg_value 'HKCU\Environment' TEMP)
tmp_before=$(reg_value 'HKCU\Environment' TMP)
for name in 工具 Łódź; do
  mkdir -p "$drive_c/setup/$name/temp"
  cp "$setup_exe" "$drive_c/setup/$name/setup.exe"
  start_program "C:\\setup\\$name\\setup.exe" -s -l 'C:\setup\install.log'
  finish 120
  check "$name: exit code 0" equals "$exit_code" 0
  check "$name: the product's files" same_tree "$installed"
  check "$name: uninstall.exe is the setup program" cmp -s "$setup_exe" "$installed/uninstall.exe"
  check "$name: the uninstall entry" reg_key_exists "$uninstall_key"
  # The user's temporary folder (the registry gives every new process its environment).
  reg add 'HKCU\Environment' /v TEMP /d "C:\\setup\\$name\\temp" /f >/dev/null
  reg add 'HKCU\Environment' /v TMP /d "C:\\setup\\$name\\temp" /f >/dev/null
  robot exits 0 "\"${folder}uninstall.exe\" -s -l C:\\setup\\uninstall.log"
  check "$name: the product folder is gone" eventually 10 test ! -e "$installed"
  check "$name: the uninstall entry is gone" no_key "$uninstall_key"
  check "$name: the copy ran from the temporary folder" \
    grep -qE 'relaunch: "C:\\setup\\[^\\ ?]+\\temp\\trq[0-9a-f]{16}\\uninstall.exe"' "$drive_c/setup/uninstall.log"
  reg add 'HKCU\Environment' /v TEMP /t REG_EXPAND_SZ /d "$temp_before" /f >/dev/null
  reg add 'HKCU\Environment' /v TMP /t REG_EXPAND_SZ /d "$tmp_before" /f >/dev/null
  rm -f "$drive_c/setup/install.log" "$drive_c/setup/uninstall.log"
done
unset LC_ALL

done_group
