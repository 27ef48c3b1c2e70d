#!/usr/bin/env python3
"""Turns one run of the benchmarks into the table of figures and docs/performance.md.

Usage: report.py NATIVE_JSON WINDOWS_TSV OUTPUT_MD
NATIVE_JSON is Google Benchmark's JSON output with repetitions (the medians are used, CPU time);
WINDOWS_TSV holds the lines of qelvora_win_bench.exe: figure, name, value, unit.
"""
import json
import sys
from pathlib import Path

native_path, windows_path, output_path = sys.argv[1:4]

native = {}
per_item = {}
for entry in json.loads(Path(native_path).read_text())["benchmarks"]:
    if entry.get("aggregate_name", "median") == "median":
        native[entry["run_name"]] = entry["cpu_time"]
        if entry.get("items_per_second"):
            per_item[entry["run_name"]] = 1e6 / entry["items_per_second"]

windows = {}
windows_order = []
if Path(windows_path).exists():
    for line in Path(windows_path).read_text(errors="replace").splitlines():
        parts = line.split("\t")
        if len(parts) == 4 and parts[0] in "345":
            windows[parts[1]] = float(parts[2])
            windows_order.append(parts)


def us(value):
    return "—" if value is None else f"{value:,.1f} µs"


def ratio(a, b):
    return None if a is None or b is None or b == 0 else a / b


def times(value):
    return "—" if value is None else f"{value:.1f}×"


def verdict(value, limit):
    if value is None:
        return "not measured"
    return "met" if value <= limit else "not met"


rows = []
goals = []

# 1. Extraction on data-page-shaped texts.
rows.append("| 1 | Data page | Floor: memmem pass | extractAllBetween | ratio | plain loop (reference) | ratio |")
rows.append("|---|---|---|---|---|---|---|")
page_ratios = {}
for records, label in ((100, "100 records (13 KB)"), (10000, "10,000 records (1.3 MB)"),
                       (100000, "100,000 records (13 MB)")):
    floor = native.get(f"BM_PageFloor/{records}")
    fast = native.get(f"BM_PageExtract/{records}")
    plain = native.get(f"BM_PageReference/{records}")
    page_ratios[records] = ratio(fast, floor)
    rows.append(f"| 1 | {label} | {us(floor)} | {us(fast)} | {times(ratio(fast, floor))} | {us(plain)} | "
                f"{times(ratio(plain, floor))} |")
consuming = {r: ratio(native.get(f"BM_PageConsumingPattern/{r}"), native.get(f"BM_PageFloor/{r}"))
             for r in (100, 10000, 100000)}
for records in (10000, 100000):
    goals.append((f"Extraction of {records:,} records at most 5× the floor", times(page_ratios[records]),
                  verdict(page_ratios[records], 5)))

# 2. Hostile shapes: time for ten times the input.
rows.append("")
rows.append("| 2 | Hostile shape | floor 1 MiB | floor 10 MiB | extractAllBetween 1 MiB | extractAllBetween 10 MiB "
            "| growth for 10× input |")
rows.append("|---|---|---|---|---|---|---|")
shapes = (("manyLeftMarkers", "many left markers, no right marker"),
          ("leftMarkersThenOneRight", "many left markers, one right marker at the end"),
          ("noMarkers", "no markers at all"),
          ("onePiece", "one piece of megabytes"),
          ("manyEmptyPieces", "many empty pieces"))
worst_growth = None
for key, label in shapes:
    small, large = 1 << 20, 10 << 20
    floor_s = native.get(f"BM_HostileFloor<{key}>/{small}")
    floor_l = native.get(f"BM_HostileFloor<{key}>/{large}")
    fast_s = native.get(f"BM_HostileExtract<{key}>/{small}")
    fast_l = native.get(f"BM_HostileExtract<{key}>/{large}")
    growth = ratio(fast_l, fast_s)
    if growth is not None:
        worst_growth = growth if worst_growth is None else max(worst_growth, growth)
    rows.append(f"| 2 | {label} | {us(floor_s)} | {us(floor_l)} | {us(fast_s)} | {us(fast_l)} | {times(growth)} |")
goals.append(("Every hostile shape linear: 10× the input within 12× the time", f"worst {times(worst_growth)}",
              verdict(worst_growth, 12)))

# 3. keepDigits per record.
automation = windows.get("keepDigits per record, automation object")
library_per_record = per_item.get("BM_KeepDigitsLibrary")
rows.append("")
rows.append("| 3 | keepDigits | value | against |")
rows.append("|---|---|---|---|")
rows.append(f"| 3 | per record, automation object under Wine | {us(automation)} | "
            f"{times(ratio(automation, library_per_record))} the library backend |")
rows.append(f"| 3 | per record, library backend (native) | {us(library_per_record)} | |")
cold = windows.get("creation by name (CLSIDFromProgID + CoCreateInstance)")
held = windows.get("creation from the held class factory")
rows.append(f"| 3 | one \"VBScript.RegExp\" by name (CLSIDFromProgID + CoCreateInstance) | {us(cold)} | |")
rows.append(f"| 3 | one \"VBScript.RegExp\" from the held class factory | {us(held)} | "
            f"{times(ratio(cold, held))} faster |")

# 4. Handlers against a bare fetch.
fetch_data = windows.get("fetchPage of the 100-record data page")
view = windows.get("onViewData of the 100-record data page")
fetch_time = windows.get("fetchPage of the time page")
tick = windows.get("onClockTick")
parts = {name.strip(): value for name, value in windows.items() if name.startswith("  ")}
rows.append("")
rows.append("| 4 | Handler under Wine, loopback | handler | bare fetchPage | ratio |")
rows.append("|---|---|---|---|---|")
rows.append(f"| 4 | onViewData, 100 records | {us(view)} | {us(fetch_data)} | {times(ratio(view, fetch_data))} |")
for name, value in parts.items():
    rows.append(f"| 4 | — {name} | {us(value)} | | |")
rows.append(f"| 4 | onClockTick | {us(tick)} | {us(fetch_time)} | {times(ratio(tick, fetch_time))} |")
goals.append(("onViewData of 100 records at most 2× the bare fetch", times(ratio(view, fetch_data)),
              verdict(ratio(view, fetch_data), 2)))
without_display = None
if all(parts.get(k) is not None for k in ("of which fetchPage and bytesToText", "of which extractAllBetween",
                                          "of which keepDigits of records 2 to 100")):
    without_display = ratio(parts["of which fetchPage and bytesToText"] + parts["of which extractAllBetween"] +
                            parts["of which keepDigits of records 2 to 100"],
                            parts["of which fetchPage and bytesToText"])
goals.append(("onViewData without the window writes (fetch, extraction, digits) at most 2× the fetch",
              times(without_display), verdict(without_display, 2)))
goals.append(("onClockTick at most 1.5× the bare fetch", times(ratio(tick, fetch_time)),
              verdict(ratio(tick, fetch_time), 1.5)))

# 5. Memory, handles and window objects.
rows.append("")
rows.append("| 5 | After | 1,000 ticks and 100 retrievals | 10,000 ticks and 1,000 retrievals | growth |")
rows.append("|---|---|---|---|---|")
growths = {}
for key, label, scale in (("private bytes", "private bytes (MiB)", 1 << 20), ("handles", "kernel handles", 1),
                          ("GDI objects", "GDI objects", 1), ("USER objects", "USER objects", 1)):
    warm = windows.get(f"{key} after 1000 ticks and 100 retrievals")
    end = windows.get(f"{key} after 10000 ticks and 1000 retrievals")
    growth = None if warm is None or end is None else (end - warm) / scale
    growths[key] = growth
    fmt = (lambda v: "—" if v is None else f"{v / scale:,.2f}") if scale > 1 else (
        lambda v: "—" if v is None else f"{v:,.0f}")
    rows.append(f"| 5 | {label} | {fmt(warm)} | {fmt(end)} | "
                f"{'—' if growth is None else (f'{growth:+.2f}' if scale > 1 else f'{growth:+.0f}')} |")
for name, value in windows.items():
    if name.startswith("private bytes growth of"):
        rows.append(f"| 5 | {name[len('private bytes growth of '):]} | | | {value / (1 << 20):+.2f} MiB |")
memory_flat = None if None in growths.values() else (
    growths["private bytes"] <= 1 and growths["handles"] <= 0 and growths["GDI objects"] <= 0 and
    growths["USER objects"] <= 0)
goals.append(("Memory within 1 MiB, handles, GDI and USER objects flat after warm-up",
              "—" if memory_flat is None else ", ".join(
                  f"{k} {v:+.2f}" if k == "private bytes" else f"{k} {v:+.0f}" for k, v in growths.items()),
              "not measured" if memory_flat is None else ("met" if memory_flat else "not met")))

table = "\n".join(rows)
goal_table = "\n".join(["| Goal | Measured | |", "|---|---|---|"] +
                       [f"| {goal} | {measured} | {status} |" for goal, measured, status in goals])
print(goal_table)
print()
print(table)

template = Path(__file__).with_name("performance.md.in").read_text()
parts_growth = {name[len("private bytes growth of "):]: value for name, value in windows.items()
                if name.startswith("private bytes growth of")}
if memory_flat is None or memory_flat:
    memory_text = "In this run memory, handles and window objects stay flat after warm-up."
else:
    worst = max(parts_growth, key=parts_growth.get) if parts_growth else None
    memory_text = ("In this run the private bytes grow while handles and window objects stay flat." +
                   (f" Run on their own, the {worst} account for {parts_growth[worst] / (1 << 20):+.2f} MiB, "
                    "the other parts for " + ", ".join(f"{v / (1 << 20):+.2f} MiB" for k, v in
                                                       parts_growth.items() if k != worst) + "."
                    if worst else ""))
consuming_text = ", ".join(f"{times(consuming[r])} at {r:,} records" for r in (10000, 100000))
Path(output_path).write_text(template.replace("@GOALS@", goal_table).replace("@TABLE@", table)
                             .replace("@CONSUMING@", consuming_text).replace("@MEMORY@", memory_text))
