# Helpers of the end-to-end scenarios, sourced by each group script:
#   GROUP.sh BUILD_DIR SETUP_EXE ROBOT_EXE
# Every scenario runs in a Wine world of its own (fresh prefix, display and wineserver), of
# the architecture in WINE_ENV_ARCH: win64 for the x64 program (ctest sets it), win32 by
# default. The x86 program on a 64-bit prefix is what win64.sh tests.
set -euo pipefail
export WINE_ENV_ARCH=${WINE_ENV_ARCH:-win32}
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:?usage: $0 BUILD_DIR SETUP_EXE ROBOT_EXE}
setup_exe=${2:?}
robot_exe=${3:?}
e2e=$build/e2e
product=$build/demo/product
failures=0
failures_before=0
world=
setup_pid=

# scenario NAME: ends the previous world and starts a fresh one for NAME.
scenario() {
  end_world
  echo "== $1"
  world=$e2e/$1
  failures_before=$failures
  rm -rf "$world"
  mkdir -p "$world"
  # The prefix template of the build's test fixture saves every world its wineboot.
  if [ -f "$build/wine/template/.ready" ] && [ "$(cat "$build/wine/template/.arch" 2>/dev/null)" = "$WINE_ENV_ARCH" ]; then
    # Hard links: wine-env only reads the template, copying it into the world's prefix.
    cp -al "$build/wine/template" "$world/template"
  fi
  "$top/tools/wine-env" start "$world" >/dev/null
  . "$world/env"
  prefix=$WINEPREFIX
  drive_c=$prefix/drive_c
  # Where both programs install by default: the Program Files folder of 32-bit programs.
  if [ "$WINEARCH" = win64 ]; then programs_win='C:\Program Files (x86)'; else programs_win='C:\Program Files'; fi
  folder="$programs_win\\trelliq\\"
  installed="$drive_c/${programs_win#C:\\}/trelliq"
  mkdir -p "$drive_c/setup"
  cp "$setup_exe" "$drive_c/setup/setup.exe"
}

# end_world: ends the current world; a world whose checks all passed is deleted (a prefix
# takes over 500 MB), a failed one is kept to be looked at.
end_world() {
  if [ -n "$world" ]; then
    "$top/tools/wine-env" stop "$world" >/dev/null 2>&1 || true
    # Wine lets go of a small drive only when its world has stopped.
    if [ -n "$small_drive" ]; then
      umount "$small_drive" 2>/dev/null || umount -l "$small_drive"
      small_drive=
    fi
    [ "$failures" -ne "$failures_before" ] || rm -rf "$world"
    world=
  fi
}
trap end_world EXIT

# small_drive_t SIZE: a tmpfs of SIZE (in $small_drive) as the world's drive T:, unmounted
# when the world ends. Mounting needs root: without it, says the scenario is skipped, false.
small_drive=
small_drive_t() {
  mkdir -p "$world/small"
  if ! mount -t tmpfs -o size="$1" tmpfs "$world/small" 2>/dev/null; then
    echo "skipped: mounting a tmpfs needs root"
    return 1
  fi
  small_drive=$world/small
  ln -s "$small_drive" "$prefix/dosdevices/t:"
}

wine_in() { "$top/tools/wine-run" "$world" "$@"; }

# setup-paused.exe is this setup.exe built to wait before a given change (TRELLIQ_PAUSE_AT),
# so that a test can press Escape or kill it there.
paused_exe=$(dirname "$setup_exe")/tests/setup-paused.exe
# paused_setup KIND N ARGS...: setup-paused.exe, waiting before the Nth change of KIND.
paused_setup() {
  cp "$paused_exe" "$drive_c/setup/setup-paused.exe"
  touch "$drive_c/pause"
  TRELLIQ_PAUSE_AT="$1 $2 C:\\pause" start_program 'C:\setup\setup-paused.exe' "${@:3}"
  eventually 60 test -e "$drive_c/pause.reached" || fail "the run never got to $1 $2"
  rm -f "$drive_c/pause.reached"
}
resume() { rm -f "$drive_c/pause"; }
# kill_tree PID: the process and every process below it, children first.
kill_tree() {
  local child
  for child in $(ps -o pid= --ppid "$1"); do kill_tree "$child"; done
  kill -9 "$1" 2>/dev/null || true
}
# kill_setup: the run ends as Task Manager ends it. The program started last runs below the
# shell that started it.
kill_setup() {
  kill_tree "$setup_pid"
  wait "$setup_pid" 2>/dev/null || true
  # Until Wine's server has seen the process go, its mutex is not yet abandoned.
  robot await setup-paused.exe
  resume
}


# setup ARGS...: starts C:\setup\setup.exe in the background.
setup() { start_program 'C:\setup\setup.exe' "$@"; }
start_program() {
  wine_in "$@" </dev/null >"$world/setup.log" 2>&1 &
  setup_pid=$!
}

# thread_count: the threads of the program started last, as Linux lists them (wine-run
# and Wine's launcher exec one another, so its pid is the Windows program's process).
thread_count() { ls "/proc/$setup_pid/task" 2>/dev/null | wc -l; }

# finish [SECONDS]: waits for the program started last to end; its exit code goes to
# exit_code (empty when it did not end).
finish() {
  local limit=${1:-60} i
  exit_code=
  for ((i = 0; i < limit * 10; i++)); do
    if ! kill -0 "$setup_pid" 2>/dev/null; then
      exit_code=0
      wait "$setup_pid" || exit_code=$?
      return 0
    fi
    sleep 0.1
  done
  fail "the program did not end within $limit s"
  kill "$setup_pid" 2>/dev/null || true
}

robot() { wine_in "$robot_exe" "$@" || fail "robot: $*"; }

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

check() { # DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

# The messages the program shows within 8 s, each answered with OK, as the robot lists them:
# it waits for one that never comes. A message may run over several lines (the rollback's
# note follows in a paragraph of its own).
answered_messages() {
  wine_in "$robot_exe" timeout 8000 seek 'no such message' 2>/dev/null | tr -d '\r' || true
}

# Exactly one message among answered_messages' list, and it is a damaged payload's: bad bzip2
# data shows the decoder's error, data that decodes into a broken archive the damaged product
# data.
one_damaged_payload_message() { # ANSWERED-MESSAGES
  [ "$(grep -c '^robot: answered OK to "' <<<"$1")" -eq 1 ] \
    && grep -qE '^robot: answered OK to "(BzipDecode error|The product data inside the setup program is damaged: Error 1392)' <<<"$1"
}

# reg OPERATION KEY ARGS...: Wine's reg in the world. Keys under HKLM\Software are taken
# in the registry's 32-bit view, where both programs keep the product's machine keys on
# 64-bit Windows (a 32-bit prefix has no other view).
reg() {
  local view=()
  case ${2,,} in
  hklm\\software|hklm\\software\\*) [ "$WINEARCH" != win64 ] || view=(/reg:32) ;;
  esac
  wine_in reg "$@" "${view[@]}"
}

# reg_value KEY NAME: the data of a registry value as Wine's reg shows it ("" when missing);
# an empty NAME is the key's default value.
reg_value() {
  local which=(/v "$2")
  [ -n "$2" ] || which=(/ve)
  reg query "$1" "${which[@]}" 2>/dev/null | tr -d '\r' \
    | awk '/^[ \t]+.*[ \t]REG_[A-Z_]+/ { sub(/^[ \t]*.*[ \t]+REG_[A-Z_]+[ \t]+/, ""); print; exit }'
}
reg_key_exists() { reg query "$1" >/dev/null 2>&1; }
no_key() { ! reg query "$1" >/dev/null 2>&1; }
# no_key_in_64bit_view KEY: true on a 32-bit prefix, which has one view only.
no_key_in_64bit_view() { [ "$WINEARCH" != win64 ] || ! wine_in reg query "$1" /reg:64 >/dev/null 2>&1; }

equals() { [ "$1" = "$2" ] || { echo "   expected \"$2\", saw \"$1\""; return 1; }; }
starts_with() { [[ "$1" == "$2"* ]] || { echo "   expected \"$1\" to start with \"$2\""; return 1; }; }

# same_tree DIR: every file of the demo product is in DIR with the same bytes and time.
same_tree() {
  local dir=$1 file ok=0
  while IFS= read -r file; do
    if ! cmp -s "$product/$file" "$dir/$file"; then
      echo "   $file differs or is missing"; ok=1
    elif [ "$(stat -c %Y "$product/$file")" != "$(stat -c %Y "$dir/$file")" ]; then
      echo "   $file has another time"; ok=1
    fi
  done < <(cd "$product" && find . -type f | sed 's|^\./||')
  return $ok
}

menu_link() { echo "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Trelliq.lnk"; }

installed_checks() { # FOLDER (Unix) FOLDER (Windows, with trailing backslash)
  local dir=$1 win=$2
  check "the product's files with their times" same_tree "$dir"
  check "the Microsoft wrappers" cmp -s "$product/bin/trqc.exe" "$dir/bin/cl.exe-"
  check "the Microsoft linker wrapper" cmp -s "$product/bin/trqc.exe" "$dir/bin/link.exe-"
  check "uninstall.exe is the setup program" cmp -s "$setup_exe" "$dir/uninstall.exe"
  check "the program-menu shortcut points at the browser" \
    equals "$(link_target "$(menu_link)")" "${win}bin\\coverageBrowser.exe"
  check "the uninstall entry's name" equals "$(reg_value "$uninstall_key" DisplayName)" "Trelliq 5.2.9"
  check "the uninstall entry only in the 32-bit view" no_key_in_64bit_view "$uninstall_key"
  check "Wine's program list shows it" grep -q '|||Trelliq 5.2.9' <(wine_in uninstaller --list | tr -d '\r')
  check "the product key's version" equals "$(reg_value 'HKCU\Software\Pembrox\Trelliq' version)" "5.2.9"
  check ".trq is a coverage file" equals "$(reg_value 'HKCR\.trq' '')" "Coverage.File"
  check "machine PATH starts with bin" starts_with "$(reg_value "$machine_env" PATH)" "${win}bin;"
  check "the user's LIB starts with lib" starts_with "$(reg_value 'HKCU\Environment' LIB)" "${win}lib;"
}


# link_target LINK: the local path lnkinfo reads from a shortcut.
link_target() { lnkinfo "$1" 2>/dev/null | tr -d '\r' | sed -n 's/^\tLocal path\t*: //p' | head -1; }

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelliq'
machine_env='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
pending_key='HKLM\System\CurrentControlSet\Control\Session Manager'

done_group() {
  end_world
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
}

# eventually SECONDS COMMAND...: true once COMMAND succeeds within SECONDS.
eventually() {
  local limit=$1 i
  shift
  for ((i = 0; i < limit * 5; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  "$@"
}

# machine FILE: the machine as seen from outside (C:\setup holds the tests' programs).
# Wine keeps a volatile key of its own under HKCU\Software\Wine, made when a window first
# shows: it is left out.
machine() {
  local key
  {
    (cd "$drive_c" && find . \( -path ./windows -o -path ./users -o -path ./setup \) -prune -o -type d -printf '%p/\n' \
       -o -type f -printf '%p %s %T@\n' | sort)
    for key in 'HKLM\Software' 'HKCU' "$machine_env"; do
      reg export "$key" 'C:\export.reg' /y >/dev/null 2>&1 || echo "export of $key failed"
      iconv -f UTF-16LE -t UTF-8 "$drive_c/export.reg" | tr -d '\r' \
        | awk '/^\[/ { skip = index($0, "\\Software\\Wine\\Temporary System Parameters") > 0 } !skip'
      rm -f "$drive_c/export.reg"
    done
  } > "$1"
}
same_machine() { # BEFORE AFTER
  diff "$1" "$2" > "$world/machine.diff" && return 0
  echo "   the machine changed:"; head -20 "$world/machine.diff"; return 1
}

# exit_is CODE: the program's exit code, of which Unix sees the low byte.
exit_is() { equals "$exit_code" $(($1 % 256)); }

# A deletion left for the next start of Windows in wininit.ini shows whether a restart came:
# Wine answers ExitWindowsEx(EWX_REBOOT) with a restart of the prefix, which carries it out.
plant_restart_marker() {
  echo "marker" > "$drive_c/marker.txt"
  printf '[rename]\r\nNUL=C:\\marker.txt\r\n' > "$drive_c/windows/wininit.ini"
}
