#!/usr/bin/env bash
# Runs clang-tidy with the root .clang-tidy on every source file of src/ that
# the native build compiles (and, through them, on the headers of src/ and
# include/morvane/), then on the Windows-only sources with the compile
# commands of the windows-x64 configure (mingw-w64). Fails on any warning.
#
#   JOBS  files checked at once (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

JOBS=${JOBS:-2}
build=build/tidy

source .ci/lib.sh

require clang-tidy cmake g++ x86_64-w64-mingw32-g++-posix=g++-mingw-w64-x86-64

# The dev preset's compile commands; only the library is needed.
cmake --preset dev -B "$build" -DMORVANE_BUILD_TESTS=OFF \
  -DMORVANE_BUILD_EXAMPLES=OFF >/dev/null

# Every CI build makes warnings errors (lib.sh): the option reaches the
# compiler.
if werror && ! grep -q -- ' -Werror ' "$build/compile_commands.json"; then
  echo "tidy: MORVANE_WERROR=$MORVANE_WERROR, but the compile commands lack -Werror"
  exit 1
fi

mapfile -t files < <(
  sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build/compile_commands.json" |
    grep "^$root/src/.*\.cpp$" | sort -u
)
((${#files[@]} > 0)) || { echo "tidy: no sources of src/ in $build"; exit 1; }
echo "tidy: ${#files[@]} files"

printf '%s\0' "${files[@]}" |
  xargs -0 -n 1 -P "$JOBS" clang-tidy -p "$build" --quiet \
    --warnings-as-errors='*'

# The Windows-only sources. clang reads them for the compiler's own target,
# with that compiler's C++ headers in the order it searches them: clang 14
# does not find them itself, as their folder is named after the version and
# the thread model (12-posix) rather than the version alone. CMake's flag for
# hidden inline functions on MinGW, which clang does not know, is left out.
windows=build/tidy-windows
windows_files=("$root/src/platform/platform_windows.cpp" "$root/src/dllmain.cpp")
cmake --preset windows-x64 -B "$windows" -DMORVANE_BUILD_TESTS=OFF \
  -DMORVANE_BUILD_EXAMPLES=OFF >/dev/null
mkdir -p "$windows/tidy"
sed 's/ -fno-keep-inline-dllexport//' "$windows/compile_commands.json" \
  >"$windows/tidy/compile_commands.json"
compiler=$(sed -n 's/^ *"command": "\([^ ]*\) .*/\1/p' \
  "$windows/compile_commands.json" | head -n 1)
mapfile -t cxx_includes < <(
  "$compiler" -x c++ -E -v - </dev/null 2>&1 | sed -n 's|^ \(/.*/include/c++.*\)$|\1|p'
)
((${#cxx_includes[@]} > 0)) || { echo "tidy: no C++ headers of $compiler"; exit 1; }
echo "tidy: ${#windows_files[@]} Windows files"
printf '%s\0' "${windows_files[@]}" |
  xargs -0 -n 1 -P "$JOBS" clang-tidy -p "$windows/tidy" --quiet \
    --warnings-as-errors='*' \
    --extra-arg=--target="$("$compiler" -dumpmachine)" \
    "${cxx_includes[@]/#/--extra-arg=-isystem}"
echo "tidy: clean"
