#!/usr/bin/env python3
"""Measures how many deliberate faults the test suite catches.

Picks single-token changes ("mutants") in the core's sources at a fixed seed,
spread over every folder of src/, applies each one alone in a scratch clone,
rebuilds incrementally and runs the C++ tests and the quick Python tests
against the rebuilt module. A mutant is killed when a test fails, survives
when all pass, and is left out when it does not compile.

  scripts/mutate.py --list                      # the chosen sites, nothing run
  scripts/mutate.py --jobs 4 --out before.json  # run them all
  scripts/mutate.py --sites before.json --out after.json   # the same mutants again
  scripts/mutate.py --sites before.json --only src/parser --out parser.json  # a subset
  scripts/mutate.py --compare before.json after.json

Not part of CI: a full run of 120 mutants takes about an hour on 4 clones.
"""

import argparse
import concurrent.futures
import json
import os
import pathlib
import random
import re
import shutil
import subprocess
import sys
import sysconfig

ROOT = pathlib.Path(__file__).resolve().parent.parent
SCRATCH = pathlib.Path(os.environ.get("VORN_MUTATE_DIR", "/tmp/vorn-mutants"))

# (name, pattern, replacement). Binary operators are matched with the spaces
# the code is formatted with, which keeps template brackets, shifts and
# arrows out of reach.
OPERATORS = [
    ("eq->ne", r" == ", " != "),
    ("ne->eq", r" != ", " == "),
    ("lt->ge", r" < ", " >= "),
    ("ge->lt", r" >= ", " < "),
    ("gt->le", r" > ", " <= "),
    ("le->gt", r" <= ", " > "),
    ("lt->le", r" < ", " <= "),
    ("gt->ge", r" > ", " >= "),
    ("and->or", r" && (?![{;=])", " || "),  # not a reference qualifier
    ("or->and", r" \|\| ", " && "),
    ("true->false", r"\btrue\b", "false"),
    ("false->true", r"\bfalse\b", "true"),
    ("plus1->minus1", r" \+ 1\b", " - 1"),
    ("minus1->plus1", r" - 1\b", " + 1"),
    ("drop-not", r"!(?=[A-Za-z_(])", ""),
    ("drop-break", r"\bbreak;", ";"),
    ("drop-continue", r"\bcontinue;", ";"),
]

SKIP_LINE = re.compile(r"^\s*(#|//|\*|/\*)|static_assert|\bassert\(")


def folder_of(path: pathlib.Path) -> str:
    parts = path.relative_to(ROOT / "src").parts
    return "/".join(parts[:2]) if parts[0] == "analysis" and len(parts) > 2 else parts[0]


def strip_strings(line: str) -> str:
    """The line with string and character literals blanked out (same length)."""
    return re.sub(r'"(\\.|[^"\\])*"|\'(\\.|[^\'\\])*\'', lambda m: " " * len(m.group(0)), line)


def candidate_sites():
    sites = []
    for path in sorted((ROOT / "src").rglob("*")):
        if path.suffix not in (".cpp", ".h") or "builtin" in path.parts:
            continue
        for number, line in enumerate(path.read_text().splitlines(), 1):
            if SKIP_LINE.search(line):
                continue
            code = strip_strings(line.split("//")[0])
            for name, pattern, replacement in OPERATORS:
                for match in re.finditer(pattern, code):
                    sites.append({
                        "file": str(path.relative_to(ROOT)), "line": number, "column": match.start(),
                        "operator": name, "original": line,
                        "mutated": line[:match.start()] + replacement + line[match.end():],
                    })
    return sites


def choose(sites, count, seed):
    """A few mutants in every folder of src/, the rest drawn in proportion to
    each folder's share of the candidate sites."""
    rng = random.Random(seed)
    by_folder = {}
    for site in sites:
        by_folder.setdefault(folder_of(ROOT / site["file"]), []).append(site)
    chosen, rest = [], []
    for folder in sorted(by_folder):
        rng.shuffle(by_folder[folder])
        chosen += by_folder[folder][:3]
        rest += by_folder[folder][3:]
    rng.shuffle(rest)
    chosen += rest[:max(0, count - len(chosen))]
    chosen.sort(key=lambda s: (s["file"], s["line"], s["column"], s["operator"]))
    for index, site in enumerate(chosen):
        site["id"] = index
    return chosen


def run(command, cwd, timeout, env=None):
    try:
        done = subprocess.run(command, cwd=cwd, env=env, timeout=timeout, capture_output=True, text=True)
        return done.returncode == 0
    except subprocess.TimeoutExpired:
        return False


class Clone:
    """A scratch copy of the tree with its own incremental builds."""

    def __init__(self, index):
        self.dir = SCRATCH / f"clone{index}"
        self.package = self.dir / "build" / "pkg"

    def prepare(self):
        if self.dir.exists():
            shutil.rmtree(self.dir)
        shutil.copytree(ROOT, self.dir, ignore=shutil.ignore_patterns("build", ".git", "__pycache__"))
        python = sys.executable
        subprocess.run(["cmake", "-S", ".", "-B", "build/tests", "-G", "Ninja", "-DVORN_BUILD_TESTS=ON",
                        "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], cwd=self.dir, check=True, capture_output=True)
        subprocess.run(["cmake", "-S", ".", "-B", "build/module", "-G", "Ninja", "-DSKBUILD=ON",
                        "-DCMAKE_BUILD_TYPE=Release", f"-DPython_EXECUTABLE={python}"],
                       cwd=self.dir, check=True, capture_output=True)
        if not self.build():
            raise SystemExit(f"the unmutated tree does not build in {self.dir}")
        if not self.tests_pass():
            raise SystemExit(f"the unmutated tree fails its tests in {self.dir}")

    def build(self):
        ok = run(["cmake", "--build", "build/tests", "-j2"], self.dir, 1800) and \
            run(["cmake", "--build", "build/module", "-j2", "--target", "_native"], self.dir, 1800)
        if ok:
            (self.package / "vorn").mkdir(parents=True, exist_ok=True)
            shutil.copy(self.dir / "python" / "vorn" / "__init__.py", self.package / "vorn")
            suffix = ".abi3.so" if sysconfig.get_config_var("EXT_SUFFIX") else ".so"
            for built in (self.dir / "build" / "module").glob("_native*.so"):
                shutil.copy(built, self.package / "vorn" / ("_native" + suffix))
        return ok

    def tests_pass(self):
        if not run(["build/tests/vorn_tests", "--gtest_brief=1"], self.dir, 900):
            return False
        env = dict(os.environ, PYTHONPATH=str(self.package))
        return run([sys.executable, "-m", "pytest", "-x", "-q", "-p", "no:cacheprovider",
                    "--ignore", str(self.dir / "tests/python/test_memory.py"),
                    "--ignore", str(self.dir / "tests/python/test_properties.py"),
                    str(self.dir / "tests/python")], "/tmp", 900, env)

    def try_mutant(self, site):
        path = self.dir / site["file"]
        text = path.read_text()
        lines = text.splitlines(keepends=True)
        original = lines[site["line"] - 1]
        if original.rstrip("\n") != site["original"]:
            return "stale"
        lines[site["line"] - 1] = site["mutated"] + "\n"
        path.write_text("".join(lines))
        try:
            if not self.build():
                return "invalid"
            return "survived" if self.tests_pass() else "killed"
        finally:
            path.write_text(text)
            self.build()


def run_all(sites, jobs):
    clones = [Clone(i) for i in range(jobs)]
    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        list(pool.map(Clone.prepare, clones))
    queue = list(sites)
    results = {}

    def worker(clone):
        while queue:
            site = queue.pop(0)
            results[site["id"]] = clone.try_mutant(site)
            print(f"{site['id']:4d} {results[site['id']]:9s} {site['file']}:{site['line']} {site['operator']}",
                  flush=True)

    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        list(pool.map(worker, clones))
    for site in sites:
        site["status"] = results[site["id"]]
    return sites


def summary(sites):
    counts = {}
    for site in sites:
        counts[site.get("status", "not run")] = counts.get(site.get("status", "not run"), 0) + 1
    return counts


def compare(before_path, after_path):
    before = {s["id"]: s for s in json.loads(pathlib.Path(before_path).read_text())["sites"]}
    after = {s["id"]: s for s in json.loads(pathlib.Path(after_path).read_text())["sites"]}
    print("before:", summary(before.values()))
    print("after: ", summary(after.values()))
    for key in sorted(before):
        if before[key].get("status") == "killed" and after.get(key, {}).get("status") != "killed":
            site = before[key]
            print(f"no longer killed: {site['id']} {site['file']}:{site['line']} {site['operator']}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--seed", type=int, default=2026)
    parser.add_argument("--count", type=int, default=120)
    parser.add_argument("--jobs", type=int, default=4)
    parser.add_argument("--list", action="store_true", help="print the chosen sites and stop")
    parser.add_argument("--sites", help="take the sites of an earlier result file")
    parser.add_argument("--only", help="run only the sites whose file matches this regular expression")
    parser.add_argument("--out", default="mutants.json")
    parser.add_argument("--compare", nargs=2, metavar=("BEFORE", "AFTER"))
    args = parser.parse_args()
    if args.compare:
        compare(*args.compare)
        return
    if args.sites:
        sites = [{k: v for k, v in s.items() if k != "status"}
                 for s in json.loads(pathlib.Path(args.sites).read_text())["sites"]]
    else:
        sites = choose(candidate_sites(), args.count, args.seed)
    if args.only:
        sites = [s for s in sites if re.search(args.only, s["file"])]
    if args.list:
        for site in sites:
            print(f"{site['id']:4d} {site['file']}:{site['line']} {site['operator']}: {site['mutated'].strip()}")
        return
    run_all(sites, args.jobs)
    pathlib.Path(args.out).write_text(json.dumps({"seed": args.seed, "sites": sites}, indent=1))
    print(summary(sites))


if __name__ == "__main__":
    main()
