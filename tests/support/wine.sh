# Sourced by the shell tests, POSIX sh. wine_said OUTPUT PROGRAM ARG...:
# runs PROGRAM under Wine and keeps what it printed in `said` (OUTPUT: all,
# or errors for standard error alone) and its exit status in `got`. Wine
# itself now and then fails to start a process at all, which says nothing of
# the program: such a start is tried once more.
#
# The output goes through a file, not a pipe: a wineserver that this run
# happens to start inherits the run's output and keeps it open until it
# exits, which may be long after the program has ended. A run that has not
# ended after WINE_SAID_LIMIT seconds (120) is stopped, status 124, so that
# a check fails with what it said instead of the whole test timing out.
wine_said() {
  output=$1
  shift
  capture=$(mktemp)
  for try in 1 2; do
    if [ "$output" = errors ]; then
      timeout -k 5 "${WINE_SAID_LIMIT:-120}" wine "$@" 2>"$capture" >/dev/null
    else
      timeout -k 5 "${WINE_SAID_LIMIT:-120}" wine "$@" >"$capture" 2>&1
    fi
    got=$?
    said=$(cat "$capture")
    case $said in *"Application could not be started"*) ;; *) break ;; esac
  done
  rm -f "$capture"
}
