"""How comparison and lineage time grow: compat_analyze and evolve_analyze of
two revisions, and lineage_analyze with an impact query that walks every
mapping, at 1x, 4x and 16x. The 16x revisions hold 100,000 schema fields
each and 10,000 lineage mappings that form one long chain with cycles back
into it. Linear scaling shows as ratios near 4 and 16; Python's own
json.dumps of the same contracts is shown as the floor.

  python bench/bench_compare.py [--units N] [--runs N]"""

import argparse
import copy
import json
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from timing import best_of  # noqa: E402

import vorn  # noqa: E402

FACTORS = (1, 4, 16)
TYPES = ["string", "integer", "decimal", "date", "list<string>", "map<string, integer>", "boolean", "datetime"]


def make_older(units: int) -> dict:
    """Per unit: one input of 8 fields, one output of 2, a rule, an
    expression, and a mapping that chains the output to the previous one;
    every 50th mapping also reads a later output, closing a cycle."""
    inputs, outputs, rules, expressions, mappings = [], [], [], [], []
    for i in range(units):
        inputs.append({"id": f"in_{i}", "optional": i % 7 == 0, "streaming": {"mode": "bounded"},
                       "preconditions": [{"rule": f"rule_{i}"}],
                       "schema": {"fields": [{"name": f"f{j}", "type": TYPES[(i + j) % 8], "nullable": j % 2 == 0}
                                             for j in range(8)]}})
        outputs.append({"id": f"out_{i}", "schema": {"fields": [{"name": "k", "type": "string", "nullable": False},
                                                                {"name": "v", "type": "integer", "nullable": True}]}})
        rules.append({"id": f"rule_{i}", "rule": "vorn:not_null", "target": f"in_{i}.f1", "phase": "precondition"})
        expressions.append({"id": f"expr_{i}", "expr": f"in_{i}.f1 + 1", "type": "integer"})
        sources = [f"in_{i}"] + [f"out_{i - 1}"] * (i > 0) + [f"out_{min(i + 25, units - 1)}"] * (i % 50 == 0)
        mappings.append({"output": f"out_{i}", "inputs": sources})
    return {"vornVersion": "1.0.0", "id": "bench.compare", "name": "Compare", "version": "1.0.0",
            "metadata": {"governance": {"owner": "data-platform", "steward": "bench"}},
            "inputs": inputs, "outputs": outputs, "rules": rules, "expressions": expressions,
            "lineage": {"mappings": mappings}, **{f"acme:key_{i}": i for i in range(units // 10)}}


def make_newer(older: dict) -> dict:
    """A revision touching about one record in ten of every kind, listed in
    reverse so that no pairing by position can help."""
    newer = copy.deepcopy(older)
    newer["version"] = "1.1.0"
    for i, item in enumerate(newer["inputs"]):
        if i % 10 == 1:
            item["schema"]["fields"][0]["type"] = "decimal"
            item["schema"]["fields"].append({"name": "added", "type": "string", "nullable": True})
        if i % 10 == 3:
            item["optional"] = not item["optional"]
    newer["inputs"] = [item for i, item in enumerate(newer["inputs"]) if i % 10 != 5][::-1]
    newer["outputs"] = newer["outputs"][::-1]
    for i, rule in enumerate(newer["rules"]):
        if i % 10 == 2:
            rule["phase"] = "execution"
    for i, mapping in enumerate(newer["lineage"]["mappings"]):
        if i % 10 == 4:
            mapping["inputs"] = mapping["inputs"][::-1] + ["extra"]
    for i in range(0, len(older["inputs"]), 10):
        newer.pop(f"acme:key_{i}", None)
    return newer


def rows(units: int = 625, runs: int = 3) -> list:
    """(measurement, time, ratio) rows of comparison and lineage scaling."""
    calls = {
        # Every call starts by handing its contracts over as JSON text: the
        # floor that memory and cache effects at 16x raise for all of them.
        "json.dumps of the older revision (floor)": lambda older, newer: json.dumps(older, allow_nan=False),
        "compat_analyze": lambda older, newer: vorn.compat_analyze(older, newer),
        "evolve_analyze": lambda older, newer: vorn.evolve_analyze(older, newer),
        "lineage_analyze": lambda older, newer: vorn.lineage_analyze(older, impact="in_0", dependency="out_1"),
    }
    times, sizes = {name: {} for name in calls}, {}
    for factor in FACTORS:
        older = make_older(units * factor)
        newer = make_newer(older)
        fields = sum(len(i["schema"]["fields"]) for i in older["inputs"] + older["outputs"])
        sizes[factor] = f"{fields:,} fields, {len(older['lineage']['mappings']):,} mappings"
        for name, call in calls.items():
            times[name][factor] = best_of(lambda: call(older, newer), runs)
    return [(f"{name} at {factor}x ({sizes[factor]})", f"{times[name][factor] * 1000:.0f} ms",
             f"{times[name][factor] / times[name][1]:.1f}x the 1x time") for name in calls for factor in FACTORS]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--units", type=int, default=625, help="inputs, outputs and mappings at 1x")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    from bench_parse import print_table
    print_table(rows(args.units, args.runs))


if __name__ == "__main__":
    main()
