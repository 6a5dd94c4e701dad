# Sourced by the tests that run the release zip under Wine: the zip, the
# 64-bit build's prefix with its wineserver, the registry tool, a scratch
# folder (the caller removes it), and Windows paths.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
set +e  # a failing case is counted, not the end of the run
zip="$ROOT/dist/Quorrel-$(project_version).zip"
[ -f "$zip" ] || fail "no ${zip#"$ROOT"/}: run scripts/package first"
wine_ready
scratch=$(mktemp -d)
# The registry tool runs from the scratch folder: Wine's cmd cannot start a
# program whose path holds a letter outside ASCII, as a checkout's may.
cp "$ROOT/build/mingw-i686/bin/regstate.exe" "$scratch/regstate.exe" || fail "no regstate.exe in build/mingw-i686"
regstate="$scratch/regstate.exe"
# A Windows path as Wine names it; an empty answer ends the run, since every
# caller builds a path from it.
windows() {
  local path
  path=$(winepath -w "$1" 2>/dev/null)
  [ -n "$path" ] || fail "Wine has no Windows name for $1"
  printf '%s' "$path"
}
