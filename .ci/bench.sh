#!/usr/bin/env bash
# The benchmarks are built (the bench workflow), not run: their times are not
# pass/fail. First bench/run.py is checked where matplotlib is missing: from
# the checked-in results it prints the table, says that the chart was skipped
# and how to install matplotlib, draws nothing and exits 0.
set -euo pipefail
cd "$(dirname "$0")/.."

source .ci/lib.sh

require python3

work=$(mktemp -d "${TMPDIR:-/tmp}/morvane-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() {
  echo "bench: FAILED: $*" >&2
  exit 1
}

# Whatever this machine has, matplotlib is missing for run.py and chart.py:
# a package of that name that fails to import comes first on their path.
mkdir "$work/matplotlib"
echo 'raise ModuleNotFoundError("No module named '\''matplotlib'\''", name="matplotlib")' \
  >"$work/matplotlib/__init__.py"
PYTHONPATH=$work python3 bench/run.py --no-run --json bench/results.json \
  --png "$work/results.png" >"$work/stdout" 2>"$work/stderr" ||
  fail "run.py without matplotlib exited with $?:"$'\n'"$(cat "$work/stderr")"
grep -q '^| ours | theirs |' "$work/stdout" || fail "run.py printed no table"
grep -q 'chart skipped' "$work/stderr" || fail "run.py did not say that the chart was skipped"
grep -q 'apt-get install python3-matplotlib' "$work/stderr" ||
  fail "run.py did not say how to install matplotlib"
! grep -q Traceback "$work/stderr" || fail "run.py printed a traceback"
[[ ! -e $work/results.png ]] || fail "run.py drew a chart"
echo "bench: run.py without matplotlib prints the table and skips the chart"

cmake --workflow --preset bench
