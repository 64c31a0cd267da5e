"""How lowering, plan validation, optimization and equivalence time grow: a contract whose plan has five
nodes and ten dependencies per unit (two semantic actions in an explicit
ordering, an expression reading an input field and a written output field,
two rules of different phases on one field with an input precondition), at
1x, 4x and 16x. The 16x plan holds 20,000 nodes and 40,000 dependencies.
Linear scaling shows as ratios near 4 and 16.

  python bench/bench_plan.py [--units N] [--runs N]"""

import argparse
import gc
import json
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from timing import best_of  # noqa: E402

import vorn  # noqa: E402

FACTORS = (1, 4, 16)


def make_contract(units: int) -> dict:
    def fields(prefix):
        return [{"name": f"{prefix}{i}", "type": "integer", "nullable": False} for i in range(units)]

    actions, order = [], []
    for i in range(units):
        actions += [{"id": f"a{i}", "action": "vorn:trim", "target": f"src.f{i}"},
                    {"id": f"b{i}", "action": "vorn:trim", "target": f"dst.g{i}"}]
        order += [f"a{i}", f"b{i}"]
    return {
        "vornVersion": "1.0.0", "id": "bench.plan", "name": "Plan", "version": "1.0.0",
        "inputs": [{"id": "src", "schema": {"fields": fields("f")},
                    "preconditions": [{"rule": f"p{i}"} for i in range(units)]}],
        "outputs": [{"id": "dst", "schema": {"fields": fields("g")}}],
        "semanticActions": actions,
        "expressions": [{"id": f"e{i}", "expr": f"src.f{i} + dst.g{i}", "type": "integer"} for i in range(units)],
        "rules": [rule for i in range(units) for rule in (
            {"id": f"p{i}", "rule": "vorn:not_null", "target": f"src.f{i}", "phase": "precondition"},
            {"id": f"q{i}", "rule": "vorn:range", "target": f"src.f{i}", "phase": "postcondition",
             "parameters": {"min": 0}})],
        "semantics": {"deterministic": True, "ordering": {"mode": "explicit", "order": order}},
        "lineage": {"mappings": [{"output": "dst", "inputs": ["src"]}]},
    }


def rows(units: int = 250, runs: int = 5) -> list:
    """(measurement, time, ratio) rows of lowering, validation, optimization and
    equivalence scaling,
    beside Python's own json.loads of the same plans for scale: the larger
    sizes outgrow the processor caches, which no code escapes. The sizes take
    turns, run after run, so that a busy moment of the machine does not fall
    on one size alone."""
    work = {}
    for factor in FACTORS:
        contract = make_contract(units * factor)
        result = vorn.plan_lower(contract)
        if "plan" not in result:
            sys.exit(f"{factor}x: no plan: {result['diagnostics'][:3]}")
        work[factor] = (contract, result["plan"], json.dumps(result["plan"]))
    # The inputs of every size stay alive for the whole run; frozen, they are
    # not walked again by each collection that a call's own objects trigger.
    gc.collect()
    gc.freeze()
    calls = {"plan_lower": lambda c, p, t: vorn.plan_lower(c), "plan_validate": lambda c, p, t: vorn.plan_validate(p),
             "plan_optimize": lambda c, p, t: vorn.plan_optimize(p),
             "plan_equivalent of the plan with itself": lambda c, p, t: vorn.plan_equivalent(p, p),
             "json.loads of the plan": lambda c, p, t: json.loads(t)}
    best = {(name, factor): float("inf") for name in calls for factor in FACTORS}
    for _ in range(runs):
        for factor, inputs in work.items():
            for name, call in calls.items():
                best[name, factor] = min(best[name, factor], best_of(lambda: call(*inputs), 1))
    gc.unfreeze()
    table = []
    for (name, factor), t in best.items():
        plan = work[factor][1]
        size = f"{len(plan['nodes']):,} nodes, {len(plan['dependencies']):,} dependencies"
        table.append((f"{name} at {factor}x ({size})", f"{t * 1000:.0f} ms", f"{t / best[name, 1]:.1f}x the 1x time"))
    return table


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--units", type=int, default=250, help="units of five nodes at 1x")
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    from bench_parse import print_table
    print_table(rows(args.units, args.runs))


if __name__ == "__main__":
    main()
