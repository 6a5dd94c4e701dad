#!/usr/bin/env bash
# From download to cell: the release zip extracted into a fresh folder, its
# install.cmd run by Wine's cmd, then xllhost plays Excel's start-up from the
# start-up list in the registry and calculates =TavikFnc(); then uninstall.cmd
# and the start-up again. For each width, with another add-in's entry before
# ours and after it. Run by scripts/test --all after the installer tests.
source "$(dirname "$0")/release-in-wine.sh"
trap 'wine "$regstate" clear "HKCU\\Software\\Microsoft\\Office" clear "HKLM\\SOFTWARE\\Microsoft\\Office"
  rm -rf "$scratch" "$WINEPREFIX/drive_c/Other Add-ins"' EXIT
# The scratch folder as Windows names it, asked of Wine once.
win_scratch=$(windows "$scratch") || exit 1
options='HKCU\Software\Microsoft\Office\16.0\Excel\Options'
other='/R "C:\Other Add-ins\Entries.xll"'
passed=0
failed=0
check() {  # check WHAT STATUS GOT PATTERN...: the status, and each extended regex in the output
  local what=$1 want=$2 got=$3 pattern missing=()
  shift 3
  for pattern in "$@"; do grep -Eq -- "$pattern" "$scratch/out.txt" || missing+=("$pattern"); done
  if [ "$got" = "$want" ] && [ ${#missing[@]} -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what: exit status $got (must be $want)${missing:+; missing: ${missing[*]}}; it printed:"
    tr -d '\r' <"$scratch/out.txt" | sed 's/^/  /'
  fi
}
add_values() {  # add_values LINE...: loads regstate lines
  printf '%s\n' "$@" >"$scratch/registry.txt"
  wine "$regstate" load "$win_scratch\\registry.txt"
}
registry() {  # registry LINE...: clears the Office keys, then loads the lines
  add_values '-HKCU\Software\Microsoft\Office' '-HKLM\SOFTWARE\Microsoft\Office' "$@"
}
script() {  # script NAME: runs install.cmd or uninstall.cmd from the extracted zip, as a user would
  printf '@echo off\r\n"%s\\%s.cmd"\r\n' "$win_scratch\\${release##*/}" "$1" >"$scratch/driver.cmd"
  timeout 60 wine cmd /c "$win_scratch\\driver.cmd" </dev/null >"$scratch/out.txt" 2>&1
}
startup() {  # startup ARGUMENT...: Excel's start-up from the registry, in the xllhost of this width
  timeout 60 wine "$host" --from-registry "$@" </dev/null >"$scratch/out.txt" 2>&1
}

for width in 32 64; do
  target=mingw-x86_64 platform=x64
  [ "$width" = 32 ] && target=mingw-i686 platform=x86
  host="$ROOT/build/$target/bin/xllhost.exe"
  mkdir -p "$WINEPREFIX/drive_c/Other Add-ins"
  cp "$ROOT/build/$target/bin/entries.xll" "$WINEPREFIX/drive_c/Other Add-ins/Entries.xll"
  platform_line=$(printf 'HKLM\\SOFTWARE\\Microsoft\\Office\\ClickToRun\\Configuration\tPlatform\tsz\t%s' "$platform")
  for place in before after; do
    release="$scratch/download $width $place"
    rm -rf "$release" && unzip -q "$zip" -d "$release"
    if [ "$place" = before ]; then
      registry "$platform_line" "$(printf '%s\tOPEN\tsz\t%s' "$options" "$other")"
    else
      registry "$platform_line"
    fi
    script install
    check "$width-bit, other add-in $place: install.cmd" 0 $? "Quorrel$width.xll suits it"
    # After ours: the next number, as another installer would add it.
    [ "$place" = after ] && add_values "$(printf '%s\tOPEN1\tsz\t%s' "$options" "$other")"
    ours="Excel reads OPEN$([ "$place" = before ] && echo 1): /R \".*\\\\Microsoft\\\\AddIns\\\\Quorrel.xll\""
    startup --expect-title "Tavik Add-In" --expect '=TavikFnc()' 'Tavik World'
    check "$width-bit, other add-in $place: the start-up opens both and =TavikFnc() shows Tavik World" 0 $? \
      "$ours" "Excel loads C:.Other Add-ins.Entries.xll" "cell A1 =TavikFnc\(\) shows \"Tavik World\"" "Session clean"
    script uninstall
    check "$width-bit, other add-in $place: uninstall.cmd" 0 $? "uninstall: done"
    startup --expect '=TavikFnc()' '#NAME?'
    check "$width-bit, other add-in $place: after uninstalling, =TavikFnc() is unknown and the other add-in opens" 0 $? \
      "Excel reads OPEN: /R \"C:.Other Add-ins.Entries.xll\"" "cell A1 =TavikFnc\(\) shows #NAME\?" "Session clean"
  done
done

# What Excel would not load is said as such.
registry "$(printf '%s\tOPEN\tsz\t%s' "$options" "$other")" "$(printf '%s\tOPEN2\tsz\t%s' "$options" '/R "C:\After\Gap.xll"')"
startup
check "an entry after a gap in the numbers" 1 $? "OPEN2 holds /R \"C:.After.Gap.xll\", but Excel stops reading at the missing OPEN1"
registry "$(printf '%s\tOPEN\tsz\t%s' "$options" '/R "C:\Other Add-ins\Entries.xll')"
startup
check "a path without its closing quote" 2 $? "OPEN holds .*, whose path has no closing quote"

echo "download-to-cell: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
