#!/usr/bin/env bash
# install.cmd and uninstall.cmd from the release zip, run by Wine's cmd in a
# scratch prefix whose registry each case prepares and reads back. Run by
# scripts/test after the package tests, which leave the zip in dist/.
source "$(dirname "$0")/../scripts/lib.sh"
set +e  # a failing case is counted, not the end of the run
zip="$ROOT/dist/Quorrel-$(project_version).zip"
[ -f "$zip" ] || fail "no ${zip#"$ROOT"/}: run scripts/package first"
export WINEPREFIX="$ROOT/build/installer-prefix" WINEDEBUG=-all
sh "$ROOT/cmake/wine-session" || exit 1
scratch=$(mktemp -d)
stand_in=""
trap '[ -n "$stand_in" ] && kill "$stand_in" 2>/dev/null; rm -rf "$scratch"' EXIT
release="$scratch/Quorrel $(project_version)"  # the folder a user extracts to, with a space
unzip -q "$zip" -d "$release"
windows() { winepath -w "$1" 2>/dev/null; }

profile=$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
spaced='C:\users\Tavik & User\AppData\Roaming'
options='HKCU\Software\Microsoft\Office\16.0\Excel\Options'
alpha='/R "C:\Other Add-ins\Alpha.xll"'
beta='"C:\Other Add-ins\Beta.xlam"'

# Entries of the table name values by letter: A and B are other add-ins', Q is ours.
entry() {  # entry LETTER APPDATA
  case $1 in
    A) printf '%s' "$alpha" ;;
    B) printf '%s' "$beta" ;;
    Q) printf '/R "%s\\Microsoft\\AddIns\\Quorrel.xll"' "$2" ;;
  esac
}
expected_values() {  # expected_values "OPEN=A OPEN1=Q" APPDATA: one NAME=DATA line each
  local pair
  for pair in $1; do printf '%s=%s\n' "${pair%%=*}" "$(entry "${pair#*=}" "$2")"; done
}
machine() {  # the PE file's machine field: 014c for x86, 8664 for x64
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' '
}

passed=0
failed=0
# what | script | Platform | profile | OPEN values before | after | exit status | installed file | output names
cases=(
  "no Options key|install|x64|usual||OPEN=Q|0|8664|(OPEN)"
  "OPEN taken by another add-in|install|x64|usual|OPEN=A|OPEN=A OPEN1=Q|0|8664|(OPEN1)"
  "a gap: OPEN and OPEN2|install|x64|usual|OPEN=A OPEN2=B|OPEN=A OPEN1=Q OPEN2=B|0|8664|(OPEN1)"
  "already installed|install|x64|usual|OPEN=Q|OPEN=Q|0|8664|already opens it"
  "uninstall in the middle of three|uninstall|x64|usual|OPEN=A OPEN1=Q OPEN2=B|OPEN=A OPEN1=B|0|none|moved down"
  "Platform x86|install|x86|usual||OPEN=Q|0|014c|Excel is 32-bit"
  "a profile path with spaces and an &|install|x64|spaced||OPEN=Q|0|8664|Tavik & User"
  "Excel running|install|x64|usual|OPEN=A|OPEN=A|1|none|Excel is running"
)
for row in "${cases[@]}"; do
  IFS='|' read -r what script platform profile_kind before after status file says <<<"$row"
  appdata=$profile
  [ "$profile_kind" = spaced ] && appdata=$spaced
  addins=$(winepath -u "$appdata" 2>/dev/null)/Microsoft/AddIns
  rm -rf "$(winepath -u "$profile" 2>/dev/null)/Microsoft/AddIns" "$(winepath -u "$spaced" 2>/dev/null)"
  if [ "$script" = uninstall ]; then
    mkdir -p "$addins" && cp "$release/Quorrel64.xll" "$addins/Quorrel.xll"
  fi

  driver="$scratch/driver.cmd"
  {
    echo '@echo off'
    echo 'reg delete "HKCU\Software\Microsoft\Office" /f >nul 2>&1'
    echo 'reg delete "HKLM\SOFTWARE\Microsoft\Office" /f /reg:64 >nul 2>&1'
    echo "reg add \"HKLM\\SOFTWARE\\Microsoft\\Office\\ClickToRun\\Configuration\" /v Platform /d $platform /f /reg:64 >nul"
    while IFS='=' read -r name data; do
      [ -n "$name" ] && echo "reg add \"$options\" /v $name /d \"${data//\"/\\\"}\" /f >nul"
    done < <(expected_values "$before" "$appdata")
    echo "set \"APPDATA=$appdata\""
    echo "call \"$(windows "$release")\\$script.cmd\" >\"$(windows "$scratch")\\out.txt\" 2>&1"
    echo ">\"$(windows "$scratch")\\status.txt\" echo %errorlevel%"
    echo "reg query \"$options\" >\"$(windows "$scratch")\\after.txt\" 2>nul"
  } | sed 's/$/\r/' >"$driver"

  if [ "$what" = "Excel running" ]; then
    cp "$WINEPREFIX/drive_c/windows/system32/ping.exe" "$scratch/EXCEL.EXE"
    wine "$scratch/EXCEL.EXE" -n 600 127.0.0.1 >/dev/null 2>&1 </dev/null &
    stand_in=$!
    sleep 1
  fi
  wine cmd /c "$(windows "$driver")" </dev/null >/dev/null 2>&1
  if [ -n "$stand_in" ]; then kill "$stand_in" 2>/dev/null; wait "$stand_in" 2>/dev/null; stand_in=""; fi

  problems=()
  got_status=$(tr -d '\r' <"$scratch/status.txt" 2>/dev/null)
  [ "$got_status" = "$status" ] || problems+=("exit status $got_status, not $status")
  got_values=$(tr -d '\r' <"$scratch/after.txt" 2>/dev/null | sed -n 's/^    \(OPEN[0-9]*\)    REG_SZ    \(.*\)$/\1=\2/p' | sort)
  want_values=$(expected_values "$after" "$appdata" | sort)
  [ "$got_values" = "$want_values" ] || problems+=("OPEN values: ${got_values//$'\n'/; }" "instead of:  ${want_values//$'\n'/; }")
  if [ "$file" = none ]; then
    [ ! -e "$addins/Quorrel.xll" ] || problems+=("Quorrel.xll is installed")
  elif [ ! -f "$addins/Quorrel.xll" ]; then
    problems+=("Quorrel.xll is not in $addins")
  else
    [ "$(machine "$addins/Quorrel.xll")" = "$file" ] || problems+=("the installed file's machine is $(machine "$addins/Quorrel.xll"), not $file")
  fi
  grep -qF -- "$says" "$scratch/out.txt" 2>/dev/null || problems+=("the output does not say \"$says\"")

  if [ ${#problems[@]} -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $script.cmd with $what"
    printf '  %s\n' "${problems[@]}"
    echo "  its output:"
    tr -d '\r' <"$scratch/out.txt" | sed 's/^/    /'
  fi
done
echo "installer: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
