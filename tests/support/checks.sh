# Sourced by the shell tests that count their checks (bash). check WHAT
# COMMAND...: the command must succeed. A failure prints WHAT and the last 60
# lines of the command's output, and is counted: it never ends the run.
# The output goes to a file in `scratch`, the test's own folder.
passed=0
failed=0
check() {
  local what=$1
  shift
  if "$@" >"$scratch/out" 2>&1; then
    passed=$((passed + 1))
  else
    echo "FAILED: $what"
    tail -n 60 "$scratch/out" | sed 's/^/  /'
    failed=$((failed + 1))
  fi
}
