#!/usr/bin/env bash
# install.cmd and uninstall.cmd from the release zip, run by Wine's cmd in the
# 64-bit build's prefix, against one table of starting states. Each case
# loads its registry state, runs the script, and compares every value of
# every Office key, type and bytes, with what it must be. Run by
# scripts/test --all after the package tests, which leave the zip in dist/.
source "$(dirname "$0")/release-in-wine.sh"
win_scratch=$(windows "$scratch") || exit 1
shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
# Wine's own value, to which the prefix, which serves the CTest programs too, goes back.
default_folder=$(printf '%s\tAppData\texpand_sz\t%s' "$shell_folders" '%USERPROFILE%\AppData\Roaming')
printf '%s\n' "$default_folder" >"$scratch/default-folder.txt"
# A folder that refuses deletes: root passes over permissions, not over the
# immutable attribute.
lock_folder() { if [ "$(id -u)" -eq 0 ]; then chattr +i "$1"; else chmod a-w "$1"; fi; }
unlock_folder() { [ -z "$1" ] || { chattr -i "$1" 2>/dev/null; chmod u+w "$1"; }; }
locked=""
stand_in=""
trap 'unlock_folder "$locked"
  [ -n "$stand_in" ] && kill "$stand_in" 2>/dev/null
  wine "$regstate" load "$win_scratch\\default-folder.txt" clear "HKCU\\Software\\Microsoft\\Office"
  rm -rf "$scratch"' EXIT
# The folder a user extracts to, with characters cmd treats specially. Not
# "&", "^" or "%": Wine's cmd mangles those in a script's own path.
release="$scratch/Quorrel $(project_version) (Tavik's) !"
unzip -q "$zip" -d "$release"

usual_profile=$(wine cmd /c echo %USERPROFILE% 2>/dev/null | tr -d '\r')
usual_appdata="${usual_profile:?Wine named no user profile}\\AppData\\Roaming"
appdata_of() {  # the roaming folder of each kind of profile
  case $1 in
    usual) printf '%s' "$usual_appdata" ;;
    accented) printf '%s' 'C:\users\Zoé Müller\AppData\Roaming' ;;
    bang) printf '%s' 'C:\users\Tavik! & Co ^1\AppData\Roaming' ;;
  esac
}
# Entries by letter: type and data. Q and q are ours; the others belong to
# other add-ins and hold what batch text processing used to damage. K is
# another setting of Excel's. J holds bytes after its NUL.
entry() {  # entry LETTER APPDATA
  case $1 in
    A) printf 'sz\t%s' '/R "C:\100% Sure\A.xll"' ;;
    B) printf 'sz\t%s' '"C:\Wow!\B.xll"' ;;
    C) printf 'sz\t%s' '"C:\50%off\E.xlam"' ;;
    D) printf 'sz\t%s' 'C:\My Addins\X.xla' ;;
    E) printf 'sz\t%s' '"C:\A&B\Y.xlam"' ;;
    F) printf 'sz\t%s' '/R "C:\Program Files (x86)\^caret\F.xll"' ;;
    G) printf 'sz\t%s' '"C:\say "hi"\G.xll"' ;;
    H) printf 'sz\t%s' '%APPDATA%\Literal\H.xll' ;;
    I) printf 'expand_sz\t%s' '/R "%APPDATA%\Vendor\I.xll"' ;;
    J) printf 'sz\thex:%s' "$(printf '/R J.xll\0X\0' | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 | tr -d ' \n')" ;;
    K) printf '4\thex:01000000' ;;
    Q) printf 'sz\t/R "%s\\Microsoft\\AddIns\\Quorrel.xll"' "$2" ;;
    q) printf 'expand_sz\t%s' '%APPDATA%\MICROSOFT\AddIns\quorrel.xll' ;;
  esac
}
# A layout is "15.0:OPEN=A,OPEN1=B;16.0:" (16.0's key without values): the
# lines regstate dumps for it, keys included.
state() {  # state LAYOUT APPDATA
  local version pairs pair key office='HKCU\Software\Microsoft\Office'
  [ -n "$1" ] && echo "$office"
  IFS=';' read -ra versions <<<"$1"
  for version in "${versions[@]}"; do
    pairs=${version#*:}
    version=${version%%:*}
    key="$office\\$version\\Excel\\Options"
    printf '%s\n' "$office\\$version" "$office\\$version\\Excel" "$key"
    IFS=',' read -ra list <<<"$pairs"
    for pair in "${list[@]}"; do printf '%s\t%s\t%s\n' "$key" "${pair%%=*}" "$(entry "${pair#*=}" "$2")"; done
  done | LC_ALL=C sort
}
file_state() {  # what is at the installed path: none, dir, the release's add-in of a width by its machine, or other
  if [ -d "$1" ]; then echo dir; elif [ ! -f "$1" ]; then echo none
  elif cmp -s "$1" "$release/Quorrel64.xll"; then echo 8664
  elif cmp -s "$1" "$release/Quorrel32.xll"; then echo 014c
  else echo other; fi
}

# Each profile's roaming folder as a Unix path, asked of Wine once.
declare -A unix_appdata_of
for profile in usual accented bang; do
  unix_appdata_of[$profile]=$(winepath -u "$(appdata_of "$profile")" 2>/dev/null)
  [ -n "${unix_appdata_of[$profile]}" ] || fail "Wine has no Unix name for $(appdata_of "$profile")"
done

hostile='OPEN=A,OPEN1=B,OPEN2=C,OPEN3=D,OPEN4=E,OPEN5=F,OPEN6=G,OPEN7=H,OPEN8=I,OPEN9=J,Font=K'
passed=0
failed=0
# what | command | Platform | profile | file before (none, dir, 8664, locked: in a folder that refuses deletes) | values before | after ("same": unchanged) | status | file after | output says
cases=(
  "no Options key|install|x64|usual|none||16.0:OPEN=Q|0|8664|(OPEN)"
  "OPEN taken by another add-in|install|x64|usual|none|16.0:OPEN=A|16.0:OPEN=A,OPEN1=Q|0|8664|(OPEN1)"
  "other add-ins' entries before ours|install|x64|usual|none|16.0:$hostile|16.0:$hostile,OPEN10=Q|0|8664|(OPEN10)"
  "other add-ins' entries after ours|uninstall|x64|usual|8664|16.0:OPEN=Q,OPEN1=A,OPEN2=B,OPEN3=C,OPEN4=D,OPEN5=E,OPEN6=F,OPEN7=G,OPEN8=H,OPEN9=I,OPEN10=J,Font=K|16.0:$hostile|0|none|moved down by one (10)"
  "a second install, our entry in another form|install|x64|usual|8664|16.0:OPEN=A,OPEN1=q|same|0|8664|already opens it at start-up (OPEN1)"
  "uninstall of the middle of three|uninstall|x64|usual|8664|16.0:OPEN=A,OPEN1=Q,OPEN2=B|16.0:OPEN=A,OPEN1=B|0|none|(OPEN1)"
  "15.0 and 16.0 with different counts|install|x64|usual|none|15.0:OPEN=A,OPEN1=B;16.0:|15.0:OPEN=A,OPEN1=B,OPEN2=Q;16.0:OPEN=Q|0|8664|Excel 15.0 opens it at start-up (OPEN2)"
  "uninstall from 15.0 and 16.0|uninstall|x64|usual|8664|15.0:OPEN=Q,OPEN1=C;16.0:OPEN=A,OPEN1=B,OPEN2=Q|15.0:OPEN=C;16.0:OPEN=A,OPEN1=B|0|none|Excel 15.0 no longer opens it"
  "a non-ASCII profile, second install|install|x64|accented|8664|16.0:OPEN=Q|same|0|8664|already opens it"
  "a non-ASCII profile, uninstall|uninstall|x64|accented|8664|16.0:OPEN=A,OPEN1=Q|16.0:OPEN=A|0|none|uninstall: done."
  "a profile path with ! & ^|install|x64|bang|none|16.0:OPEN=A|16.0:OPEN=A,OPEN1=Q|0|8664|(OPEN1)"
  "a file that cannot be deleted|uninstall|x64|usual|dir|15.0:OPEN=Q;16.0:OPEN=A,OPEN1=Q,OPEN2=I,OPEN3=J,Font=K|same|1|dir|start-up list is as it was"
  "Excel running|install|x64|usual|none|16.0:OPEN=A|same|3|none|Excel is running"
  "Platform arm64|install|arm64|usual|none||16.0:OPEN=Q|0|8664|Click-to-Run Platform arm64"
  "Platform x86|install|x86|usual|none||16.0:OPEN=Q|0|014c|Excel is 32-bit"
  "no width found: asks, and again after a wrong answer|install|none|usual|none||16.0:OPEN=Q|0|8664|\"7\" is neither 32 nor 64"
  "the width given|install 32|x64|usual|none||16.0:OPEN=Q|0|014c|(as asked)"
  "an add-ins folder that refuses deletes|uninstall|x64|usual|locked|15.0:OPEN=Q;16.0:OPEN=A,OPEN1=Q,OPEN2=B|same|1|8664|is still there"
  "an unknown width|install 99|x64|usual|none|16.0:OPEN=A|same|2|none|99 is not 32 or 64; nothing was changed. usage: install.cmd"
  "an unknown switch|install /foo|x64|usual|none|16.0:OPEN=A|same|2|none|/foo is not 32 or 64"
  "an extra argument|install 32 extra|x64|usual|none|16.0:OPEN=A|same|2|none|\"extra\" is one argument too many"
  "an argument to uninstall|uninstall now|x64|usual|8664|16.0:OPEN=Q|same|2|8664|usage: uninstall.cmd"
  "help for install|install --help|x64|usual|none|16.0:OPEN=A|same|0|none|usage: install.cmd [32|64]"
  "help for uninstall|uninstall --help|x64|usual|8664|16.0:OPEN=Q|same|0|8664|usage: uninstall.cmd"
)
printf '7\r\n64\r\n' >"$scratch/answers.txt"
win_regstate=$(windows "$regstate") || exit 1
win_release=$(windows "$release") || exit 1
office='HKCU\Software\Microsoft\Office'

# Compares what case N left, its registry dumped as after-N.txt, with what it must.
judge() {  # judge N FILE_STATE
  local n=$1 is_file=$2 what command platform profile file_before before after status file_after says
  IFS='|' read -r what command platform profile file_before before after status file_after says <<<"${cases[$n]}"
  [ "$after" = same ] && after=$before
  local script args got_status=${statuses[$n]} problems=()
  read -r script args <<<"$command"
  if [ "$got_status" -eq 124 ]; then
    problems+=("did not finish within 60 s")
  elif [ "$got_status" != "$status" ]; then
    problems+=("exit status $got_status, not $status")
  fi
  if ! differences=$(diff <(state "$after" "$(appdata_of "$profile")") <(LC_ALL=C sort "$scratch/after-$n.txt" 2>/dev/null)); then
    problems+=("the Office keys differ from what they must be (< must, > is):" "$differences")
  fi
  [ "$is_file" = "$file_after" ] || problems+=("the installed file is $is_file, not $file_after")
  grep -qF -- "$says" "$scratch/out-$n.txt" 2>/dev/null || problems+=("the output does not say \"$says\"")
  if [ ${#problems[@]} -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $script.cmd $args with $what"
    printf '%s\n' "${problems[@]}" | sed 's/^/  /'
    echo "  its output:"
    tr -d '\r' <"$scratch/out-$n.txt" 2>/dev/null | sed 's/^/    /'
  fi
}

# Each case's driver first dumps what the case before it left, in the same
# process that loads its own state: a Wine process start saved for each case.
statuses=()
previous_file=""
for n in "${!cases[@]}"; do
  IFS='|' read -r what command platform profile file_before before after status file_after says <<<"${cases[$n]}"
  read -r script args <<<"$command"
  appdata=$(appdata_of "$profile")
  installed="${unix_appdata_of[$profile]:?}/Microsoft/AddIns/Quorrel.xll"
  [ "$n" -gt 0 ] && previous_file=$(file_state "$previous_installed")
  unlock_folder "$locked" && locked=""
  rm -rf "$installed" && mkdir -p "${installed%/*}"
  case $file_before in
    8664) cp "$release/Quorrel64.xll" "$installed" ;;
    locked) cp "$release/Quorrel64.xll" "$installed" && locked=${installed%/*} && lock_folder "$locked" ;;
    dir) mkdir -p "$installed/in use" ;;
  esac
  {
    printf '%s\n' '-HKCU\Software\Microsoft\Office' '-HKLM\SOFTWARE\Microsoft\Office'
    state "$before" "$appdata"
    if [ "$profile" = usual ]; then
      echo "$default_folder"
    else
      printf '%s\tAppData\texpand_sz\t%s\n' "$shell_folders" "$appdata"
    fi
    [ "$platform" = none ] || printf 'HKLM\\SOFTWARE\\Microsoft\\Office\\ClickToRun\\Configuration\tPlatform\tsz\t%s\n' "$platform"
  } >"$scratch/before.txt"
  dump=""
  [ "$n" -gt 0 ] && dump="dump \"$office\" \"$win_scratch\\after-$((n - 1)).txt\" "
  # The driver ends in the script, without "call": Wine's cmd would turn a
  # called script's status into 0 or 1.
  {
    echo '@echo off'
    echo "\"$win_regstate\" ${dump}load \"$win_scratch\\before.txt\""
    echo "if \"%1\"==\"run\" \"$win_release\\$script.cmd\" $args"
  } | sed 's/$/\r/' >"$scratch/driver.cmd"

  if [ "$what" = "Excel running" ]; then
    cp "$WINEPREFIX/drive_c/windows/system32/ping.exe" "$scratch/EXCEL.EXE"
    wine "$scratch/EXCEL.EXE" -n 600 127.0.0.1 >/dev/null 2>&1 </dev/null &
    stand_in=$!
    sleep 1
  fi
  timeout 60 wine cmd /c "$win_scratch\\driver.cmd" run <"$scratch/answers.txt" >"$scratch/out-$n.txt" 2>&1
  statuses[$n]=$?
  if [ -n "$stand_in" ]; then kill "$stand_in" 2>/dev/null; wait "$stand_in" 2>/dev/null; stand_in=""; fi
  [ "$n" -gt 0 ] && judge $((n - 1)) "$previous_file"
  previous_installed=$installed
done
last=$((${#cases[@]} - 1))
previous_file=$(file_state "$previous_installed")
wine "$regstate" dump "$office" "$win_scratch\\after-$last.txt" </dev/null >/dev/null 2>&1
judge "$last" "$previous_file"
echo "installer: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
