#!/usr/bin/env bash
# Runs the whole native test suite under valgrind's memcheck: every test
# case that ctest knows, each in its own process as the suite always runs,
# through `ctest -T memcheck`. Any memcheck error, or any block definitely
# or possibly lost, fails the test (--error-exitcode=1) and so the script.
# tests/valgrind.supp holds the only suppressions, each for a report about
# code that is not ours (the system's dynamic loader).
#
# Processes that a test starts with exec (the leak-report children, and the
# children of death tests, which abort on purpose) run natively:
# --trace-children=no, and death tests use the "threadsafe" style, which
# re-executes the test program instead of forking it under valgrind.
#
#   JOBS  tests run at once, and build jobs (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

JOBS=${JOBS:-2}
build=build/valgrind

source .ci/lib.sh

require valgrind cmake g++ make /usr/include/gtest=libgtest-dev,googletest

# The dev preset's Debug build, in a directory of its own.
cmake --preset dev -B "$build" >/dev/null
cmake --build "$build" -j "$JOBS"

# nouserintercepts: tests that count allocations replace operator new in the
# test program; memcheck then tracks the malloc beneath it instead of taking
# the replacement over.
# shellcheck disable=SC2054 # the commas belong to valgrind's options
options=(
  --error-exitcode=1
  --soname-synonyms=somalloc=nouserintercepts
  --leak-check=full
  --show-leak-kinds=definite,possible
  --errors-for-leak-kinds=definite,possible
  --trace-children=no
  --track-origins=yes
  --num-callers=40
)
export GTEST_DEATH_TEST_STYLE=threadsafe

# Not run under memcheck: exported_names, which runs nm through cmake, and
# the tests labelled `compile`, which run a compiler: none of the library's
# code.
excluded='^exported_names$'
cd "$build"
ctest -T memcheck -j "$JOBS" --output-on-failure -E "$excluded" -LE '^compile$' \
  --overwrite MemoryCheckCommand="$(command -v valgrind)" \
  --overwrite MemoryCheckCommandOptions="${options[*]}" \
  --overwrite MemoryCheckSuppressionFile="$root/tests/valgrind.supp"
