#!/usr/bin/env python3
"""Draws the benchmark ratios from the program's JSON output.

    bench/chart.py [results.json] [results.png]

Works from the JSON alone (no build needed): one horizontal bar per pair,
our time over theirs on a logarithmic axis, with the pair's target marked.
Green bars meet their target, red ones do not.
"""

import json
import os
import sys

# Debian's python3-matplotlib belongs to the system's interpreter; another
# python3 first on the PATH (a pyenv one, say) hands over to it.
SYSTEM_PYTHON = "/usr/bin/python3"
try:
    import matplotlib
except ImportError:
    if os.path.realpath(sys.executable) != os.path.realpath(SYSTEM_PYTHON) \
            and os.path.exists(SYSTEM_PYTHON):
        os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON, os.path.abspath(__file__)] + sys.argv[1:])
    raise

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pairs  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def draw(report, png):
    rows = pairs.ratios(report)
    if not rows:
        raise SystemExit("no benchmark pairs in the JSON")
    labels = [f"{p.ours_label}\nvs {p.theirs_label}" for p, _, _, _ in rows]
    values = [ratio for _, _, _, ratio in rows]
    targets = [p.target for p, _, _, _ in rows]
    colours = ["#3a9d5d" if r <= t else "#c8453b" for r, t in zip(values, targets)]

    fig, ax = plt.subplots(figsize=(11, 0.62 * len(rows) + 1.6))
    positions = list(range(len(rows)))[::-1]
    ax.barh(positions, values, color=colours, height=0.6)
    for y, target in zip(positions, targets):
        ax.plot([target, target], [y - 0.4, y + 0.4], color="black", lw=2)
    for y, value, target in zip(positions, values, targets):
        ax.text(max(value, target) * 1.07, y, f"{value:.2f}", va="center",
                fontsize=8)
    ax.set_xscale("log")
    ax.axvline(1.0, color="grey", lw=0.8, ls="--")
    ax.set_yticks(positions)
    ax.set_yticklabels(labels, fontsize=7)
    ax.set_xlabel("time ratio, ours / theirs (lower is better; black tick = target)")
    ax.set_title(f"morvane benchmarks: {pairs.machine(report)}", fontsize=9)
    ax.set_xlim(min(min(values), 0.5) / 1.5, max(max(values), max(targets)) * 1.6)
    fig.tight_layout()
    fig.savefig(png, dpi=110)
    plt.close(fig)


def main(argv):
    source = argv[1] if len(argv) > 1 else os.path.join(HERE, "results.json")
    png = argv[2] if len(argv) > 2 else os.path.join(HERE, "results.png")
    with open(source, encoding="utf-8") as f:
        draw(json.load(f), png)
    print(f"wrote {png}")


if __name__ == "__main__":
    main(sys.argv)
