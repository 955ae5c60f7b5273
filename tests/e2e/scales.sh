#!/usr/bin/env bash
# At 96, 144 and 192 dpi (the user's LogPixels): every page and message box of the install
# and the uninstall opens in front of the title window, and in every window of the program
# each control's text fits the control (measured with the control's own font), no control
# leaves its window and none overlaps another (tools/gallery/gallery.cpp measures).
#   scales.sh BUILD_DIR SETUP_EXE ROBOT_EXE
. "$(dirname "$0")/lib.sh"
gallery=$build/gallery.exe
names="title destination coverage compilers richedit copy-files update-registry uninstall restart complete
       message-error message-question message-warning message-information"

for dpi in 96 144 192; do
  scenario "scale-$dpi"
  reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  for name in $names; do
    rm -f "$drive_c/rect.txt" "$drive_c/checks.txt"
    start_program "$gallery" "$name" 'C:\rect.txt' 'C:\checks.txt'
    eventually 20 test -s "$drive_c/rect.txt" || fail "$name at $dpi dpi: never painted"
    checks=$(tr -d '\r' <"$drive_c/checks.txt" 2>/dev/null || true)
    summary=$(grep '^checked ' <<<"$checks" || true)
    check "$name at $dpi dpi: $summary" \
      bash -c '[[ "$1" == *" at $2 dpi: 0 failures" && "$1" != "checked 0 windows"* ]]' - "$summary" "$dpi"
    grep '^FAIL' <<<"$checks" | sed 's/^/   /' || true
    finish 20
  done
done
done_group
