#!/usr/bin/env bash
# tools/winget-manifest on this tree's program and the other architecture's: the manifests
# pass winget's rules (wingetManifestCheck.py), and setup.exe started as winget starts it,
# with the manifest's switches, returns the manifest's code for a refused folder, and
# installs into the given folder, logs, and writes into its uninstall entry what the
# manifest's AppsAndFeaturesEntries say.
#   wingetManifestTest.sh BUILD_DIR SETUP_EXE ROBOT_EXE
. "$(dirname "$0")/../e2e/lib.sh"
arch=${TRELLIQ_ARCH:?}
case $arch in x86) other=x64 ;; *) other=x86 ;; esac

work=$e2e/winget
programs=$work/programs
rm -rf "$work"
mkdir -p "$programs/$arch" "$programs/$other"
cp "$setup_exe" "$programs/$arch/setup.exe"
stand_in=()
if [ -f "$build/../$other/setup.exe" ]; then
  cp "$build/../$other/setup.exe" "$programs/$other/setup.exe"
else
  # Without the other tree's program, this one marked with the other's machine stands in for
  # it: only its sum and address are checked.
  python3 - "$setup_exe" "$programs/$other/setup.exe" "$other" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
pe = struct.unpack_from("<I", data, 0x3C)[0]
struct.pack_into("<H", data, pe + 4, {"x86": 0x14C, "x64": 0x8664}[sys.argv[3]])
open(sys.argv[2], "wb").write(data)
PY
  stand_in=(--stand-in "$other")
fi

url=https://downloads.pembrox.example/trelliq/5.2.9
# A trailing slash of URL-BASE adds none to the addresses.
if ! BUILD_DIR=$programs "$top/tools/winget-manifest" 5.2.9 "$url/" "$work/manifests" >"$work/tool.out" 2>&1; then
  fail "tools/winget-manifest: $(cat "$work/tool.out")"
elif values=$(python3 "$top/tests/tools/wingetManifestCheck.py" "$work/manifests" "$url" \
                "$arch=$programs/$arch/setup.exe" "$other=$programs/$other/setup.exe" "${stand_in[@]}" \
                --values "$arch/machine") \
     && user_values=$(python3 "$top/tests/tools/wingetManifestCheck.py" "$work/manifests" "$url" \
                "$arch=$programs/$arch/setup.exe" "$other=$programs/$other/setup.exe" "${stand_in[@]}" \
                --values "$arch/user"); then
  echo "ok: the manifests pass winget's rules and match the programs"
  eval "$values"
  # A switch with winget's token replaced, as winget fills it in.
  filled() { local token=$2 value=$3; printf '%s' "${1//"$token"/"$value"}"; }

  scenario winget-install
  robot exits "$Code_invalidParameter" \
        "\"C:\\setup\\setup.exe\" $SwitchSilent $SwitchCustom $(filled "$SwitchInstallLocation" '<INSTALLPATH>' 'Tools\Trelliq')"
  check "a refused folder changes nothing" no_key "$uninstall_key"
  # Folders with blanks, as winget's --location and --log may give.
  mkdir -p "$drive_c/winget logs"
  robot timeout 120000 exits 0 "\"C:\\setup\\setup.exe\" $SwitchSilent $SwitchCustom \
$(filled "$SwitchLog" '<LOGPATH>' 'C:\winget logs\Trelliq install.log') \
$(filled "$SwitchInstallLocation" '<INSTALLPATH>' 'C:\Program Files\Pembrox Tools\Trelliq')"
  check "installed into the InstallLocation" same_tree "$drive_c/Program Files/Pembrox Tools/Trelliq"
  check "the log is written" grep -q 'exit code 0' "$drive_c/winget logs/Trelliq install.log"
  for name in DisplayName Publisher DisplayVersion; do
    check "the uninstall entry's $name is the manifest's" equals "$(reg_value "$uninstall_key" "$name")" "${!name}"
  done
  # The user's installer: the user's uninstall entry, the same names.
  eval "$user_values"
  robot timeout 120000 exits 0 "\"C:\\setup\\setup.exe\" $SwitchSilent $SwitchCustom"
  for name in DisplayName Publisher DisplayVersion; do
    check "the user's uninstall entry's $name is the manifest's" \
      equals "$(reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelliq' "$name")" "${!name}"
  done
else
  fail "the manifests break winget's rules or do not match the programs"
fi
done_group
