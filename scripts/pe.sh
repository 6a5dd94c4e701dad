# Sourced: the machine field of a PE file's header, 014c for x86 and 8664
# for x64; nothing for a file that is no PE image.
pe_machine() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$pe" ] || return 0
  od -An -tx2 -j$((pe + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}

# The width of the xllhost that runs the add-in among the arguments: 32 or
# 64 by its PE header; without one, XLLHOST_WIDTH, else 64.
addin_width() {
  local width=${XLLHOST_WIDTH:-64} arg
  for arg in "$@"; do
    [ -f "$arg" ] || continue
    case $(pe_machine "$arg") in
      014c) width=32 ;;
      8664) width=64 ;;
    esac
  done
  echo "$width"
}
