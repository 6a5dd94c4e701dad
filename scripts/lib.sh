# Shared by the scripts: set-up, and configure and build of each target.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Wine maps Unix file names to Windows ones through the locale's character
# set: without a UTF-8 one (LANG unset, as under su - or in containers) a
# non-ASCII path has no Windows name and winepath answers nothing.
export LC_ALL=C.UTF-8
unset LANGUAGE

# The CMake presets of the two builds: 32-bit and 64-bit Excel.
TARGETS=(mingw-i686 mingw-x86_64)
# The test presets of the second compiler: the tree built with clang, and
# the MinGW tests run against the add-in built with clang-cl.
SECOND_COMPILER_TARGETS=(clang-i686 clang-x86_64 clang-cl-i686 clang-cl-x86_64)

# Wine says nothing of its own and never offers to download its .NET or HTML engines.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

fail() {
  echo "$(basename "$0"): $*" >&2
  exit 1
}

# Wine's Windows installation: one 64-bit prefix runs the programs of both
# targets, the tests' and the scripts' alike.
export WINEPREFIX="$ROOT/build/wineprefix"

# Points BUILD at one target's build tree.
use_target() {
  PRESET=$1
  BUILD="$ROOT/build/$1"
}

# Readies the prefix, quietly: what Wine says while it makes one goes to a
# log. Wine that cannot start is status 2: no verdict on any add-in.
wine_ready() {
  sh "$ROOT/cmake/wine-session" || { echo "$(basename "$0"): cannot start Wine (see build/wineprefix.log)" >&2; exit 2; }
}

# The project's version, as CMake took it from project(... VERSION ...).
project_version() {
  sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$ROOT/build/${TARGETS[0]}/CMakeCache.txt"
}

# The trees compile many of the same files with the same compiler and flags
# (the clang-cl add-in's tests are the MinGW tree's programs again), so
# compiles go through ccache when it is there, with a cache in build/ whose
# entries hold in any tree: paths under the clone are hashed relative to it.
# Its depend mode takes the headers from the compiler's dependency file
# instead of running the preprocessor once more, which costs a cold cache
# least.
LAUNCHER=()
if command -v ccache >/dev/null; then
  LAUNCHER=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # A cache named before (a copy of the tree that the tests build) is kept.
  export CCACHE_DIR="${CCACHE_DIR:-$ROOT/build/ccache}" CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1 CCACHE_DEPEND=1
fi

# A tree another generator made cannot be configured with Ninja: it is
# removed, to be made anew.
ninja_tree() {
  if [ -f "$1/CMakeCache.txt" ] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$1/CMakeCache.txt"; then
    rm -rf "${1:?}"
  fi
}

# Configures one preset and builds it, or only the given CMake targets: a
# first run needs no tests built to play a session. The compiler's output goes to a log; what
# shows is one line for each file compiled or linked, with Ninja's count of
# steps, so a warm build prints nothing and a cold one shows its progress.
build_target() {
  use_target "$1"
  shift
  local only=()
  [ $# -eq 0 ] || only=(--target "$@")
  local log="$ROOT/build/$PRESET.log"
  mkdir -p "$ROOT/build"
  ninja_tree "$BUILD"
  # A build tree configures itself again when a CMakeLists.txt changes; the
  # preset is read again when it is new or the presets changed.
  if [ ! -f "$BUILD/CMakeCache.txt" ] || [ "$ROOT/CMakePresets.json" -nt "$BUILD/CMakeCache.txt" ]; then
    [ -f "$BUILD/CMakeCache.txt" ] || echo "configuring $PRESET" >&2
    # CMake reads the presets from the current folder.
    local launcher=("${LAUNCHER[@]}")
    # ccache cannot follow clang-cl's own way of naming its objects.
    case $PRESET in clang-cl-i686 | clang-cl-x86_64) launcher=() ;; esac
    (cd "$ROOT" && cmake --preset "$PRESET" "${launcher[@]}") >"$log" 2>&1 || { cat "$log" >&2; fail "configuring $PRESET failed"; }
  else
    : >"$log"
  fi
  if ! (cd "$ROOT" && cmake --build --preset "$PRESET" -j "$(nproc)" "${only[@]}") 2>&1 | tee -a "$log" |
    sed -un "s/^\[\([0-9]*\/[0-9]*\)\] \(Building\|Linking\)/  $PRESET \1: \2/p" >&2; then
    tail -n 40 "$log" >&2
    fail "building $PRESET failed (whole log: ${log#"$ROOT"/})"
  fi
}

# Configures a tree built for Linux once, with Ninja and the compiler and
# flags the environment names, then builds it, or some of its targets:
# linux_tree NAME SOURCE WHAT ["TARGET..." [CMAKE_ARGUMENT...]]. What the tools
# say goes to build/NAME.log; WHAT names the tree in an error.
linux_tree() {
  local tree="$ROOT/build/$1" source=$2 what=$3 only=()
  [ -z "${4:-}" ] || read -ra only <<<"--target $4"
  mkdir -p "$ROOT/build"
  if [ ! -f "$tree/CMakeCache.txt" ]; then
    echo "configuring $1" >&2
    cmake -G Ninja -S "$ROOT/$source" -B "$tree" "${@:5}" >"$tree.log" 2>&1 ||
      { cat "$tree.log" >&2; fail "configuring $what failed"; }
  fi
  cmake --build "$tree" -j "$(nproc)" "${only[@]}" >>"$tree.log" 2>&1 ||
    { tail -n 40 "$tree.log" >&2; fail "building $what failed (whole log: build/$1.log)"; }
}

# Builds xllhost's programs for Linux (packaging/native) with the flags
# Debian builds its own with, into build/programs. Two commands may ask at
# once (the tests of both widths run scripts/xllhost side by side): the
# second waits for the first, as two builds into one tree corrupt it. The
# lock is held in this shell, not a subshell, so that a command stopped
# while it waits leaves no copy of itself behind; it ends with the shell.
PROGRAMS="$ROOT/build/programs"
build_programs() {
  mkdir -p "$ROOT/build"
  exec 9>"$PROGRAMS.lock"
  flock 9
  if [ ! -f "$PROGRAMS/CMakeCache.txt" ]; then  # asked only for the tree's first configure
    local -x CXXFLAGS LDFLAGS
    CXXFLAGS="$(cd "$ROOT" && dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
    LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
  fi
  linux_tree programs packaging/native "xllhost's programs for Linux" "xllhost-width xlsx-cells" -DCMAKE_BUILD_TYPE=None
  exec 9>&-
}

# Files a run with sudo left behind cannot be rewritten by the user, and Wine
# refuses a prefix that belongs to someone else.
if [ -e "$ROOT/build" ] && [ ! -O "$ROOT/build" ]; then
  fail "build/ belongs to another user (left by a run with sudo?); remove it (sudo rm -rf build) and run again"
fi

"$ROOT/scripts/setup"
