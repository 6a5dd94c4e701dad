# Shared by the scripts: set-up, and configure and build of each target.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The CMake presets of the two builds: 32-bit and 64-bit Excel.
TARGETS=(mingw-i686 mingw-x86_64)

# Wine says nothing of its own and never offers to download its .NET or HTML engines.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Points BUILD, and Wine's Windows installation, at one target's build tree.
use_target() {
  PRESET=$1
  BUILD="$ROOT/build/$1"
  export WINEPREFIX="$BUILD/wineprefix"
}

build_target() {
  use_target "$1"
  cmake --preset "$PRESET" -S "$ROOT" >/dev/null
  cmake --build --preset "$PRESET" -j "$(nproc)" >/dev/null
}

"$ROOT/scripts/setup"
