# Shared by the scripts: set-up, configure and build of the 32-bit tree.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PRESET=mingw-i686
BUILD="$ROOT/build/i686"

# Wine keeps its Windows installation inside the build tree, says nothing of
# its own, and never offers to download its .NET or HTML engines.
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

build_all() {
  "$ROOT/scripts/setup"
  cmake --preset "$PRESET" -S "$ROOT" >/dev/null
  cmake --build --preset "$PRESET" -j "$(nproc)" >/dev/null
}
