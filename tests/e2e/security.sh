#!/usr/bin/env bash
# End-to-end: what setup.exe does against a hostile machine: DLLs planted beside it and
# beside its uninstaller, the uninstaller's temporary copy, the wrappers' source, the
# folders it creates, and a user without administrator rights.
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
# Interactive, so that windows are made (the theme library loads with the first one).
wine_planted 'C:\setup\setup.exe' -a </dev/null >"$world/setup.log" 2>&1 &
setup_pid=$!
finish 120
check "installed" test -f "$installed/uninstall.exe"
check "no DLL planted beside setup.exe was loaded" no_marker
rm -f "$drive_c/planted.txt"
plant "$installed"
plant "$(unix_path "$(temp_folder)")"
wine_planted "$robot_exe" run "$(reg_value "$uninstall_key" UninstallString)" \
  wait 'Trelliq Setup' click 6 gone wait 'Uninstall' ready 1 click 1 gone || fail "robot: the uninstall"
check "the product folder is gone" eventually 10 test ! -e "$installed"
check "no DLL planted beside the uninstaller or in the temporary folder was loaded" no_marker

done_group
