"""How contract analysis time grows: semantic actions with an explicit
ordering of all of them, plus expressions over the input's fields, at 1x, 4x
and 16x. The 16x contract holds 10,000 semantic actions and a 10,000-entry
ordering. Linear scaling shows as ratios near 4 and 16.

  python bench/bench_analysis.py [--actions N] [--runs N]"""

import argparse
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from timing import best_of  # noqa: E402

import vorn  # noqa: E402

FACTORS = (1, 4, 16)


def make_contract(actions: int) -> dict:
    fields = [{"name": f"f{i}", "type": "integer", "nullable": i % 2 == 0} for i in range(actions)]
    ids = [f"action_{i}" for i in range(actions)]
    return {
        "vornVersion": "1.0.0", "id": "bench.analysis", "name": "Analysis", "version": "1.0.0",
        "inputs": [{"id": "in", "schema": {"fields": fields}}],
        "outputs": [{"id": "out", "schema": {"fields": fields[:10]}}],
        "semanticActions": [{"id": a, "action": "vorn:trim", "target": f"in.f{i}"} for i, a in enumerate(ids)],
        "expressions": [{"id": f"e{i}", "expr": f"in.f{i} * 2 + vorn:length('x')"} for i in range(actions)],
        "semantics": {"deterministic": True, "ordering": {"mode": "explicit", "order": ids}},
        "lineage": {"mappings": [{"output": "out", "inputs": ["in"]}]},
    }


def rows(actions: int = 625, runs: int = 3) -> list:
    """(measurement, time, ratio) rows of analysis scaling."""
    times, table = {}, []
    for factor in FACTORS:
        n = actions * factor
        contract = make_contract(n)
        times[factor] = best_of(lambda: vorn.analyze_contract(contract), runs)
        table.append((f"analyze_contract at {factor}x ({n:,} semantic actions, order entries, expressions)",
                      f"{times[factor] * 1000:.0f} ms", f"{times[factor] / times[1]:.1f}x the 1x time"))
    return table


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--actions", type=int, default=625, help="semantic actions at 1x")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    from bench_parse import print_table
    print_table(rows(args.actions, args.runs))


if __name__ == "__main__":
    main()
