#!/usr/bin/env bash
# Checks the library the way other projects consume it:
#   1. configures the release preset in a temporary tree, builds the library
#      and installs it into a temporary prefix (headers, versioned shared library, CMake package, pkg-config);
#   2. builds and runs a project that uses find_package(morvane CONFIG);
#   3. builds and runs a program compiled with `pkg-config --cflags --libs`;
#   4. builds and runs a parent project that add_subdirectory()s the source
#      tree, with morvane's own tests off.
# Each consumer runs in an empty directory and must leave no leak log there.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-2}

work=$(mktemp -d "${TMPDIR:-/tmp}/morvane-consumer.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

step() { echo "--- consumer: $*"; }

fail() {
  echo "consumer: FAILED: $*" >&2
  exit 1
}

# Runs a consumer program in a fresh directory of its own.
run_consumer() {
  local program=$1 rundir
  rundir=$(mktemp -d "$work/run.XXXXXX")
  (cd "$rundir" && "$program") || fail "$program exited with $?"
  [[ ! -e $rundir/bmemlog.log ]] || fail "$program left a leak log"
}

step "build the release preset's library and install it into $prefix"
# A build tree of its own, so that a release build already in build/release
# is neither reused nor disturbed.
cmake --preset release -B "$work/release" >/dev/null
cmake --build "$work/release" --target morvane -j "$jobs" >/dev/null
cmake --install "$work/release" --prefix "$prefix" >/dev/null

libdir=$(dirname "$(find "$prefix" -name 'libmorvane.so.1.0.0' -print -quit)")
[[ -d $libdir ]] || fail "no libmorvane.so.1.0.0 under $prefix"
[[ $(readlink "$libdir/libmorvane.so.1") == libmorvane.so.1.0.0 ]] ||
  fail "libmorvane.so.1 does not point at libmorvane.so.1.0.0"
[[ $(readlink "$libdir/libmorvane.so") == libmorvane.so.1 ]] ||
  fail "libmorvane.so does not point at libmorvane.so.1"
soname=$(objdump -p "$libdir/libmorvane.so.1.0.0" | awk '$1 == "SONAME" {print $2}')
[[ $soname == libmorvane.so.1 ]] || fail "SONAME is '$soname'"
for header in bmem.h export.h X3DMath.h XDllLoader.h XPtrList.h XString.h \
              XStringBuf.h XVector.h; do
  [[ -f $prefix/include/morvane/$header ]] || fail "header $header not installed"
done

step "find_package(morvane CONFIG) consumer"
cmake -S tests/consumer/cmake -B "$work/cmake-build" \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/cmake-build" -j "$jobs" >/dev/null
# The build tree's rpath names the installed library directory.
run_consumer "$work/cmake-build/cmake_consumer"

step "pkg-config consumer"
mkdir -p "$work/pkgconfig-build"
PKG_CONFIG_PATH=$libdir/pkgconfig make -s -C tests/consumer/pkgconfig \
  OUT="$work/pkgconfig-build"
LD_LIBRARY_PATH=$libdir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} \
  run_consumer "$work/pkgconfig-build/pkgconfig_consumer"

step "add_subdirectory consumer"
cmake -S tests/consumer/subdir -B "$work/subdir-build" \
  -DMORVANE_SOURCE_DIR="$root" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/subdir-build" -j "$jobs" >/dev/null
[[ ! -e $work/subdir-build/morvane/tests ]] ||
  fail "the parent project built morvane's tests"
run_consumer "$work/subdir-build/subdir_consumer"

echo "consumer: 3 passed, 0 failed"
