#!/usr/bin/env bash
# xllhost against damaged add-in files, each made from a copy of probe.xll:
# every one gets status 2 with one line saying what is wrong, or status 3
# naming the add-in that crashed; xllhost itself never faults. Arguments: the
# xllhost program, the folder of the fixture add-ins.
. "$(dirname "$0")/support/wine.sh"
host=$1
dir=$2
scratch=$(mktemp -d)
trap 'rm -rf "${scratch:?}"' EXIT
results=$scratch/results  # a line "passed" or "failed" per check, so that checks may run side by side

u32() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }
u16() { od -An -tu2 -j "$2" -N2 "$1" | tr -d ' '; }
put_u32() {  # put_u32 FILE OFFSET VALUE: little-endian, in place
  printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $(($3 & 255)) $(($3 >> 8 & 255)) $(($3 >> 16 & 255)) $(($3 >> 24 & 255)))" |
    dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
# Where the export directory's data-directory entry and the directory itself lie in FILE.
layout() {
  local file=$1 nt opt magic sections count at va raw size
  nt=$(u32 "$file" 60)
  opt=$((nt + 24))
  magic=$(u16 "$file" $opt)
  export_entry=$((opt + ($magic == 267 ? 96 : 112)))
  local rva
  rva=$(u32 "$file" $export_entry)
  count=$(u16 "$file" $((nt + 6)))
  sections=$((opt + $(u16 "$file" $((nt + 20)))))
  for ((at = sections; at < sections + 40 * count; at += 40)); do
    va=$(u32 "$file" $((at + 12))) size=$(u32 "$file" $((at + 16))) raw=$(u32 "$file" $((at + 20)))
    if [ "$rva" -ge "$va" ] && [ "$rva" -lt $((va + size)) ]; then export_directory=$((rva - va + raw)); fi
  done
}

# check WHAT STATUS PATTERN FILE [OPTION...]: xllhost with the options on FILE exits with STATUS, says PATTERN on
# one line of standard error.
check() {
  local what=$1 status=$2 pattern=$3 file=$4 said got
  wine_said errors "$host" --quiet "${@:5}" "$file"
  if [ "$got" -eq "$status" ] && [ "$(printf '%s\n' "$said" | grep -c .)" -eq 1 ] && printf '%s' "$said" | grep -Eq -- "$pattern"; then
    echo passed >>"$results"
  else
    printf 'FAILED: %s: exit status %s, not %s, or not one line saying "%s"; it said:\n%s\n' "$what" "$got" "$status" \
      "$pattern" "$(printf '%s\n' "$said" | sed 's/^/  /')"
    echo failed >>"$results"
  fi
}

damaged() {  # damaged NAME: a fresh copy of probe.xll to damage, its layout read
  cp "$dir/probe.xll" "$scratch/$1.xll"
  layout "$scratch/$1.xll"
  echo "$scratch/$1.xll"
}

file=$(damaged truncated)
size=$(stat -c %s "$file")
truncate -s $((size / 2)) "$file"
check "a file cut in half" 2 "truncated.xll is cut short: its sections run past the end of the file" "$file"

file=$(damaged outside) && layout "$file"
put_u32 "$file" "$export_entry" 2147418112
check "an export directory outside the file" 2 "outside.xll has an export directory that points outside the file" "$file"

file=$(damaged counts) && layout "$file"
put_u32 "$file" $((export_directory + 24)) 2147483647
check "export counts past the end" 2 "counts.xll has export counts that run past the end of the file" "$file"

file=$(damaged names) && layout "$file"
put_u32 "$file" $((export_directory + 32)) 2147418112
check "export names outside the file" 2 "names.xll has export counts that run past the end of the file" "$file"

check "an import of a DLL that exists nowhere" 2 "it needs quorrel-absent.dll, which Windows cannot find" "$dir/dependent.xll"
# Windows looks for the DLLs an add-in needs where it looks for any
# program's, not in the add-in's folder: run by a copy of xllhost in a folder
# of its own, the DLL beside the add-in is named, and not the API set that
# Windows provides; a DLL whose start-up fails is named as such.
mkdir "$scratch/host" "$scratch/beside"
cp "$host" "$(dirname "$host")/xlcall32.dll" "$scratch/host/"
cp "$dir/companioned.xll" "$dir/companion.dll" "$scratch/beside/"
host="$scratch/host/$(basename "$host")" check "a DLL beside the add-in, where Windows does not look" 2 \
  "companioned.xll: it needs companion.dll, which Windows cannot find \\(error 126\\); companion.dll lies in the add-in's folder" \
  "$scratch/beside/companioned.xll"
COMPANION_FAILS=1 check "a DLL whose DllMain answers FALSE" 2 \
  "companioned.xll: companion.dll, which it needs, failed its own start-up: its DllMain answered FALSE \\(error 1114\\)" \
  "$dir/companioned.xll"
# The loader catches a fault in the DllMain it runs and fails the load.
check "a DllMain that faults" 2 "faults_at_load.xll: it faulted while Windows loaded it, in its DllMain \\(error 998\\)" "$dir/faults_at_load.xll"

# An add-in that gives back the host's load in xlAutoClose returns into code
# no longer mapped: the report names the image the fault lies in.
check "an entry that faults once its add-in is unloaded" 3 "in the image of .*unloads\.xll, no longer loaded" "$dir/unloads.xll"

# Add-ins that do not return: each run ends at its time limit, naming what did
# not return and where the add-in's thread is. They wait, side by side.
for hang in "tls|the loader, running the add-in's DllMain or TLS callbacks, .*: it waits in Windows" \
  "dllmain|the loader, .*hangs\.xll\+0x[0-9A-F]+: it runs its own code" \
  "lock|the call of xlAutoOpen, .*: it waits in Windows \(on a lock" \
  "cell|the call of cell A1 =Spin\(\), .*hangs\.xll\+0x[0-9A-F]+: it runs its own code"; do
  (
    export HANG=${hang%%|*}
    check "an add-in that does not return ($HANG)" 3 "did not return: ${hang#*|}" "$dir/hangs.xll" --timeout 1
  ) &
done

# Stopped by its caller (a signal to it alone), scripts/xllhost leaves no
# xllhost.exe behind.
cp "$dir/hangs.xll" "$scratch/stopped.xll"
XLLHOST_EXE=$host "$(dirname "$0")/../scripts/xllhost" --quiet "$scratch/stopped.xll" >/dev/null 2>&1 &
stopped=$!
sleep 3
kill -TERM $stopped
for _ in $(seq 100); do kill -0 $stopped 2>/dev/null || break; sleep 0.1; done
sleep 1
if kill -0 $stopped 2>/dev/null; then
  echo "FAILED: scripts/xllhost stopped by its caller was still running 10 s later"
  pkill -KILL -f "$scratch/stopped.xll"
  echo failed >>"$results"
elif pgrep -f "$scratch/stopped.xll" >/dev/null; then
  echo "FAILED: scripts/xllhost stopped by its caller left xllhost.exe running"
  pkill -KILL -f "$scratch/stopped.xll"
  echo failed >>"$results"
else
  echo passed >>"$results"
fi

wait
passed=$(grep -c passed "$results")
failed=$(grep -c failed "$results")
echo "damaged add-ins: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
