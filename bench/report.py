#!/usr/bin/env python3
"""Runs every benchmark program of the project and prints one table: each row our figure,
the baseline measured in the same run, and their ratio."""
import json
import os
import re
import subprocess
import sys
import tempfile

BIN = sys.argv[1] if len(sys.argv) > 1 else "build/bin"
MIN_TIME = os.environ.get("BENCH_MIN_TIME", "0.5")
# Each figure is the median of this many repetitions: single runs on a shared machine vary by
# a third from one to the next.
REPETITIONS = os.environ.get("BENCH_REPETITIONS", "3")

# program -> list of (row label, our benchmark, baseline benchmark); names are matched as
# regular expressions against the benchmark names with their "/min_time:..." and
# "/manual_time" suffixes removed.
SIZES = {"1024": "1 KB", "1048576": "1 MB", "16777216": "16 MB"}


def generation_rows(names):
    rows = []
    for name in names:
        m = re.fullmatch(r"BM_FillWebForm/(\d+)/(\d+)", name)
        if m:
            size, count = m.groups()
            rows.append((f"generation {SIZES.get(size, size)}, {int(count):,} placeholders",
                         name, f"BM_MemcpyBaseline/{size}/{count}", "6 memcpy"))
    return rows


def page_rows(names):
    rows = []
    for name in names:
        kind, _, case = name.partition("/")
        words = case.replace('/', ', ').replace('_', ' ')
        if kind == "Ours":
            rows.append((f"page insertion {words}", name, "Chromium/" + case, "headless Chromium"))
            if "FreshBlocks/" + case in names:
                rows.append((f"page insertion {words}, arena blocks kept between parses", name,
                             "FreshBlocks/" + case, "every block fresh from the system"))
        elif kind == "GumboParse":
            rows.append((f"bare gumbo parse {words} (the floor on one thread)", name,
                         "Chromium/" + case, "headless Chromium"))
        elif name.startswith("PeakMemory/Ours/"):
            case = name.removeprefix("PeakMemory/Ours/")
            rows.append((f"page insertion memory peak {case.replace('/', ', ').replace('_', ' ')}",
                         name, "PeakMemory/Gumbo/" + case, "bare gumbo parse"))
    return rows


def site_rows(names):
    rows = []
    for n in ("1000", "10000"):
        rows.append((f"site scan, {int(n):,} pages of 20 KB", f"BM_ScanSite/{n}",
                     f"BM_GrepSite/{n}", "grep -l"))
        rows.append((f"site update, {int(n):,} pages of 20 KB", f"BM_UpdateSite/{n}",
                     f"BM_RewriteSite/{n}", "atomic rewrite of every page"))
    return rows


PROGRAMS = [
    ("snippet_bench", generation_rows),
    ("page_insertion_bench", page_rows),
    ("wizard_bench", lambda names: [("click to wizard painted", "BM_WizardClickToPainted",
                                     "BM_BareDialogClickToPainted", "bare dialog")]),
    ("addin_load_bench", lambda names: [
        ("add-in load to connected", "BM_LoadAddInToConnected", "BM_DlopenTrivialModule",
         "dlopen of an empty module"),
        ("add-in load from the registry", "BM_RegisteredAddInToConnected",
         "BM_DlopenTrivialModule", "dlopen of an empty module")]),
    ("site_bench", site_rows),
    ("editor_bench", lambda names: [row for n in ("1048576", "10485760") for row in (
        (f"open a {int(n) >> 20} MB page (page-file service, decoding, text view)", f"BM_OpenPage/{n}",
         f"BM_BareReadIntoDocument/{n}", "QFile read into a text document"),
        (f"save an edited {int(n) >> 20} MB page (page-file service)", f"BM_SaveEditedPage/{n}",
         f"BM_BareSaveFile/{n}", "QSaveFile of the text"))]),
    ("typing_bench", lambda names: [
        ("typing into a 1 MB page, per key (median)", "BM_TypeIntoPage/highlighted",
         "BM_TypeIntoPage/plain", "same without colours"),
        ("typing into a 1 MB page under a fixed background load, 90th percentile key (wall)",
         "BM_TypeUnderLoad/1", "BM_TypeUnderLoad/0", "rendered view hidden"),
        ("keys as the rendered view refreshes, 1 MB page, slowest (thread CPU)",
         "BM_TypeDuringRefresh/1", "BM_TypeDuringRefresh/0", "rendered view hidden"),
        ("keys as the rendered view refreshes, 1 MB page, 99th percentile (thread CPU)",
         "BM_TypeDuringRefresh/1:p99_ms", "BM_TypeDuringRefresh/0:p99_ms",
         "rendered view hidden")]),
    ("registry_read_bench", lambda names: [
        (f"registry read, {int(n):,} keys", f"BM_ReadRegistry/{n}", f"BM_ReadAndSplitLines/{n}",
         "read the file, split lines") for n in ("10000", "100000")]),
    ("rendered_view_bench", lambda names: [
        ("open 100 KB page until source and rendered page painted",
         "BM_OpenUntilPainted/102400/1", "BM_OpenUntilPainted/102400/0", "source only"),
        ("open 1 MB page until source and rendered page painted",
         "BM_OpenUntilPainted/1048576/1", "BM_OpenUntilPainted/1048576/0", "source only"),
        ("open 100 KB page until the rendered page has loaded (ms)",
         "BM_OpenUntilPainted/102400/1:loaded_ms", "BM_BareWebView/102400/0",
         "bare QWebEngineView loading the file"),
        ("open 1 MB page until the rendered page has loaded (ms)",
         "BM_OpenUntilPainted/1048576/1:loaded_ms", "BM_BareWebView/1048576/0",
         "bare QWebEngineView loading the file"),
        ("bare view, 1 MB page from memory through a bare scheme handler",
         "BM_BareWebView/1048576/1", "BM_BareWebView/1048576/0",
         "bare QWebEngineView loading the file"),
        ("open 1 MB page until the rendered page has loaded, beside the scheme's own cost (ms)",
         "BM_OpenUntilPainted/1048576/1:loaded_ms", "BM_BareWebView/1048576/1",
         "bare view through a bare scheme handler"),
        ("form check on the same 1 MB page (at most one rendered-view load)",
         "BM_CheckForm/1048576", "BM_OpenUntilPainted/1048576/1",
         "open until source and rendered page painted"),
        ("sign-up rehearsal, 100 KB page (goal: at most one load more)",
         "BM_Rehearsal/102400", "BM_OpenUntilPainted/102400/1:loaded_ms",
         "open until the rendered page has loaded (ms)"),
        ("pagehost --check-form on a site folder of 20 pages, with the rehearsal",
         "BM_CheckFormCommand/1", "BM_CheckFormCommand/0", "the same with --no-rehearsal"),
        ("form audit as the check after Finish runs it, 100 KB page",
         "BM_AuditForm/102400/1", "BM_OpenUntilPainted/102400/1:loaded_ms",
         "open until the rendered page has loaded (ms)"),
        ("form audit as the check after Finish runs it, 1 MB page (left out above 10,000 "
         "elements)", "BM_AuditForm/1048576/1", "BM_OpenUntilPainted/1048576/1:loaded_ms",
         "open until the rendered page has loaded (ms)"),
        ("form audit as the author asks for it, 1 MB page",
         "BM_AuditForm/1048576/0", "BM_OpenUntilPainted/1048576/1:loaded_ms",
         "open until the rendered page has loaded (ms)"),
        ("memory, 1 MB page open, rendered view shown (MiB)",
         "BM_OpenUntilPainted/1048576/1:pss_MiB", "BM_OpenUntilPainted/1048576/0:pss_MiB",
         "source only (MiB)"),
        ("first open of a 1 MB page in a fresh editor until source and rendered page are "
         "painted", "BM_ColdOpen/1", "BM_ColdOpen/0",
         "bare view in a fresh process, until loaded"),
        ("editor start, rendered view shown", "BM_EditorStart/1", "BM_EditorStart/0",
         "rendered view hidden"),
        ("editor start until the rendered page is painted", "BM_EditorStart/1:rendered_ms",
         "BM_EditorStart/0", "rendered view hidden")]),
]

UNIT = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
# Benchmarks that report a memory figure as this counter (bytes) give it instead of a time.
MEMORY_COUNTER = "peak_bytes"


def run(program):
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        cmd = [os.path.join(BIN, program), f"--benchmark_min_time={MIN_TIME}",
               f"--benchmark_repetitions={REPETITIONS}",
               "--benchmark_report_aggregates_only=true",
               f"--benchmark_out={out.name}", "--benchmark_out_format=json"]
        subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        data = json.load(open(out.name))
    figures = {}
    for b in data["benchmarks"]:
        if b.get("error_occurred"):
            continue
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") != "median":
                continue
            b["name"] = b["name"].removesuffix("_median")
        name = re.sub(r"/(min_time:[0-9.]+|manual_time|process_time|real_time|iterations:\d+)",
                      "", b["name"])
        if MEMORY_COUNTER in b:
            figures[name] = (b[MEMORY_COUNTER] / 2**20, "MB")
        else:
            figures[name] = (b["real_time"] * UNIT[b["time_unit"]], "ms")
        # Counters that are figures of their own (memory, a second time), by "name:counter".
        for key, value in b.items():
            unit = next((u for u in ("MiB", "KiB", "ms") if key.endswith("_" + u)), None)
            if unit and isinstance(value, (int, float)):
                figures[f"{name}:{key}"] = (value, unit)
    return figures


def main():
    lines = [("what", "ours", "baseline", "baseline figure", "ratio")]
    for program, rows_of in PROGRAMS:
        print(f"running {program} ...", file=sys.stderr)
        figures = run(program)
        for label, ours, base, base_label in rows_of(list(figures)):
            if ours not in figures:
                continue
            value, unit = figures[ours]
            b = figures.get(base)
            lines.append((label, f"{value:.4g} {unit}", base_label,
                          f"{b[0]:.4g} {b[1]}" if b else "n/a",
                          f"{value / b[0]:.2f}" if b and b[1] == unit else "n/a"))
    widths = [max(len(row[i]) for row in lines) for i in range(5)]
    for n, row in enumerate(lines):
        print("| " + " | ".join(cell.ljust(widths[i]) for i, cell in enumerate(row)) + " |")
        if n == 0:
            print("|" + "|".join("-" * (w + 2) for w in widths) + "|")


if __name__ == "__main__":
    main()
