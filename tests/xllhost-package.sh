#!/usr/bin/env bash
# xllhost's Debian package, proven from outside the tree. It builds the .deb,
# checks it with lintian and installs it; then an unprivileged user, in a
# fresh folder, copies examples/, configures it against the installed CMake
# package, builds both widths and runs ctest, runs xllhost --workbook on the
# example's workbook, and runs a test made to fail; last the package is
# removed and nothing of it may remain. Whatever fails, the package, the
# user's Wine and the folder are taken away again. Installing needs root (CI
# runs as root); an ordinary user's run says so and checks nothing.
source "$(dirname "$0")/../scripts/lib.sh"
set +e  # a failing check is counted, not the end of the run
name=xllhost-package
if [ "$(id -u)" -ne 0 ]; then
  echo "$name: skipped: installing a package needs root (CI runs it as root)"
  exit 0
fi
installed() { dpkg-query -W -f='${Status}' xllhost 2>/dev/null | grep -q 'ok installed'; }
if installed; then
  echo "$name: xllhost is already installed on this machine; remove it first (apt remove xllhost), the test installs its own" >&2
  exit 1
fi

scratch=$(mktemp -d /tmp/xllhost-package.XXXXXX)
chmod 755 "$scratch"
user=nobody
home=$scratch/home
# The user's own environment: nothing of root's, its own home and cache, and
# its home as the folder it starts in, since it may not enter the checkout's
# (a clone in a folder only its owner may enter, as Debian makes home folders).
as_user() {
  (cd "$home" && setpriv --reuid=$user --regid=nogroup --clear-groups \
    env -i PATH=/usr/bin:/bin HOME="$home" LC_ALL=C.UTF-8 "$@")
}
cleanup() {
  [ -d "$home" ] && as_user env WINEPREFIX="$home/.cache/xllhost/wineprefix" wineserver -k >/dev/null 2>&1
  installed && dpkg --purge xllhost >/dev/null 2>&1
  rm -rf "${scratch:?}"
}
trap cleanup EXIT

source "$ROOT/tests/support/checks.sh"
finish() {
  echo "$name: $passed passed, $failed failed"
  [ $failed -eq 0 ]
  exit
}

echo "$name: building and installing the package, then the example as $user, outside the tree" >&2
check "the package is built" "$ROOT/scripts/package-deb"
deb=$(ls "$ROOT"/dist/xllhost_"$(project_version)"_amd64.deb 2>/dev/null)
[ -n "$deb" ] || finish
cp "$deb" "$scratch/"
deb=$scratch/$(basename "$deb")
mkdir -p "$home"
cp -r "$ROOT/examples" "$scratch/loans"
chown -R $user:nogroup "$scratch"
check "lintian reports no errors" as_user lintian --fail-on error "$deb"
check "the package installs" dpkg -i "$deb"
installed || finish
files=$(dpkg -L xllhost | while read -r path; do [ -f "$path" ] && echo "$path"; done)

check "xllhost --version answers the package's version" as_user sh -c "xllhost --version | grep -qx 'xllhost $(project_version)'"
for preset in mingw-i686 mingw-x86_64; do
  check "$preset: the example configures against the installed package" \
    as_user sh -c "cd '$scratch/loans' && cmake --preset $preset"
  check "$preset: the example builds" as_user sh -c "cd '$scratch/loans' && cmake --build --preset $preset"
  check "$preset: every test of the example passes" \
    as_user sh -c "cd '$scratch/loans' && ctest --preset $preset --output-junit ctest.xml"
  check "$preset: CTest's JUnit report and xllhost's own were written" \
    test -s "$scratch/loans/build/$preset/ctest.xml" -a -s "$scratch/loans/build/$preset/loans-workbook.xml"
done
check "xllhost --workbook runs on the example's workbook from its folder" \
  as_user sh -c "cd '$scratch/loans/build/mingw-x86_64' && xllhost --workbook Loans.xlsx --tolerance 1e-12 --report report.json Loans.xll && test -s report.json"

# The manual's line for building an add-in by hand, on the example's source.
for width in i686 x86_64; do
  check "$width: an add-in built by hand against the package runs clean" as_user sh -c "mkdir -p '$scratch/hand/$width' &&
    cd '$scratch/hand/$width' && $width-w64-mingw32-g++ -shared -static -O2 -I/usr/share/xllhost/include \
      -Wl,--enable-stdcall-fixup -o Loans.xll '$scratch/loans/src/Loans.cpp' '$scratch/loans/src/Loans.def' \
      /usr/lib/xllhost/$width/libxlcall32.a && xllhost --quiet --expect '=RiskBand(0.05)' medium Loans.xll"
done

# A project of its own whose one xllhost test expects what the add-in does
# not answer: CTest fails, and shows xllhost's words for it.
mkdir -p "$scratch/failing"
cat >"$scratch/failing/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.21)
project(Failing LANGUAGES NONE)
find_package(XllHost REQUIRED)
enable_testing()
xllhost_add_test(NAME wrong-payment ADDIN $scratch/loans/build/mingw-x86_64/Loans.xll
  EXPECT "=LoanPayment(0,12,1200)" 99)
EOF
chown -R $user:nogroup "$scratch/failing"
as_user sh -c "cd '$scratch/failing' && cmake -S . -B build >/dev/null && ctest --test-dir build --output-on-failure" \
  >"$scratch/failing.log" 2>&1
failing_status=$?
check "a test made to fail fails CTest" test $failing_status -ne 0
check "CTest shows xllhost's message for it" grep -q 'PROBLEM: .*LoanPayment(0,12,1200).*99' "$scratch/failing.log"

as_user env WINEPREFIX="$home/.cache/xllhost/wineprefix" wineserver -k >/dev/null 2>&1
check "the package is removed" apt-get remove -y -qq xllhost
none_left() {
  local file
  for file in $files; do [ ! -e "$file" ] || { echo "left: $file"; return 1; }; done
}
check "no file of the package is left" none_left
finish
