#!/usr/bin/env python3
"""Prints bench/run's tables, in Markdown, from the raw runs it collected.

    report.py RUNS.csv PROBE.txt OWN-REPORTS.txt CASES.txt

The run's circumstances come in environment variables set by bench/run (KK_MACHINE, KK_TREE, ...).
"""

import csv
import os
import re
import statistics
import sys

runs_csv, probe_txt, own_txt, cases_txt = sys.argv[1:5]
env = os.environ.get

# The cases in the order they were run: id|n|kind[|picture bytes].
cases = []
for line in open(cases_txt):
    parts = line.strip().split("|")
    if len(parts) >= 3:
        cases.append({"id": parts[0], "n": int(parts[1]), "kind": parts[2],
                      "bytes": int(parts[3]) if len(parts) > 3 and parts[3] else None})
start_cases = [c for c in cases if c["kind"] != "second"]
second = next((c for c in cases if c["kind"] == "second"), None)
large = next((c for c in cases if c["kind"] not in ("plain", "second")), None)

rows = []
for r in csv.DictReader(open(runs_csv)):
    r.update(item.split("=", 1) for item in r["figures"].split(";") if "=" in item)
    if r["run"] != "0" and r.get("map_ms"):
        rows.append(r)


def med(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


def fmt(value, digits=1):
    return "–" if value is None else f"{value:.{digits}f}"


def of(case_id, program, key):
    return [float(r[key]) for r in rows
            if r["case"] == case_id and r["program"] == program and float(r.get(key, -1)) >= 0]


def div(a, b):
    return a / b if a is not None and b else None


def mib(kb):
    return kb / 1024 if kb is not None else None


def verdict(value, limit, unit="x"):
    if value is None or limit is None:
        return ""
    return f"≤ {limit:g}{unit} {'met' if value <= limit else 'NOT met'}"


def label(case):
    if case["kind"] == "plain":
        return str(case["n"])
    if case["kind"] == "second":
        return f"second copy, N={case['n']}"
    return f"{case['n']}, one {case['kind'].replace('x', ' x ')} PNG"


before = env("KK_BEFORE")
has_before = bool(before) and any(r["program"] == "before" for r in rows)
peer = env("KK_PEER")
programs = ["launcher"] + (["before"] if has_before else []) + ["baseline", "text", "rofi"]

print(f"Machine: {env('KK_MACHINE')}; Qt {env('KK_QT')}; build {env('KK_BUILD_TYPE')}; "
      f"Xvfb 1280x1024x24, no window manager; {env('KK_LOAD')}")
print(f"Launcher: {env('KK_TREE')} (built {env('KK_BUILT')})")
if before:
    print(f"Before: {before} (built {env('KK_BEFORE_BUILT')}), in the same runs: launcher, before, baseline, text, ...")
print(f"Medians of {env('KK_RUNS')} alternating runs per program after one warm-up; exec to map of the first "
      f"top-level window; peak RSS = VmHWM once the program is idle, at least {env('KK_SETTLE')} ms after the map (MiB).")
print("Baselines: a minimal window (QApplication and one shown QWidget), and a text window (a QMainWindow with a menu bar, "
      "a caption and a read-only multi-line text box, no pictures). Every program runs in the same private session bus.")
print(f"Peer: {peer}, drun mode with icons over the same N entries." if peer else "Peer: rofi not installed; its columns are empty.")
if large and large["bytes"]:
    w, h = large["kind"].split("x")
    print(f"Large picture: the first of {large['n']} components has a valid {w} x {h} RGBA 8-bit PNG of "
          f"{large['bytes'] / 1048576:.1f} MiB ({large['bytes']:,} bytes; a gradient with grain, stripes and discs); "
          f"the other nine are the usual 32 x 32.")
print()

# Targets per case: (time ratio against the text window, time ms, memory ratio against the minimal
# window, memory MiB); None where there is none. At 10,000 the target is the earlier time (with
# --before) and the memory of the earlier tables.
targets = {10: (1.1, None, 1.2, None), 1000: (1.5, None, None, 40), 10000: (None, None, None, 50)}


def targets_of(case):
    if case["kind"] == "plain":
        return targets.get(case["n"], (None, None, None, None))
    return (None, None, None, 40)


print("| N | launcher ms | baseline ms | ratio | text ms | text ratio | target | launcher MiB | baseline MiB | text MiB | mem ratio | mem target | rofi ms | rofi ratio | rofi MiB |")
print("|:---|---:|---:|---:|---:|---:|:---|---:|---:|---:|---:|:---|---:|---:|---:|")
for case in start_cases:
    cid = case["id"]
    lm, bm, tm, pm = (med(of(cid, p, "map_ms")) for p in ("launcher", "baseline", "text", "rofi"))
    lk, bk, tk, pk = (med(of(cid, p, "hwm_kb")) for p in ("launcher", "baseline", "text", "rofi"))
    ratio, tratio, mratio = div(lm, bm), div(lm, tm), div(lk, bk)
    t = targets_of(case)
    tcell = verdict(tratio, t[0]) if t[0] is not None else verdict(lm, t[1], " ms")
    if case["kind"] == "plain" and case["n"] == 10000 and has_before:
        em = med(of(cid, "before", "map_ms"))
        tcell = "" if lm is None or em is None else f"≤ before's {em:.1f} ms {'met' if lm <= em else 'NOT met'}"
    mcell = verdict(mratio, t[2]) if t[2] is not None else verdict(mib(lk), t[3], " MiB")
    print(f"| {label(case)} | {fmt(lm)} | {fmt(bm)} | {fmt(ratio, 2)} | {fmt(tm)} | {fmt(tratio, 2)} | {tcell} | "
          f"{fmt(mib(lk))} | {fmt(mib(bk))} | {fmt(mib(tk))} | "
          f"{fmt(mratio, 2)} | {mcell} | {fmt(pm)} | {fmt(div(pm, bm), 2)} | {fmt(mib(pk))} |")

# Spread, so that noise is visible.
print()
print("Spread (min–max ms): " + "; ".join(
    f"{label(c)}: " + ", ".join(f"{p} {min(v):.0f}–{max(v):.0f}" for p in programs if (v := of(c["id"], p, "map_ms")))
    for c in cases if any(of(c["id"], p, "map_ms") for p in programs)))

# A start that is quick as a rule but slow now and then is felt as slow.
ten = next((c for c in start_cases if c["kind"] == "plain" and c["n"] == 10), None)
if ten:
    print()
    print("Slowest start against the median at N=10 (target for the launcher: slowest ≤ 1.5x the median):")
    print()
    print("| program | median ms | slowest ms | slowest / median | target |")
    print("|:---|---:|---:|---:|:---|")
    for p in programs:
        values = of(ten["id"], p, "map_ms")
        if values:
            ratio = max(values) / statistics.median(values)
            print(f"| {p} | {fmt(statistics.median(values))} | {fmt(max(values))} | {fmt(ratio, 2)} | "
                  f"{verdict(ratio, 1.5) if p in ('launcher', 'before') else ''} |")

if second:
    sid = second["id"]
    print()
    print(f"Second copy at N={second['n']}: a first copy running (idle, its window up), a second copy of the same "
          f"executable from exec to the map of its \"Already running...\" box, ended after each run; against the "
          f"minimal window measured in the same runs:")
    print()
    print("| program | second copy ms | baseline ms | ratio | target | spread ms | second copy MiB | runs |")
    print("|:---|---:|---:|---:|:---|:---|---:|---:|")
    bm = med(of(sid, "baseline", "map_ms"))
    for p in ["launcher"] + (["before"] if has_before else []):
        values = of(sid, p, "map_ms")
        sm = med(values)
        ratio = div(sm, bm)
        spread = f"{min(values):.0f}–{max(values):.0f}" if values else "–"
        print(f"| {p} | {fmt(sm)} | {fmt(bm)} | {fmt(ratio, 2)} | {verdict(ratio, 1.5)} | {spread} | "
              f"{fmt(mib(med(of(sid, p, 'hwm_kb'))))} | {len(values)} |")

if has_before:
    print()
    print(f"Before and after: {before} against {env('KK_TREE')}, medians of the same runs (change: after against before):")
    print()
    print("| case | before ms | after ms | change | before ratio | after ratio | before text ratio | after text ratio | before MiB | after MiB | change |")
    print("|:---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|")

    def change(after, earlier):
        return "–" if after is None or not earlier else f"{100 * (after / earlier - 1):+.0f} %"

    for case in cases:
        cid = case["id"]
        bm, tm = med(of(cid, "baseline", "map_ms")), med(of(cid, "text", "map_ms"))
        em, am = med(of(cid, "before", "map_ms")), med(of(cid, "launcher", "map_ms"))
        ek, ak = med(of(cid, "before", "hwm_kb")), med(of(cid, "launcher", "hwm_kb"))
        print(f"| {label(case)} | {fmt(em)} | {fmt(am)} | {change(am, em)} | {fmt(div(em, bm), 2)} | "
              f"{fmt(div(am, bm), 2)} | {fmt(div(em, tm), 2)} | {fmt(div(am, tm), 2)} | "
              f"{fmt(mib(ek))} | {fmt(mib(ak))} | {change(ak, ek)} |")

# What the peak is made of, read at the same moment (MiB): private memory (heap, pixel data),
# mapped files (libraries, fonts) and shared memory (window backing store).
print()
print("Resident memory at the settle point (medians, MiB): RSS = anon (heap, pixel data) + file (libraries, fonts) + shmem (backing store):")
print()
print("| N | program | RSS | anon | file | shmem | idle by (ms after map) |")
print("|:---|:---|---:|---:|---:|---:|---:|")
for case in start_cases:
    for p in programs:
        if of(case["id"], p, "rss_kb"):
            cells = [fmt(mib(med(of(case["id"], p, k)))) for k in ("rss_kb", "anon_kb", "file_kb", "shmem_kb")]
            idle = med(of(case["id"], p, "idle_after_map_ms"))
            print(f"| {label(case)} | {p} | " + " | ".join(cells) + f" | {fmt(idle, 0)} |")

# The launchers' in-process phases (medians, ms).
phase_keys = []
phases = {}
for r in rows:
    if r["program"] not in ("launcher", "before") or not r["phases"]:
        continue
    for item in r["phases"].split(";"):
        if "=" in item:
            k, v = item.split("=", 1)
            if k not in phase_keys:
                phase_keys.append(k)
            try:
                phases.setdefault((r["case"], r["program"], k), []).append(float(v))
            except ValueError:
                pass
print()
if phase_keys:
    print("Launcher phases (in-process, medians, ms; first-paint counts from the start of loading):")
    print()
    print("| N | " + ("program | " if has_before else "") + " | ".join(phase_keys) + " |")
    print("|:---|" + (":---|" if has_before else "") + "---:|" * len(phase_keys))
    for case in start_cases:
        for p in ["launcher"] + (["before"] if has_before else []):
            if any((case["id"], p, k) in phases for k in phase_keys):
                print(f"| {label(case)} | " + (f"{p} | " if has_before else "")
                      + " | ".join(fmt(med(phases.get((case["id"], p, k), []))) for k in phase_keys) + " |")
else:
    print("Launcher phases: not reported (the launcher printed no kk-phases line with KK_PHASE_TIMES set).")

probe = []
for line in open(probe_txt):
    probe.append({k: v.strip('"') for k, v in re.findall(r'(\w+)=("[^"]*"|\S+)', line)})
if probe:
    probe_programs = [p for p in ("launcher", "before") if any(q.get("program", "launcher") == p for q in probe)]
    starts = {p: [q for q in probe if q.get("program", "launcher") == p] for p in probe_programs}

    def pm_(p, key):
        return med([float(q[key]) for q in starts[p] if key in q and float(q[key]) >= 0])

    print()
    n = env("KK_PROBE_N")
    if any(q.get("probe") == "not-built" for q in probe):
        print(f"Interaction at N={n}: not measured; kk-maptimer was built without XTest and DAMAGE "
              f"(libxtst-dev and libxdamage-dev missing when it was configured).")
    else:
        count = len(starts[probe_programs[0]])
        print(f"Interaction at N={n} (medians of {count} starts; times from the X input event to the first repaint seen by DAMAGE):")
        print()
        print("| probe | " + " | ".join(probe_programs) + " |")
        print("|:---|" + "---:|" * len(probe_programs))
        first = probe[0]

        def line(title, cell):
            print(f"| {title} | " + " | ".join(cell(p) for p in probe_programs) + " |")

        line("page move: release of the page-down button to repaint of the column (ms; target ≤ 16)", lambda p: fmt(pm_(p, "page_ms"), 2))
        line("page move: median of each start (ms)", lambda p: ", ".join(q.get("page_ms", "–") for q in starts[p]))
        line("page move: slowest of the clicks (ms)", lambda p: fmt(pm_(p, "page_max_ms"), 2))
        line("page move: CPU per click (ms)", lambda p: fmt(pm_(p, "page_cpu_ms"), 2))
        line("page moves that changed the column / clicks", lambda p: f"{fmt(pm_(p, 'page_changed'), 0)} / {first.get('page_moves', '?')}")
        line(f"{first.get('hover_moves', '?')} pointer moves within one button: repaints (target 0)", lambda p: fmt(pm_(p, "hover_repaints"), 0))
        line("same: window pixels changed (0 = no, target 0)", lambda p: fmt(pm_(p, "hover_changed"), 0))
        line("same: launcher CPU for all moves (ms)", lambda p: fmt(pm_(p, "hover_cpu_ms"), 1))
        line("pointer into the next button: to its repaint (ms)", lambda p: fmt(pm_(p, "hover_switch_ms"), 2))
        line("peak RSS after the probes (MiB)", lambda p: fmt(mib(pm_(p, "hwm_end_kb"))))
        if any(q.get("probe") == "unavailable" for q in probe):
            print()
            print("Note: the X server offered no XTest or DAMAGE extension in some starts; their probe cells are empty.")
try:
    own = open(own_txt).read().strip()
except OSError:
    own = ""
if own:
    print()
    print("The launcher's own reports during the probes:")
    print()
    for line_ in own.splitlines():
        print("    " + line_)
