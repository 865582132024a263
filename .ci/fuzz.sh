#!/usr/bin/env bash
# Builds the libFuzzer harnesses (the `fuzz` preset: clang, the library and
# the harnesses under address and undefined-behaviour sanitizers) and runs
# each one for a bounded time, starting from its seeds in fuzz/corpus/<name>/.
# Fails on any finding: a model mismatch, a sanitizer report, a leak, a
# timeout. Prints the number of runs per harness.
#
#   FUZZ_TIME       seconds per harness (default 45)
#   FUZZ_RUNS       inputs per harness at most (default 1000000; -1: no limit)
#   FUZZ_HARNESSES  the harnesses to run, separated by spaces (default: all)
#   JOBS            harnesses run at once, and build jobs (default 2)
#
# A deeper run of one harness, four minutes with no limit on inputs:
#   FUZZ_TIME=240 FUZZ_RUNS=-1 FUZZ_HARNESSES=xstring_edit bash .ci/fuzz.sh
#
# New inputs go to build/fuzz/corpus/<name>/, crashing inputs to
# build/fuzz/findings/; the checked-in seeds are never changed.
set -euo pipefail
cd "$(dirname "$0")/.."

FUZZ_TIME=${FUZZ_TIME:-45}
FUZZ_RUNS=${FUZZ_RUNS:-1000000}
JOBS=${JOBS:-2}

source .ci/lib.sh

# clang with its libFuzzer runtime: try to link an empty fuzzer.
can_link_fuzzer() {
  command -v clang++ >/dev/null || return 1
  local probe
  probe=$(mktemp -d)
  printf '%s\n' 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*,' \
    'unsigned long) { return 0; }' >"$probe/probe.cpp"
  clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" \
    -o "$probe/probe" >/dev/null 2>&1
  local rc=$?
  rm -rf "$probe"
  return $rc
}

require cmake make
can_link_fuzzer || apt_install clang libclang-rt-14-dev

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$JOBS"

build=build/fuzz
# The harnesses are those that fuzz/CMakeLists.txt lists (MORVANE_FUZZERS).
mapfile -t ALL_HARNESSES <"$build/fuzz/harnesses.txt"
((${#ALL_HARNESSES[@]} > 0)) || { echo "fuzz: no harnesses in $build/fuzz/harnesses.txt"; exit 1; }
HARNESSES=("${ALL_HARNESSES[@]}")
if [[ -n ${FUZZ_HARNESSES:-} ]]; then
  read -r -a HARNESSES <<<"$FUZZ_HARNESSES"
  for name in "${HARNESSES[@]}"; do
    if [[ " ${ALL_HARNESSES[*]} " != *" $name "* ]]; then
      echo "fuzz: no harness $name (there are: ${ALL_HARNESSES[*]})" >&2
      exit 2
    fi
  done
fi
mkdir -p "$build/findings" "$build/logs"
rm -f "$build"/findings/* "$build"/logs/*

run_harness() {
  local name=$1
  local rc=0
  local corpora=("$build/corpus/$name")
  mkdir -p "${corpora[0]}"
  # A new harness may come without seeds.
  [[ -d fuzz/corpus/$name ]] && corpora+=("fuzz/corpus/$name")
  "$build/fuzz/fuzz_$name" -max_total_time="$FUZZ_TIME" -runs="$FUZZ_RUNS" \
    -max_len=8192 -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$name-" \
    "${corpora[@]}" >"$build/logs/$name.log" 2>&1 || rc=$?
  echo "$rc" >"$build/logs/$name.rc"
}

running=0
for name in "${HARNESSES[@]}"; do
  if ((running >= JOBS)); then
    wait -n || true
    running=$((running - 1))
  fi
  run_harness "$name" &
  running=$((running + 1))
done
wait

failed=0
printf '%-18s %10s  %s\n' harness runs result
for name in "${HARNESSES[@]}"; do
  log=$build/logs/$name.log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [[ $(cat "$build/logs/$name.rc") == 0 ]]; then
    printf '%-18s %10s  %s\n' "$name" "${runs:-?}" ok
  else
    printf '%-18s %10s  %s\n' "$name" "${runs:-?}" FAILED
    failed=1
  fi
done

if ((failed)); then
  for name in "${HARNESSES[@]}"; do
    [[ $(cat "$build/logs/$name.rc") == 0 ]] && continue
    echo "=== fuzz_$name: last lines of $build/logs/$name.log"
    tail -n 40 "$build/logs/$name.log"
  done
  echo "Inputs that failed (rerun one with $build/fuzz/fuzz_<name> <file>):"
  ls -1 "$build"/findings/
  exit 1
fi
echo "fuzz: clean (${HARNESSES[*]})"
