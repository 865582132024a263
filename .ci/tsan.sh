#!/usr/bin/env bash
# The tracker and the loader under ThreadSanitizer: builds the suite with
# MORVANE_THREAD_SAFE (both take their locks) and -fsanitize=thread, and runs
# the test in which 8 threads allocate and release while 4 threads load and
# free plug-ins, all at once (bmem_threads_test; built only with the option,
# as the default build takes no locks). Any data race that the sanitizer
# sees, or a wrong total, report or loader record, fails the stage.
#
# Where the sanitizer's runtime refuses the machine's address layout (some
# kernels randomise mappings beyond what it expects), the test runs with
# address randomisation off, under `setarch -R`.
#
#   JOBS  build jobs (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."

JOBS=${JOBS:-2}
build=build/tsan

source .ci/lib.sh

require cmake g++ make /usr/include/gtest=libgtest-dev,googletest

flags="-fsanitize=thread -fno-omit-frame-pointer"
cmake --preset dev -B "$build" -DMORVANE_THREAD_SAFE=ON \
  -DMORVANE_BUILD_EXAMPLES=OFF \
  -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread \
  -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build "$build" -j "$JOBS" --target bmem_threads_test

test_program=$build/tests/bmem_threads_test
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
runner=()
if ! "$test_program" --gtest_list_tests >/dev/null 2>&1; then
  echo "tsan: the runtime refuses this address layout; running under setarch -R"
  runner=(setarch "$(uname -m)" -R)
fi
"${runner[@]}" "$test_program"
