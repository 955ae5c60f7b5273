#!/usr/bin/env bash
# End-to-end: install and uninstall on a 64-bit prefix, as on today's 64-bit Windows. The
# 32-bit setup.exe runs under WoW64: its Program Files folder is "C:\Program Files (x86)"
# and its machine keys live in the registry's 32-bit view (Wow6432Node).
. "$(dirname "$0")/lib.sh"
export E2E_ARCH=win64 WINE_ENV_ARCH=win64

dir="C:/Program Files (x86)/trelliq"
view32='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Trelliq'

scenario win64
setup -a
finish 120
installed="$drive_c/Program Files (x86)/trelliq"
check "the product's files in Program Files (x86)" same_tree "$installed"
check "uninstall.exe is the setup program" cmp -s "$setup_exe" "$installed/uninstall.exe"
check "nothing in the 64-bit Program Files" test ! -e "$drive_c/Program Files/trelliq"
check "the uninstall entry in the 32-bit view" equals "$(reg_value "$view32" DisplayName)" "Trelliq 5.2.9"
# Wine's reg.exe, although a 64-bit program, reads the 32-bit view unless told /reg:64.
check "no uninstall entry in the 64-bit view" bash -c '! "$0" "$1" reg query "$2" /reg:64 >/dev/null 2>&1' \
  "$top/tools/wine-run" "$world" "$uninstall_key"
check "the uninstall string is quoted" \
  equals "$(reg_value "$view32" UninstallString)" '"C:\Program Files (x86)\trelliq\uninstall.exe"'
check "Wine's program list shows it" grep -q '|||Trelliq 5.2.9' <(wine_in uninstaller --list | tr -d '\r')
check "machine PATH starts with bin" \
  starts_with "$(reg_value "$machine_env" PATH)" 'C:\Program Files (x86)\trelliq\bin;'

robot run "$(reg_value "$view32" UninstallString)" \
      wait 'Trelliq Setup' expect 1026 'Are you sure you want to remove Trelliq?' click 6 gone \
      wait 'Uninstall' ready 1 shown 1007 1 shown 1008 1 shown 1006 1 shown 1009 1 \
      expect 1009 'Uninstall completed successfully.' click 1 gone
check "the product folder is gone" eventually 10 test ! -e "$installed"
check "the uninstall entry is gone" eventually 5 bash -c '! "$0" "$1" reg query "$2" >/dev/null 2>&1' \
  "$top/tools/wine-run" "$world" "$view32"
check "PATH no longer holds the product" bash -c '[[ "$0" != *trelliq* ]]' "$(reg_value "$machine_env" PATH)"
check "Wine's program list no longer shows it" \
  bash -c '! grep -q "Trelliq 5.2.9" <("$0" "$1" uninstaller --list)' "$top/tools/wine-run" "$world"

done_group
