#!/usr/bin/env python3
"""Prints the speed table from one run of the benchmarks (their JSON files in
DIR) and of scripts/measure-startup (its output in DIR/startup.txt): each
figure beside its target, the formula and search figures also as a ratio to
the literal reference measured in the same run."""
import json
import pathlib
import re
import sys


def medians(directory):
    found = {}
    for path in sorted(pathlib.Path(directory).glob("*.json")):
        text = path.read_text()
        # A program whose benchmarks were all filtered out writes nothing.
        for run in json.loads(text).get("benchmarks", []) if text.strip() else []:
            if run.get("aggregate_name") == "median":
                found[run["run_name"]] = run
    return found


SCALE = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def seconds(run, real=False):
    return run["real_time" if real else "cpu_time"] * SCALE[run["time_unit"]]


def figure(runs, name, unit, real=False):
    run = runs.get(name)
    return None if run is None else seconds(run, real) / SCALE[unit]


def cell(values, unit, digits=1):
    if any(v is None for v in values):
        return "not run"
    return " / ".join(f"{v:.{digits}f}" for v in values) + f" {unit}"


def ratios(runs, pairs):
    out = []
    for fast, reference in pairs:
        f, r = runs.get(fast), runs.get(reference)
        if f is None or r is None:
            return "not run"
        out.append(f"{seconds(r) / seconds(f):.0f}×")
    return " / ".join(out)


def startup(directory):
    path = pathlib.Path(directory) / "startup.txt"
    text = path.read_text() if path.exists() else ""
    paint = re.search(r"first paint: median ([0-9.]+) s", text)
    rest = re.search(r"window process at rest: median peak ([0-9.]+) MB", text)
    return (f"{float(paint.group(1)):.2f} s" if paint else "not run",
            f"{float(rest.group(1)):.0f} MB" if rest else "not run")


def main(directory):
    runs = medians(directory)
    paint, rest = startup(directory)
    evaluations = ["DCC657", "SevenDigitLiteral", "ValueDigits"]
    plays = [("0", "定位胆"), ("3", "大小单双")]
    rows = [
        ("start to the first painted frame (Xvfb)", paint, "", "≤ 0.4 s"),
        ("peak memory of the window process at rest", rest, "", "≤ 150 MB"),
        ("`EvaluateFormula` \"DCC*657\" / 7-digit literal / value digits",
         cell([figure(runs, f"BM_EvaluateFormula_{e}", "ns") for e in evaluations], "ns"),
         ratios(runs, [(f"BM_EvaluateFormula_{e}", f"BM_Reference_{e}") for e in evaluations]),
         "≤ 25 ns each"),
        ("the same without AVX-512, \"DCC*657\" / value digits",
         cell([figure(runs, f"BM_EvaluateFormulaPortably_{e}", "ns")
               for e in ("DCC657", "ValueDigits")], "ns"),
         ratios(runs, [(f"BM_EvaluateFormulaPortably_{e}", f"BM_Reference_{e}")
                       for e in ("DCC657", "ValueDigits")]),
         ""),
        ("search 5000 × 180, 定位胆 / 大小单双 (one thread)",
         cell([figure(runs, f"BM_Search180/{p}", "ms") for p, _ in plays], "ms", 2),
         ratios(runs, [(f"BM_Search180/{p}", f"BM_Search180Plain/1/{p}") for p, _ in plays]),
         ""),
        ("whole search click 5000 × 180, 定位胆 / 大小单双 (wall, every core)",
         cell([figure(runs, f"BM_StartFormulaSearchClick/{p}/real_time", "ms", real=True)
               for p, _ in plays], "ms", 2),
         "", "≤ 5 ms"),
        ("ten-preset position run, 180 draws",
         cell([figure(runs, "BM_PositionPlans/180", "us")], "µs", 0), "", "≤ 100 µs"),
    ]
    print("| what | median | faster than the literal reference | target |")
    print("|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")


if __name__ == "__main__":
    main(sys.argv[1])
