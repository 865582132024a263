#!/usr/bin/env bash
# Checks the library the way other projects consume it:
#   1. the plain install: the package preset's library, configured in a
#      temporary tree for a temporary prefix (the `lib` layout), installed
#      with `cmake --install`;
#   2. the packages: `cmake --workflow --preset package` (build/package);
#      the .deb fields (name, version, architecture, dependencies) and file
#      lists are checked, both are unpacked with `dpkg-deb -x` into a
#      temporary root (the Debian layout below usr/, multiarch lib
#      directory), and the .tar.gz into another; the .deb's library is
#      stripped and its morvane.pc names /usr plainly, while the tarball's
#      morvane.pc finds its prefix from its own location;
#   3. for the plain install, the unpacked .debs and the unpacked tarball:
#      the installed files (versioned library, links, SONAME, headers), then
#      a project that uses find_package(morvane CONFIG) and a program built
#      with `pkg-config --cflags --libs morvane` (for the .debs with the
#      unpacked root as PKG_CONFIG_SYSROOT_DIR), each built and run;
#   4. a parent project that add_subdirectory()s the source tree, with
#      morvane's own tests off;
#   5. the installed morvane-leaks (from the unpacked .debs) on a small log.
# Each consumer project of 3 and 4 builds the README tour, and
# examples/faces/faces.cpp once as C++17 and once as C++20 with the plug-in
# that it loads (faces checks its own answers and exits non-zero on a wrong
# one). Each consumer program is built with morvane's warnings (errors unless
# MORVANE_WERROR=OFF), runs in an empty directory and must leave no leak log
# there.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-2}

source .ci/lib.sh
require cmake g++ make pkg-config dpkg-shlibdeps=dpkg-dev file

work=$(mktemp -d "${TMPDIR:-/tmp}/morvane-consumer.XXXXXX")
trap 'rm -rf "$work"' EXIT

version=$(project_version)
major=${version%%.*}
arch=$(dpkg --print-architecture)
multiarch=$(gcc -print-multiarch)
runtime_deb=build/package/libmorvane${major}_${version}_${arch}.deb
dev_deb=build/package/libmorvane-dev_${version}_${arch}.deb
tarball=build/package/morvane-${version}-Linux.tar.gz
mapfile -t headers < <(public_headers)
passed=0

# The warning options of morvane's own targets (cmake/MorvaneWarnings.cmake).
consumer_flags="-Wall -Wextra -Wpedantic"
if werror; then consumer_flags+=" -Werror"; fi

step() { echo "--- consumer: $*"; }

fail() {
  echo "consumer: FAILED: $*" >&2
  exit 1
}

# run_consumer <program> [<argument>...]: runs a consumer program in a
# fresh directory of its own.
run_consumer() {
  local program=$1 rundir
  rundir=$(mktemp -d "$work/run.XXXXXX")
  (cd "$rundir" && "$@") || fail "$program exited with $?"
  [[ ! -e $rundir/bmemlog.log ]] || fail "$program left a leak log"
  passed=$((passed + 1))
}

# run_faces <directory>: runs the C++17 and C++20 builds of faces.cpp there
# with the plug-in built beside them.
run_faces() {
  local standard
  for standard in 17 20; do
    run_consumer "$1/faces_cxx$standard" "$1/consumer_plugin.so"
  done
}

# check_and_consume <label> <prefix> <lib directory below the prefix>
#                   [<pkg-config sysroot>]
check_and_consume() {
  local label=$1 prefix=$2 libdir=$2/$3 build=$work/$1 sysroot=${4:-}
  step "$label: the installed files below $prefix"
  [[ -f $libdir/libmorvane.so.$version ]] || fail "no $libdir/libmorvane.so.$version"
  [[ $(readlink "$libdir/libmorvane.so.$major") == libmorvane.so.$version ]] ||
    fail "libmorvane.so.$major does not point at libmorvane.so.$version"
  [[ $(readlink "$libdir/libmorvane.so") == libmorvane.so.$major ]] ||
    fail "libmorvane.so does not point at libmorvane.so.$major"
  local soname
  soname=$(objdump -p "$libdir/libmorvane.so.$version" | awk '$1 == "SONAME" {print $2}')
  [[ $soname == libmorvane.so.$major ]] || fail "SONAME is '$soname'"
  [[ -x $prefix/bin/morvane-leaks ]] || fail "no $prefix/bin/morvane-leaks"
  local header
  for header in "${headers[@]}"; do
    [[ -f $prefix/include/$header ]] || fail "header $header not installed"
  done

  step "$label: find_package(morvane CONFIG) consumer"
  # Not SYSTEM: the warnings also cover morvane's headers.
  cmake -S tests/consumer/cmake -B "$build/cmake" \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS="$consumer_flags" -DCMAKE_NO_SYSTEM_FROM_IMPORTED=ON \
    >/dev/null
  grep -qx "morvane_DIR:PATH=$libdir/cmake/morvane" "$build/cmake/CMakeCache.txt" ||
    fail "find_package did not take the package below $prefix"
  cmake --build "$build/cmake" -j "$jobs" >/dev/null
  # The build tree's rpath names the installed library directory.
  run_consumer "$build/cmake/cmake_consumer"
  run_faces "$build/cmake"

  step "$label: pkg-config consumer"
  mkdir -p "$build/pkgconfig"
  PKG_CONFIG_PATH=$libdir/pkgconfig PKG_CONFIG_SYSROOT_DIR=$sysroot \
    make -s -C tests/consumer/pkgconfig OUT="$build/pkgconfig" \
    CXXFLAGS="-O2 $consumer_flags"
  local library_path=$libdir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
  LD_LIBRARY_PATH=$library_path run_consumer "$build/pkgconfig/pkgconfig_consumer"
  LD_LIBRARY_PATH=$library_path run_faces "$build/pkgconfig"
}

# deb_field <package file> <field>
deb_field() { dpkg-deb -f "$1" "$2"; }

# expect_files <package file> <path>...: the package's regular files and
# links are exactly these paths (below ./).
expect_files() {
  local deb=$1; shift
  local actual expected
  actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort)
  expected=$(printf '%s\n' "$@" | sort)
  [[ $actual == "$expected" ]] ||
    fail "$deb holds"$'\n'"$actual"$'\n'"instead of"$'\n'"$expected"
}

step "plain install: the package preset's library, installed into $work/prefix"
# A build tree of its own, so that build/package is neither reused nor
# disturbed, configured for a prefix of its own.
cmake --preset package -B "$work/plain" -DCMAKE_INSTALL_PREFIX="$work/prefix" >/dev/null
cmake --build "$work/plain" --target morvane morvane-leaks -j "$jobs" >/dev/null
cmake --install "$work/plain" >/dev/null

step "packages: cmake --workflow --preset package"
rm -f build/package/*.deb build/package/*.tar.gz
cmake --workflow --preset package >/dev/null
for file in "$runtime_deb" "$dev_deb" "$tarball"; do
  [[ -f $file ]] || fail "the package workflow made no $file"
done

step "packages: fields and files of the .debs"
[[ $(deb_field "$runtime_deb" Package) == libmorvane$major ]] || fail "runtime package name"
[[ $(deb_field "$dev_deb" Package) == libmorvane-dev ]] || fail "development package name"
for deb in "$runtime_deb" "$dev_deb"; do
  [[ $(deb_field "$deb" Version) == "$version" ]] || fail "$deb: Version"
  [[ $(deb_field "$deb" Architecture) == "$arch" ]] || fail "$deb: Architecture"
done
# The development package's program needs the C and C++ runtimes as well.
dev_depends=$(deb_field "$dev_deb" Depends)
[[ ", $dev_depends, " == *", libmorvane$major (= $version), "* ]] ||
  fail "$dev_deb: Depends '$dev_depends' lacks libmorvane$major (= $version)"
depends=$(deb_field "$runtime_deb" Depends)
for needed in libc6 libstdc++6; do
  [[ $depends == *"$needed ("* ]] || fail "$runtime_deb: Depends '$depends' lacks $needed"
  [[ $dev_depends == *"$needed ("* ]] || fail "$dev_deb: Depends '$dev_depends' lacks $needed"
done
dpkg-deb --ctrl-tarfile "$runtime_deb" | tar -xO ./shlibs |
  grep -qx "libmorvane $major libmorvane$major (>= $version)" ||
  fail "$runtime_deb: no shlibs entry for libmorvane.so.$major"
lib=usr/lib/$multiarch
expect_files "$runtime_deb" "$lib/libmorvane.so.$version" "$lib/libmorvane.so.$major"
expect_files "$dev_deb" "$lib/libmorvane.so" usr/bin/morvane-leaks \
  "$lib/cmake/morvane/morvaneConfig.cmake" \
  "$lib/cmake/morvane/morvaneConfigVersion.cmake" \
  "$lib/cmake/morvane/morvaneTargets.cmake" \
  "$lib/cmake/morvane/morvaneTargets-release.cmake" \
  "$lib/pkgconfig/morvane.pc" "${headers[@]/#/usr/include/}"

step "packages: unpacked into $work/debroot and $work/tarroot"
for deb in "$runtime_deb" "$dev_deb"; do
  dpkg-deb -x "$deb" "$work/debroot"
done
mkdir -p "$work/tarroot"
tar -xzf "$tarball" -C "$work/tarroot"

step "packages: the .deb's library is stripped, its morvane.pc plain"
sections=$(readelf -S --wide "$work/debroot/$lib/libmorvane.so.$version")
grep -q ' \.dynsym ' <<<"$sections" || fail "the .deb's library has no dynamic symbols"
! grep -E ' \.(symtab|debug_[a-z_]*|zdebug_[a-z_]*) ' <<<"$sections" ||
  fail "the .deb's library keeps the sections above"
deb_pc=$work/debroot/$lib/pkgconfig/morvane.pc
expected_pc=$(cat <<EOF
prefix=/usr
libdir=\${prefix}/lib/$multiarch
includedir=\${prefix}/include
EOF
)
[[ $(head -n 3 "$deb_pc") == "$expected_pc" ]] ||
  fail "$deb_pc begins"$'\n'"$(head -n 3 "$deb_pc")"$'\n'"instead of"$'\n'"$expected_pc"
tar_prefix=$work/tarroot/morvane-$version-Linux
# shellcheck disable=SC2016 # ${pcfiledir} is pkg-config's, not the shell's
grep -qx 'prefix=${pcfiledir}/../../..' "$tar_prefix/lib/$multiarch/pkgconfig/morvane.pc" ||
  fail "the tarball's morvane.pc does not find its prefix from its own location"

check_and_consume plain "$work/prefix" lib
check_and_consume deb "$work/debroot/usr" "lib/$multiarch" "$work/debroot"
check_and_consume tarball "$tar_prefix" "lib/$multiarch"

step "add_subdirectory consumer"
cmake -S tests/consumer/subdir -B "$work/subdir-build" \
  -DMORVANE_SOURCE_DIR="$root" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="$consumer_flags" -DMORVANE_WERROR="$MORVANE_WERROR" \
  >/dev/null
cmake --build "$work/subdir-build" -j "$jobs" >/dev/null
[[ ! -e $work/subdir-build/morvane/tests ]] ||
  fail "the parent project built morvane's tests"
run_consumer "$work/subdir-build/subdir_consumer"
run_faces "$work/subdir-build"

step "the installed morvane-leaks on a small log"
case_dir=tests/leaks/RanksByBytesThenBlocksThenFileAndLine
summary=$(cd "$case_dir" && "$work/debroot/usr/bin/morvane-leaks" bmemlog.log) ||
  fail "morvane-leaks exited with $?"
[[ $summary == "$(sed '/^--- stderr$/,$d' "$case_dir/expected.txt")" ]] ||
  fail "morvane-leaks printed"$'\n'"$summary"
passed=$((passed + 1))

echo "consumer: $passed passed, 0 failed"
