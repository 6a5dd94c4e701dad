#!/usr/bin/env bash
# The test programs and the fixture sessions, run again from a folder whose
# path holds a space and a letter outside ASCII, as a user's account name
# may: every path xllhost hands an add-in, compares or prints must survive
# it. Arguments: the folder of the built programs, the size of a pointer in
# them (4 or 8).
. "$(dirname "$0")/support/wine.sh"
bin=$1
pointer=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
odd="$scratch/with space/proj é"
mkdir -p "$odd" && ln -s "$bin" "$odd/bin"
passed=0
failed=0
for program in lifecycle_tests xllhost_tests bridge_tests addin_tests; do
  wine_said all "$odd/bin/$program.exe" --gtest_brief=1
  if [ "$got" -eq 0 ]; then
    passed=$((passed + 1))
  else
    echo "FAILED: $program, run from $odd/bin; it printed:"
    printf '%s\n' "$said" | sed 's/^/  /'
    failed=$((failed + 1))
  fi
done
if bash "$(dirname "$0")/fixture-sessions.sh" "$odd/bin/xllhost.exe" "$odd/bin" "$pointer"; then
  passed=$((passed + 1))
else
  echo "FAILED: the fixture sessions, run from $odd/bin"
  failed=$((failed + 1))
fi
echo "odd paths: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
