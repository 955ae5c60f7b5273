#!/usr/bin/env bash
# End-to-end: install and uninstall on a 64-bit prefix, as on today's 64-bit Windows, by the
# program of the build's architecture. Both programs install into the Program Files folder
# of 32-bit programs, "C:\Program Files (x86)", and keep the product's machine keys in the
# registry's 32-bit view (Wow6432Node), so each removes what the other installed: with
# E2E_OTHER_SETUP naming the other architecture's setup.exe, that is tried both ways.
. "$(dirname "$0")/lib.sh"
export WINE_ENV_ARCH=win64

# removed_checks: nothing of the product is left.
removed_checks() {
  check "the product folder is gone" eventually 10 test ! -e "$installed"
  check "the uninstall entry is gone" eventually 5 no_key "$uninstall_key"
  check "PATH no longer holds the product" bash -c '[[ "$0" != *trelliq* ]]' "$(reg_value "$machine_env" PATH)"
  check ".trq is no file type any more" no_key 'HKCR\.trq'
  check "the shortcut is gone" test ! -e "$(menu_link)"
  check "Wine's program list no longer shows it" \
    bash -c '! grep -q "Trelliq 5.2.9" <("$0" "$1" uninstaller --list)' "$top/tools/wine-run" "$world"
}

scenario win64
setup -a
finish 120
check "the product's files in Program Files (x86)" same_tree "$installed"
check "uninstall.exe is the setup program" cmp -s "$setup_exe" "$installed/uninstall.exe"
check "nothing in the 64-bit Program Files" test ! -e "$drive_c/Program Files/trelliq"
check "the uninstall entry in the 32-bit view" equals "$(reg_value "$uninstall_key" DisplayName)" "Trelliq 5.2.9"
check "no uninstall entry in the 64-bit view" no_key_in_64bit_view "$uninstall_key"
check "the uninstall string is quoted" \
  equals "$(reg_value "$uninstall_key" UninstallString)" '"C:\Program Files (x86)\trelliq\uninstall.exe"'
check "Wine's program list shows it" grep -q '|||Trelliq 5.2.9' <(wine_in uninstaller --list | tr -d '\r')
check "machine PATH starts with bin" \
  starts_with "$(reg_value "$machine_env" PATH)" 'C:\Program Files (x86)\trelliq\bin;'

robot run "$(reg_value "$uninstall_key" UninstallString)" \
      wait 'Trelliq Setup' expect 1026 'Are you sure you want to remove Trelliq?' click 6 gone \
      wait 'Uninstall' ready 1 shown 1007 1 shown 1008 1 shown 1006 1 shown 1009 1 \
      expect 1009 'Uninstall completed successfully.' click 1 gone
removed_checks

other=${E2E_OTHER_SETUP:-}
if [ -n "$other" ] && [ -f "$other" ]; then
  # Installed by FIRST; SECOND takes the place of its uninstall.exe, and the program list's
  # command runs it.
  for order in "$setup_exe $other" "$other $setup_exe"; do
    read -r first second <<<"$order"
    scenario "win64-cross-$(basename "$(dirname "$first")")"
    cp "$first" "$drive_c/setup/setup.exe"
    setup -a
    finish 120
    check "installed" equals "$(reg_value "$uninstall_key" DisplayName)" "Trelliq 5.2.9"
    cp "$second" "$installed/uninstall.exe"
    robot run "$(reg_value "$uninstall_key" UninstallString)" \
          wait 'Trelliq Setup' click 6 gone wait 'Uninstall' ready 1 shown 1009 1 \
          expect 1009 'Uninstall completed successfully.' click 1 gone
    removed_checks
  done
else
  echo "skipped: the other architecture's setup.exe (E2E_OTHER_SETUP) is not built"
fi

done_group
