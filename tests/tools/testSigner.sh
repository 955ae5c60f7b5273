# make_test_signer DIR NAME: a throw-away code-signing certificate for NAME (DIR/cert.pem,
# self-signed, valid for two days) and its private key (DIR/key.pem), encrypted with the
# password in DIR/password. Sourced by the signing tests.
make_test_signer() {
  mkdir -p "$1"
  printf 'correct horse\n' > "$1/password"
  openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -subj "/CN=$2" \
    -addext keyUsage=critical,digitalSignature -addext extendedKeyUsage=codeSigning \
    -passout "file:$1/password" -keyout "$1/key.pem" -out "$1/cert.pem" 2>/dev/null
}
