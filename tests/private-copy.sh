#!/usr/bin/env bash
# Runs a test script of the tree from a copy of the tree that lies where a
# user's clone may: in a folder only its owner may enter (as mktemp makes it,
# and as Debian 12 makes home folders), under a path with a space and a
# letter outside ASCII. The copy holds the tree's files, committed or not,
# and builds with the tree's compiler cache. Argument: the script, relative
# to the tree.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
script=${1:?the test script to run, relative to the tree}
private=$(mktemp -d)  # mode 0700
trap 'rm -rf "${private:?}"' EXIT
copy="$private/with space/proj é"
mkdir -p "$copy"
echo "$(basename "$script" .sh): from a copy of the tree in $copy, a folder only its owner may enter" >&2
(cd "$ROOT" && git ls-files -z --cached --others --exclude-standard | tar --null -T - --ignore-failed-read -cf - 2>/dev/null) |
  tar -C "$copy" -xf -
CCACHE_DIR="$ROOT/build/ccache" bash "$copy/$script"
