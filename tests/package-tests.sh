#!/usr/bin/env bash
# The release: reproducible bytes, and optional Authenticode signing with a
# throwaway certificate made here. Run by scripts/test after both targets
# are built and tested.
source "$(dirname "$0")/../scripts/lib.sh"
set +e  # a failing check is counted, not the end of the run
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
source "$ROOT/tests/support/checks.sh"
package() { "$ROOT/scripts/package" --built >"$scratch/package.log" 2>&1; }
zip="$ROOT/dist/Quorrel-$(project_version).zip"

# Two builds of the same sources in different folders, by the same
# generator, give the same add-in: make and Ninja link it differently (make
# from an archive of its objects), and their images differ.
# The second folder is kept, so a later run rebuilds only what changed.
for target in "${TARGETS[@]}"; do
  use_target "$target"
  other="$ROOT/build/elsewhere/$target"
  ninja_tree "$other"
  # Once configured, the build configures itself again when a CMakeLists.txt changes.
  [ -f "$other/CMakeCache.txt" ] ||
    cmake -G Ninja -S "$ROOT" -B "$other" -DCMAKE_TOOLCHAIN_FILE="$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' "$BUILD/CMakeCache.txt")" \
      -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$other" --target Quorrel QuorrelSetup -j "$(nproc)" >/dev/null
  for binary in Quorrel.xll QuorrelSetup.exe; do
    check "$target: $binary built in another folder is byte-identical" cmp "$BUILD/bin/$binary" "$other/bin/$binary"
  done
done

# The installer needs nothing but Windows' own DLLs, and runs as the user
# who starts it (no elevation prompt for a program named "setup").
setup_exe="$ROOT/build/mingw-i686/bin/QuorrelSetup.exe"
windows_dlls_only() {
  local dlls
  dlls=$(i686-w64-mingw32-objdump -p "$setup_exe" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
  echo "imports: $dlls"
  [ "$dlls" = "advapi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll " ]
}
check "QuorrelSetup.exe imports only Windows' own DLLs" windows_dlls_only
check "QuorrelSetup.exe asks to run as the user who starts it" grep -q 'level="asInvoker"' "$setup_exe"

# Packaging twice gives the same zip, with the members in their fixed order.
unset QUORREL_SIGN_PFX QUORREL_SIGN_PASSWORD QUORREL_SIGN_TIMESTAMP_URL
package && cp "$zip" "$scratch/first.zip"
sleep 1
package
check "a second package is byte-identical" cmp "$scratch/first.zip" "$zip"
members_in_order() { [ "$(unzip -Z1 "$zip" | tr '\n' ' ')" = "Quorrel32.xll Quorrel64.xll QuorrelSetup.exe install.cmd uninstall.cmd README.txt SHA256SUMS " ]; }
check "the zip holds its members in order" members_in_order
crlf() { [ "$(unzip -p "$zip" "$1" | head -n 1 | tail -c 2 | od -An -tx1 | tr -d ' ')" = 0d0a ]; }
for text in README.txt install.cmd uninstall.cmd; do check "$text has CRLF line ends" crlf "$text"; done
sums_match() { mkdir -p "$scratch/unpacked" && (cd "$scratch/unpacked" && unzip -q -o "$zip" && sha256sum -c --quiet SHA256SUMS); }
check "SHA256SUMS matches the members" sums_match

# Signing with a throwaway self-signed certificate.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$scratch/key.pem" -out "$scratch/cert.pem" -days 1 \
  -subj "/CN=Quorrel test signer" -addext "extendedKeyUsage=codeSigning" >/dev/null 2>&1
openssl pkcs12 -export -inkey "$scratch/key.pem" -in "$scratch/cert.pem" -out "$scratch/signer.pfx" \
  -passout pass:secret >/dev/null 2>&1
rm -f "$zip"
wrong_password_fails_cleanly() {
  ! QUORREL_SIGN_PFX="$scratch/signer.pfx" QUORREL_SIGN_PASSWORD=wrong "$ROOT/scripts/package" --built 2>"$scratch/err" >/dev/null &&
    [ "$(grep -c . "$scratch/err")" -eq 1 ] && grep -q 'cannot sign' "$scratch/err" &&
    [ ! -e "$zip" ] && [ ! -e "$zip.partial" ]
}
check "a wrong password fails the package in one line and leaves no zip" wrong_password_fails_cleanly
QUORREL_SIGN_PFX="$scratch/signer.pfx" QUORREL_SIGN_PASSWORD=secret package
mkdir -p "$scratch/signed" && (cd "$scratch/signed" && unzip -q -o "$zip")
for binary in Quorrel32.xll Quorrel64.xll QuorrelSetup.exe; do
  check "$binary is signed and verifies against the certificate" \
    osslsigncode verify -CAfile "$scratch/cert.pem" -in "$scratch/signed/$binary"
  cp "$scratch/signed/$binary" "$scratch/tampered"
  printf '\x90' | dd of="$scratch/tampered" bs=1 seek=1100 conv=notrunc 2>/dev/null
  check "$binary with one byte changed fails verification" \
    bash -c '! osslsigncode verify -CAfile "$1" -in "$2"' - "$scratch/cert.pem" "$scratch/tampered"
done
use_target mingw-x86_64
check "the signed QuorrelSetup.exe runs" wine "$scratch/signed/QuorrelSetup.exe" --help
for target in "${TARGETS[@]}"; do
  use_target "$target"
  xll=Quorrel32.xll
  [ "$target" = mingw-x86_64 ] && xll=Quorrel64.xll
  check "signed $xll plays a clean session" wine "$BUILD/bin/xllhost.exe" --quiet --expect-title "Tavik Add-In" \
    --expect "=TavikFnc()" "Tavik World" "$scratch/signed/$xll"
done
rm -f "$zip"
package  # leave the unsigned release in dist/

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
