# A throwaway self-signed code-signing certificate for the checks that sign:
# DIR/cert.pem (the certificate, to verify against) and DIR/cert.pfx (it and
# its key, password "throwaway"). Sourced, not run.
ich_throwaway_cert() {  # dir
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=ichscore test signer" \
    -addext keyUsage=digitalSignature -addext extendedKeyUsage=codeSigning \
    -keyout "$1/key.pem" -out "$1/cert.pem" 2>/dev/null &&
    openssl pkcs12 -export -inkey "$1/key.pem" -in "$1/cert.pem" -passout pass:throwaway \
      -out "$1/cert.pfx"
}
