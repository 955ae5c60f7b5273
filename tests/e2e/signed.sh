#!/usr/bin/env bash
# End-to-end: the signed setup.exe (tools/sign, with a throw-away certificate) installs and
# uninstalls as the unsigned one does, and every copy it makes of itself keeps the signature;
# with one byte of its payload changed it reports the damaged payload as the unsigned one does.
. "$(dirname "$0")/lib.sh"
. "$top/tests/tools/testSigner.sh"

signing=$e2e/signing
rm -rf "$signing"
make_test_signer "$signing" "Trelliq Test Signer"
cp "$setup_exe" "$signing/setup.exe"
"$top/tools/sign" --cert "$signing/cert.pem" --key "$signing/key.pem" --password-file "$signing/password" \
  "$signing/setup.exe"
unsigned_exe=$setup_exe
setup_exe=$signing/setup.exe
verifies() { osslsigncode verify -CAfile "$signing/cert.pem" -in "$1" >/dev/null 2>&1; }
not_verifies() { ! verifies "$1"; }
check "the signed program verifies" verifies "$setup_exe"
check "the signed program is another file" bash -c '! cmp -s "$0" "$1"' "$setup_exe" "$unsigned_exe"

scenario signed
setup -a
finish
check "the product's files with their times" same_tree "$installed"
check "uninstall.exe is the signed program" cmp -s "$setup_exe" "$installed/uninstall.exe"
check "uninstall.exe's signature verifies" verifies "$installed/uninstall.exe"
check "the uninstall entry" equals "$(reg_value "$uninstall_key" DisplayName)" "Trelliq 5.2.9"
robot run "$(reg_value "$uninstall_key" UninstallString)" \
      wait 'Trelliq Setup' expect 1026 'Are you sure you want to remove Trelliq?' click 6 gone \
      wait 'Uninstall' ready 1 shown 1007 1 shown 1008 1 shown 1006 1 shown 1009 1 \
      expect 1009 'Uninstall completed successfully.' click 1 gone
check "the product folder is gone" eventually 10 test ! -e "$installed"
check "the uninstall entry is gone" eventually 5 no_key "$uninstall_key"
check "the shortcut is gone" test ! -e "$(menu_link)"
# The copy that ran from its folder in the temporary folder waits there for the restart that
# deletes it.
temporary_copy=$(find "$drive_c/users" -ipath '*/temp/trq*/uninstall.exe' | head -1)
check "the temporary uninstaller is the signed program" cmp -s "$setup_exe" "$temporary_copy"

# One changed byte in the middle of the payload: bad bzip2 data shows the decoder's error,
# data that decodes into a broken archive the damaged product data (as in faults.sh).
scenario signed-damaged-payload
python3 - "$setup_exe" "$build/payload.bin" "$drive_c/setup/setup.exe" <<'PY'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
payload = open(sys.argv[2], 'rb').read()
at = data.find(payload)
assert at > 0, 'payload not found in setup.exe'
data[at + len(payload) // 2] ^= 0x01
open(sys.argv[3], 'wb').write(data)
PY
check "the changed program no longer verifies" not_verifies "$drive_c/setup/setup.exe"
setup -a
shown=$(answered_messages)
echo "   shown: $shown"
check "one message: the decoder's error or the damaged product data" one_damaged_payload_message "$shown"
finish 60
check "no uninstall entry" no_key "$uninstall_key"
check "no program-menu entry" test ! -e "$(menu_link)"

done_group
