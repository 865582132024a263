#!/usr/bin/env bash
# The cross targets: installs the cross compilers and emulators, then runs
#   linux-x86    g++ -m32, configured, built and tested under qemu-i386;
#   windows-x64  mingw-w64, configured, built and tested under wine64; a
#                test that fails runs once more (its preset's repeat):
#                wine ends a program with no output when its server goes
#                away under it, while a fault fails both runs;
#   windows-x86  mingw-w64, configured and built; only the host-side
#                exported-names check runs, and the DLL's format is checked.
# Each Windows build is then packed by `cpack -G ZIP`, and the .zip checked.
# Each target prints its duration; any failure stops the run.
# MORVANE_CROSS_SKIP_INSTALL=1 skips the package step (for a machine that has
# them); arguments name the targets to run (default: all three).
set -euo pipefail
cd "$(dirname "$0")/.."
source .ci/lib.sh

export DEBIAN_FRONTEND=noninteractive
JOBS=${JOBS:-2}
export CMAKE_BUILD_PARALLEL_LEVEL=$JOBS
export CTEST_PARALLEL_LEVEL=$JOBS

PACKAGES=(cmake make googletest g++-multilib qemu-user
          g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64)
# What morvane.dll may import: system DLLs only, no compiler runtime.
SYSTEM_DLLS='^(KERNEL32|USER32|msvcrt)\.dll$'

install_packages() {
  if [[ ${MORVANE_CROSS_SKIP_INSTALL:-0} == 1 ]]; then return; fi
  apt_install "${PACKAGES[@]}"
}

# check_dll <objdump> <expected file format> <dll>
check_dll() {
  local objdump=$1 format=$2 dll=$3
  if ! "$objdump" -f "$dll" | grep -q "file format $format\$"; then
    echo "$dll is not a $format image" >&2
    return 1
  fi
  local imports
  imports=$("$objdump" -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p')
  if grep -Evq "$SYSTEM_DLLS" <<<"$imports"; then
    echo "$dll imports more than system DLLs:" "${imports//$'\n'/ }" >&2
    return 1
  fi
  echo "$dll: $format, imports" "${imports//$'\n'/ }"
}

# check_zip <build directory> <system name>: packs the build with CPack and
# checks that the .zip holds the DLL, its import library, the headers, the
# CMake package, morvane.pc and morvane-leaks.exe.
check_zip() {
  local build=$1 top version
  version=$(project_version)
  top=morvane-$version-$2
  rm -f "$build/$top.zip"
  (cd "$build" && cpack -G ZIP >/dev/null)
  local listing file
  listing=$(cmake -E tar tf "$build/$top.zip")
  for file in bin/morvane.dll bin/morvane-leaks.exe lib/libmorvane.dll.a \
              $(public_headers | sed 's|^|include/|') \
              lib/cmake/morvane/morvaneConfig.cmake \
              lib/cmake/morvane/morvaneConfigVersion.cmake \
              lib/cmake/morvane/morvaneTargets.cmake \
              lib/pkgconfig/morvane.pc; do
    if ! grep -qx "$top/$file" <<<"$listing"; then
      echo "$build/$top.zip lacks $file" >&2
      return 1
    fi
  done
  echo "$build/$top.zip: $(grep -vc '/$' <<<"$listing") files"
}

linux_x86() {
  cmake --workflow --preset linux-x86 --fresh
}

windows_x64() {
  cmake --workflow --preset windows-x64 --fresh
  check_dll x86_64-w64-mingw32-objdump pei-x86-64 build/windows-x64/src/morvane.dll
  check_dll x86_64-w64-mingw32-objdump pei-x86-64 build/windows-x64/tools/morvane-leaks.exe
  check_zip build/windows-x64 win64
  # Ends the wine server that the tests left waiting for more work.
  WINEPREFIX=$PWD/build/windows-x64/wineprefix /usr/lib/wine/wineserver -k 2>/dev/null || true
}

windows_x86() {
  cmake --workflow --preset windows-x86 --fresh
  check_dll i686-w64-mingw32-objdump pei-i386 build/windows-x86/src/morvane.dll
  check_dll i686-w64-mingw32-objdump pei-i386 build/windows-x86/tools/morvane-leaks.exe
  check_zip build/windows-x86 win32
}

run() {
  local name=$1 start=$SECONDS
  echo "=== cross: $name"
  "${name//-/_}"
  echo "=== cross: $name done in $((SECONDS - start)) s"
}

targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  targets=(linux-x86 windows-x64 windows-x86)
fi
run install-packages
for target in "${targets[@]}"; do
  run "$target"
done
echo "=== cross: all targets passed"
