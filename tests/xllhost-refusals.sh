#!/bin/sh
# xllhost refuses input it cannot use with a one-line reason and exit status
# 2, never a crash or a verdict. Arguments: the xllhost program, an add-in.
. "$(dirname "$0")/support/wine.sh"
host=$1
addin=$2
bin=$(dirname "$host")
long=$(printf '%0300d' 0)
failed=0
passed=0

# expect REASON ARGUMENT...: xllhost with these arguments says REASON and exits 2.
expect() {
  reason=$1
  shift
  wine_said errors "$host" "$@"
  status=$got
  if [ "$status" -eq 2 ] && printf '%s' "$said" | grep -q -- "$reason"; then
    passed=$((passed + 1))
  else
    echo "FAILED: xllhost $*: exit status $status, said: $said"
    failed=$((failed + 1))
  fi
}

expect "no-such-addin.xll is not found" "$bin/no-such-addin.xll"
expect "--expect =TavikFnc() needs what the cell must show" --expect "=TavikFnc()" "$addin"
expect "longer than MAX_PATH" "$bin/$long.xll"
expect "is not a Windows DLL" "$bin/../CMakeCache.txt"
expect "is a Windows program, not a DLL" "$host"
expect "needs a formula" --formula "" "$addin"
expect "cannot read the formula \"=1+\"" --formula "=1+" "$addin"
expect "cannot read the formula \"TavikFnc()\"" --expect "TavikFnc()" "Tavik World" "$addin"
expect "no scenario \"exit\"" --scenario exit "$addin"
expect "a text without its closing quote" --formula '=TavikFnc("a)' "$addin"
expect "array rows of different lengths" --formula '=TavikFnc({1,2;3})' "$addin"
expect "calls NoSuch, which the add-in has not registered" --formula '=NoSuch()' "$addin"
# one_line REASON ARGUMENT...: as expect, and the reason is all it says.
one_line() {
  reason=$1
  shift
  wine_said errors "$host" "$@"
  status=$got
  if [ "$status" -eq 2 ] && [ "$(printf '%s\n' "$said" | grep -c .)" -eq 1 ] && printf '%s' "$said" | grep -q -- "$reason"; then
    passed=$((passed + 1))
  else
    echo "FAILED: xllhost $*: exit status $status, not one line with \"$reason\": $said"
    failed=$((failed + 1))
  fi
}

# Each command-line error is one line that points at --help.
one_line "no option --bogus; see --help" --bogus "$addin"
one_line "--scenario needs a value; see --help" "$addin" --scenario
one_line "--expect needs a formula and what it must show; see --help" --expect "=TavikFnc()"
one_line "one add-in at a time" "$addin" "$addin"
one_line "the add-in's path is empty" ""
expect "cannot read the formulas file" --formulas "$bin/no-such-formulas.txt" "$addin"
# Formulas too long for a command line come from a file, one a line.
formulas=$(mktemp)
printf '=TavikFnc()\r\n\n=NoSuch(%s)\n' "$(printf '%01000d' 0)" >"$formulas"
expect "calls NoSuch, which the add-in has not registered" --formulas "$(winepath -w "$formulas" 2>/dev/null)" "$addin"
rm -f "$formulas"
# A DLL that exports none of the entries Excel calls.
expect "is not an Excel add-in" "$bin/xlcall32.dll"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
