# Sourced by the shell tests, POSIX sh. wine_said OUTPUT PROGRAM ARG...:
# runs PROGRAM under Wine and keeps what it printed in `said` (OUTPUT: all,
# or errors for standard error alone) and its exit status in `got`. Wine
# itself now and then fails to start a process at all, which says nothing of
# the program: such a start is tried once more.
wine_said() {
  output=$1
  shift
  for try in 1 2; do
    if [ "$output" = errors ]; then said=$(wine "$@" 2>&1 >/dev/null); else said=$(wine "$@" 2>&1); fi
    got=$?
    case $said in *"Application could not be started"*) ;; *) return 0 ;; esac
  done
}
