#!/bin/sh
# xllhost refuses input it cannot use with a one-line reason and exit status
# 2, never a crash or a verdict. Arguments: the xllhost program, an add-in.
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
  said=$(wine "$host" "$@" 2>&1 >/dev/null)
  status=$?
  if [ "$status" -eq 2 ] && printf '%s' "$said" | grep -q -- "$reason"; then
    passed=$((passed + 1))
  else
    echo "FAILED: xllhost $*: exit status $status, said: $said"
    failed=$((failed + 1))
  fi
}

expect "cannot be read" "$bin/no-such-addin.xll"
expect "longer than MAX_PATH" "$bin/$long.xll"
expect "is not a Windows DLL" "$bin/../CMakeCache.txt"
expect "is a Windows program, not a DLL" "$host"
expect "needs a formula" --formula "" "$addin"
expect "cannot calculate \"=1+\"" --formula "=1+" "$addin"
expect "cannot calculate \"TavikFnc()\"" --expect "TavikFnc()" "Tavik World" "$addin"
expect "no scenario \"exit\"" --scenario exit "$addin"
expect "a text without its closing quote" --formula '=TavikFnc("a)' "$addin"
expect "array rows of different lengths" --formula '=TavikFnc({1,2;3})' "$addin"
expect "calls NoSuch, which the add-in has not registered" --formula '=NoSuch()' "$addin"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
