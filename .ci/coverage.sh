#!/usr/bin/env bash
# Builds the `coverage` preset (gcc --coverage), runs the whole suite, and
# prints gcovr's report on src/: per file, branches first, then lines with
# the totals. Fails below 95 % of lines or 85 % of branches.
#
# Branches that only exist because of C++ exception handling, and those the
# compiler proves unreachable, are not counted: no operation of the library
# throws, so they could never be taken.
#
#   JOBS  build, test and gcovr jobs (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

JOBS=${JOBS:-2}
build=build/coverage

source .ci/lib.sh

require gcovr cmake g++ make /usr/include/gtest=libgtest-dev,googletest

cmake --preset coverage >/dev/null
cmake --build --preset coverage -j "$JOBS"
# Counts from an earlier run would add up with this one's.
find "$build" -name '*.gcda' -delete
ctest --preset coverage -j "$JOBS"

# build/coverage/CMakeFiles holds only CMake's compiler probe.
gcovr_common=(
  --root "$root" --object-directory "$build" --filter "$root/src/"
  --exclude-directories "$root/$build/CMakeFiles"
  --exclude-throw-branches --exclude-unreachable-branches -j "$JOBS"
)
echo "=== branches"
gcovr "${gcovr_common[@]}" --branches
echo "=== lines"
gcovr "${gcovr_common[@]}" --print-summary \
  --fail-under-line 95 --fail-under-branch 85
