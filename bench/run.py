#!/usr/bin/env python3
"""Runs the benchmark program and prints the table of time ratios.

    bench/run.py [--build-dir DIR] [--json FILE] [--readme] [--quick]
                 [--filter REGEX]

Build first with `cmake --workflow --preset bench`. The program runs with
JSON output (kept in FILE, bench/results.json by default); the table compares
the median CPU time per iteration of each pair, ours / theirs, against the
pair's target, and bench/chart.py draws bench/results.png from the same JSON.
--readme also writes the table into bench/README.md. Without matplotlib the
chart is skipped, with a note that says how to install it.
"""

import argparse
import json
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
import pairs  # noqa: E402

CHART = os.path.join(HERE, "chart.py")
# How Python reports the missing package, and what to do about it.
NO_MATPLOTLIB = "No module named 'matplotlib'"
CHART_SKIPPED = (
    "chart skipped: bench/chart.py needs matplotlib, which this machine lacks "
    "(Debian: sudo apt-get install python3-matplotlib; elsewhere: "
    "pip install matplotlib); the table above is complete")

PROGRAM = "morvane_bench"
README = os.path.join(HERE, "README.md")
BEGIN = "<!-- results:begin -->"
END = "<!-- results:end -->"


def run_program(build_dir, json_path, quick, pattern):
    program = os.path.join(build_dir, "bench", PROGRAM)
    if not os.path.exists(program):
        raise SystemExit(f"{program} not found: cmake --workflow --preset bench")
    repetitions = 1 if quick else 5
    command = [
        program,
        f"--benchmark_out={json_path}",
        "--benchmark_out_format=json",
        f"--benchmark_repetitions={repetitions}",
        "--benchmark_min_time=0.1" if quick else "--benchmark_min_time=0.2",
        # Repetitions of different benchmarks alternate, so that a burst of
        # load on the machine does not fall on one side of a pair only.
        "--benchmark_enable_random_interleaving=true",
    ]
    if repetitions > 1:
        command.append("--benchmark_report_aggregates_only=true")
    if pattern:
        command.append(f"--benchmark_filter={pattern}")
    started = time.monotonic()
    subprocess.run(command, check=True, stdout=sys.stderr)
    print(f"ran in {time.monotonic() - started:.0f} s", file=sys.stderr)


def format_time(ns):
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"


def table(report):
    lines = [
        "| ours | theirs | ours, time | theirs, time | ratio | target | met |",
        "|---|---|---:|---:|---:|---:|:---:|",
    ]
    for pair, ours, theirs, ratio in pairs.ratios(report):
        met = "yes" if ratio <= pair.target else "**no**"
        lines.append(
            f"| {pair.ours_label} | {pair.theirs_label} | {format_time(ours)} "
            f"| {format_time(theirs)} | {ratio:.2f} | <= {pair.target:g} "
            f"| {met} |")
    lines += ["", "| reference, same run | time | ratio | value |",
              "|---|---:|---:|---:|"]
    for label, ns, ratio, value in pairs.references(report):
        shown_ratio = f"{ratio:.2f}" if ratio is not None else ""
        shown_value = ""
        if value is not None:
            shown_value = f"{value:,.0f}" if value >= 1000 else f"{value:.2f}"
        lines.append(f"| {label} | {format_time(ns)} | {shown_ratio} "
                     f"| {shown_value} |")
    lines += ["", "| throughput, 1 MiB of text | GB/s |", "|---|---:|"]
    for label, rate in pairs.throughputs(report):
        lines.append(f"| {label} | {rate / 1e9:.2f} |")
    context = report.get("context", {})
    lines += [
        "",
        f"Machine: {pairs.machine(report)}; measured {context.get('date', '?')};"
        f" load average {', '.join(f'{x:.1f}' for x in context.get('load_avg', []))}.",
    ]
    return "\n".join(lines)


def draw_chart(json_path, png):
    """Draws the chart with chart.py, which finds an interpreter with
    matplotlib by itself. Where there is none, says that the chart was
    skipped; any other failure of chart.py ends the run."""
    result = subprocess.run([sys.executable, CHART, json_path, png],
                            stdout=sys.stderr, stderr=subprocess.PIPE,
                            text=True, check=False)
    if result.returncode != 0 and NO_MATPLOTLIB in result.stderr:
        print(CHART_SKIPPED, file=sys.stderr)
        return
    sys.stderr.write(result.stderr)
    if result.returncode != 0:
        raise SystemExit(f"{CHART} failed with exit code {result.returncode}")


def update_readme(text):
    with open(README, encoding="utf-8") as f:
        readme = f.read()
    start = readme.index(BEGIN) + len(BEGIN)
    end = readme.index(END)
    with open(README, "w", encoding="utf-8") as f:
        f.write(readme[:start] + "\n" + text + "\n" + readme[end:])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build", "bench"))
    parser.add_argument("--json", default=os.path.join(HERE, "results.json"))
    parser.add_argument("--png", default=os.path.join(HERE, "results.png"))
    parser.add_argument("--readme", action="store_true",
                        help="write the table into bench/README.md")
    parser.add_argument("--quick", action="store_true",
                        help="one short repetition each (a smoke test)")
    parser.add_argument("--filter", default="", help="benchmarks to run (regex)")
    parser.add_argument("--no-run", action="store_true",
                        help="only rebuild the table and chart from the JSON")
    args = parser.parse_args()

    if not args.no_run:
        run_program(args.build_dir, args.json, args.quick, args.filter)
    with open(args.json, encoding="utf-8") as f:
        report = json.load(f)
    text = table(report)
    print(text)
    draw_chart(args.json, args.png)
    if args.readme:
        update_readme(text)


if __name__ == "__main__":
    main()
