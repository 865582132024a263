#!/usr/bin/env bash
# Runs clang-tidy with the root .clang-tidy on every source file of src/ that
# the native build compiles (and, through them, on the headers of src/ and
# include/morvane/). Fails on any warning.
#
#   JOBS  files checked at once (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

JOBS=${JOBS:-2}
build=build/tidy

source .ci/lib.sh

require clang-tidy cmake g++

# The dev preset's compile commands; only the library is needed.
cmake --preset dev -B "$build" -DMORVANE_BUILD_TESTS=OFF \
  -DMORVANE_BUILD_EXAMPLES=OFF >/dev/null

mapfile -t files < <(
  sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build/compile_commands.json" |
    grep "^$root/src/.*\.cpp$" | sort -u
)
((${#files[@]} > 0)) || { echo "tidy: no sources of src/ in $build"; exit 1; }
echo "tidy: ${#files[@]} files"

printf '%s\0' "${files[@]}" |
  xargs -0 -n 1 -P "$JOBS" clang-tidy -p "$build" --quiet \
    --warnings-as-errors='*'
echo "tidy: clean"
