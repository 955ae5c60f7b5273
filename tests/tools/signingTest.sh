#!/usr/bin/env bash
# Tests of tools/sign on a built setup.exe, run natively with a throw-away certificate: the
# signature verifies and is all that changes, the refusals leave every program as it was, a
# time-stamp server's URL reaches the server unchanged, and one changed payload byte makes
# the signature fail.
#   signingTest.sh SETUP_EXE PAYLOAD
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
program=${1:?usage: signingTest.sh SETUP_EXE PAYLOAD}
payload=${2:?}
sign=$top/tools/sign
. "$top/tests/tools/testSigner.sh"
work=$(mktemp -d)
server=
trap '[ -z "$server" ] || kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

signer=$work/signer
make_test_signer "$signer" "Trelliq Test Signer" || { echo "openssl cannot make a certificate"; exit 1; }
make_test_signer "$work/other" "Someone Else" || exit 1
as_signer=(--cert "$signer/cert.pem" --key "$signer/key.pem" --password-file "$signer/password")
verify() { # PROGRAM [OPTIONS...]
  local file=$1
  shift
  osslsigncode verify -CAfile "$signer/cert.pem" "$@" -in "$file"
}

# Signing: the signature verifies with a SHA-256 digest, and taking it off gives back the
# program byte for byte, its mode too.
signed=$work/signed.exe
cp -p "$program" "$signed"
"$sign" "${as_signer[@]}" "$signed" >"$work/sign.out" 2>&1 || fail "signing failed: $(cat "$work/sign.out")"
verify "$signed" >"$work/verify.out" 2>&1 || fail "the signed program does not verify: $(tail -3 "$work/verify.out")"
grep -qE '^Message digest algorithm +: SHA256' "$work/verify.out" || fail "the digest is not SHA-256"
grep -q 'Subject: /CN=Trelliq Test Signer' "$work/verify.out" || fail "the signer is not the certificate's subject"
osslsigncode remove-signature -in "$signed" -out "$work/unsigned.exe" >/dev/null 2>&1
cmp -s "$work/unsigned.exe" "$program" || fail "the signed program without its signature is not the program"
[ "$(stat -c %a "$signed")" = "$(stat -c %a "$program")" ] || fail "signing changed the program's mode"

# The password is the first line of its file, also when written on Windows (CR LF).
printf 'correct horse\r\nnot the password\n' >"$work/windows-password"
cp "$program" "$work/windows.exe"
"$sign" --cert "$signer/cert.pem" --key "$signer/key.pem" --password-file "$work/windows-password" \
  "$work/windows.exe" >"$work/windows.out" 2>&1 || fail "a CR LF password file: $(cat "$work/windows.out")"

# A local RFC 3161 time-stamp server (openssl ts) that notes the path of each request and
# answers requests under /broken with an error.
tsa=$work/tsa
mkdir -p "$tsa"
openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -nodes -subj "/CN=Trelliq Test TSA" \
  -addext keyUsage=critical,digitalSignature -addext extendedKeyUsage=critical,timeStamping \
  -keyout "$tsa/key.pem" -out "$tsa/cert.pem" 2>/dev/null || exit 1
cat >"$tsa/tsa.cnf" <<EOF
[tsa]
default_tsa = local
[local]
serial = $tsa/serial
signer_cert = $tsa/cert.pem
signer_key = $tsa/key.pem
signer_digest = sha256
default_policy = 1.3.6.1.4.1.99999.1
digests = sha256
ess_cert_id_alg = sha256
EOF
echo 01 >"$tsa/serial"
python3 - "$tsa" >"$tsa/port" 2>"$tsa/server.log" <<'PY' &
import http.server, subprocess, sys
tsa = sys.argv[1]
class Handler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers['Content-Length']))
        with open(tsa + '/paths', 'a') as paths:
            paths.write(self.path + '\n')
        reply = subprocess.run(['openssl', 'ts', '-reply', '-config', tsa + '/tsa.cnf', '-queryfile', '/dev/stdin'],
                               input=query, capture_output=True)
        ok = reply.returncode == 0 and not self.path.startswith('/broken')
        self.send_response(200 if ok else 500)
        self.send_header('Content-Type', 'application/timestamp-reply')
        self.send_header('Content-Length', str(len(reply.stdout) if ok else 0))
        self.end_headers()
        if ok:
            self.wfile.write(reply.stdout)
server = http.server.HTTPServer(('127.0.0.1', 0), Handler)
print(server.server_port, flush=True)
server.serve_forever()
PY
server=$!
for ((i = 0; i < 50; i++)); do [ -s "$tsa/port" ] && break; sleep 0.1; done
port=$(cat "$tsa/port")
[ -n "$port" ] || { echo "the time-stamp server did not start: $(cat "$tsa/server.log")"; exit 1; }

# The URL reaches the server as given, path and query; the time stamp verifies.
url_path='/stamp/rfc3161?policy=a&x=%20y'
stamped=$work/stamped.exe
cp "$program" "$stamped"
"$sign" "${as_signer[@]}" --timestamp "http://127.0.0.1:$port$url_path" "$stamped" >"$work/stamp.out" 2>&1 \
  || fail "signing with a time stamp failed: $(cat "$work/stamp.out")"
[ "$(cat "$tsa/paths" 2>/dev/null)" = "$url_path" ] \
  || fail "the time-stamp server was asked for '$(cat "$tsa/paths" 2>/dev/null)', not '$url_path'"
verify "$stamped" -TSA-CAfile "$tsa/cert.pem" >"$work/stamp-verify.out" 2>&1 \
  || fail "the time-stamped program does not verify: $(tail -3 "$work/stamp-verify.out")"
grep -q 'Timestamp Server Signature verification: ok' "$work/stamp-verify.out" || fail "no verified time stamp"

# refused NAME TEXT ARGS...: tools/sign ARGS, run in a folder of its own holding the program
# (setup.exe), a signed copy (signed.exe) and a text file (notes.txt), must fail with a
# message holding TEXT and leave the folder as it was: no file changed, none added.
listing() { (cd "$1" && for f in * .[!.]*; do [ -e "$f" ] && echo "$f $(stat -c %a "$f") $(sha256sum <"$f")"; done); }
refused() {
  local name=$1 text=$2 dir=$work/refused/$1
  shift 2
  mkdir -p "$dir"
  cp -p "$program" "$dir/setup.exe"
  cp -p "$signed" "$dir/signed.exe"
  echo "notes" >"$dir/notes.txt"
  local before
  before=$(listing "$dir")
  if (cd "$dir" && "$sign" "$@") >"$dir.out" 2>&1; then
    fail "$name: signed"
  fi
  grep -qF -- "$text" "$dir.out" || fail "$name: the message '$(cat "$dir.out")' lacks '$text'"
  [ "$(listing "$dir")" = "$before" ] || fail "$name: the folder changed: $(diff <(echo "$before") <(listing "$dir"))"
}
echo "wrong horse" >"$work/wrong-password"
key=(--key "$signer/key.pem")
cert=(--cert "$signer/cert.pem")
password=(--password-file "$signer/password")
refused already-signed 'signed.exe is already signed' "${as_signer[@]}" signed.exe
refused one-of-two-signed 'signed.exe is already signed' "${as_signer[@]}" setup.exe signed.exe
refused wrong-password 'cannot read the private key' "${cert[@]}" "${key[@]}" --password-file "$work/wrong-password" setup.exe
refused no-password 'it needs a password' "${cert[@]}" "${key[@]}" setup.exe
refused missing-key 'the private key nowhere.pem does not exist' "${cert[@]}" --key nowhere.pem "${password[@]}" setup.exe
refused missing-certificate 'the certificate nowhere.pem does not exist' --cert nowhere.pem "${key[@]}" "${password[@]}" setup.exe
refused missing-password-file 'the password file nowhere does not exist' "${cert[@]}" "${key[@]}" --password-file nowhere setup.exe
refused other-certificate 'is not the certificate of the private key' --cert "$work/other/cert.pem" "${key[@]}" "${password[@]}" setup.exe
refused key-as-certificate 'is no certificate' --cert "$signer/key.pem" "${key[@]}" "${password[@]}" setup.exe
refused no-program 'notes.txt is no Windows program' "${as_signer[@]}" setup.exe notes.txt
refused missing-program 'gone.exe does not exist' "${as_signer[@]}" setup.exe gone.exe
refused broken-time-stamp-server 'osslsigncode could not sign setup.exe' "${as_signer[@]}" \
  --timestamp "http://127.0.0.1:$port/broken" setup.exe

# One changed byte of the payload, in the middle of resource 150: the signature no longer
# verifies, and osslsigncode says the digest does not match.
tampered=$work/tampered.exe
python3 - "$signed" "$payload" "$tampered" <<'PY'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
payload = open(sys.argv[2], 'rb').read()
at = data.find(payload)
assert at > 0, 'payload not found in the program'
data[at + len(payload) // 2] ^= 0x01
open(sys.argv[3], 'wb').write(data)
PY
[ -f "$tampered" ] || fail "no tampered copy"
if verify "$tampered" >"$work/tampered.out" 2>&1; then
  fail "the program with a changed payload byte verifies"
fi
grep -q 'MISMATCH' "$work/tampered.out" || fail "no digest mismatch reported: $(tail -3 "$work/tampered.out")"

[ $failures -eq 0 ] && echo "signing: all checks passed"
exit $((failures > 0))
