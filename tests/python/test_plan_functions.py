"""plan_lower, plan_topological_order, plan_validate, plan_optimize and
plan_equivalent, end to end."""

import json
import pathlib

import pytest

from conftest import VALID_YAML, diagnostic
from vorn._native import (
    parse_document, parse_path, plan_equivalent, plan_lower, plan_optimize, plan_topological_order, plan_validate,
)

EXAMPLE = parse_path(str(pathlib.Path(__file__).parents[2] / "examples" / "orders_enrichment.yaml"))["contract"]
PLAN = plan_lower(EXAMPLE)["plan"]
CONTRACT = parse_document(VALID_YAML)["contract"]


def planning(code, category, message, object_ref):
    return diagnostic(code, category, message, object_ref, stage="planning")


def test_example_lowers_validates_and_orders():
    assert plan_lower(EXAMPLE) == {"plan": PLAN, "diagnostics": []}
    assert plan_validate(json.loads(json.dumps(PLAN))) == {"diagnostics": []}
    assert plan_topological_order(EXAMPLE, PLAN) == [
        "customers", "orders", "trim_country", "daily_revenue", "net_amount", "order_count_non_negative",
        "order_id_present", "order_key"]


def test_contract_without_lineage_gives_no_plan():
    contract = parse_document(VALID_YAML.split("lineage:")[0])["contract"]
    assert plan_lower(contract) == {"diagnostics": [
        planning("vorn:incomplete-plan", "structure", "output 'clean_orders' has no lineage mapping", "lineage")]}


def test_cycles_self_loops_and_unknown_ends_at_scale():
    n = 100_000
    nodes = [{"id": f"n{i}", "objectRef": f"expressions.n{i}", "kind": {"kind": "expression", "id": f"n{i}"}}
             for i in range(n)]
    edges = [{"from": f"n{i}", "to": f"n{i + 1}", "reason": "fieldRead"} for i in range(n - 1)]
    edges += [{"from": "n7", "to": "n7", "reason": "rulePhase"}, {"from": "ghost", "to": "n0", "reason": "lineage"}]
    plan = {**PLAN, "nodes": nodes, "dependencies": edges}
    assert plan_topological_order(EXAMPLE, plan) == []
    assert plan_validate(plan)["diagnostics"] == [
        planning("vorn:unresolved-plan-reference", "reference",
                 "dependency source 'ghost' is not a known node or interface", f"dependencies[{n}].from"),
        planning("vorn:cyclic-dependency", "semantic", "plan dependency graph contains a cycle", "dependencies"),
        planning("vorn:unresolved-plan-reference", "reference",
                 "input precondition references unknown rule 'order_id_present'", "inputs.orders.preconditions"),
        planning("vorn:unresolved-plan-reference", "reference",
                 "output postcondition references unknown rule 'order_count_non_negative'",
                 "outputs.daily_revenue.postconditions")]


def expression(node_id, expr, type=None):
    kind = {"kind": "expression", "id": node_id, "expr": expr, **({"type": type} if type else {})}
    return {"id": node_id, "kind": kind, "objectRef": f"expressions.{node_id}"}


def skipped(rewrite, node_id):
    return {"id": "vorn:optimization-skipped", "severity": "information", "stage": "optimization",
            "category": "semantic", "message": f"skipped {rewrite} rewrite for node '{node_id}' due to type guard",
            "objectRef": f"expressions.{node_id}"}


def test_optimize_keeps_types_as_stored_and_removes_only_the_removed_nodes_findings():
    finding = {"objectRef": "expressions.e10", "kind": "k", "message": "m"}
    extra = [expression("e1", "1.0 + 1.0", "decimal"), expression("e10", "orders.amount")]
    result = plan_optimize({**PLAN, "nodes": PLAN["nodes"] + extra,
                            "findings": [{**finding, "objectRef": "expressions.e1"}, finding]})
    assert result["diagnostics"] == [skipped("expression", "e1"), skipped("function", "e1")]
    assert result["transforms"] == [{"pass": "deadExpression", "nodeId": "e1",
                                     "description": "removed unused expression node"}]
    assert (result["plan"]["nodes"][-1], result["plan"]["findings"]) == (extra[1], [finding])
    assert plan_optimize(PLAN) == {"plan": PLAN, "diagnostics": []}


def test_equivalence_counts_expressions_read_from_fields():
    changed = [expression("net_amount", "orders.amount", "decimal")] + PLAN["nodes"][1:]
    assert not plan_equivalent(PLAN, {**PLAN, "nodes": changed})
    assert plan_equivalent(PLAN, {**PLAN, "metadata": {}, "findings": []})


def test_validate_false_skips_both_validations():
    invalid = {**PLAN, "dependencies": PLAN["dependencies"] + [{"from": "ghost", "to": "net_amount",
                                                                "reason": "fieldRead"}]}
    failed = plan_optimize(invalid)
    assert "plan" not in failed and failed["diagnostics"][-1]["message"] == "input plan failed validation"
    # The rebuilt dependencies replace the invalid ones.
    assert plan_optimize(invalid, validate=False) == {"plan": PLAN, "diagnostics": []}


NAN = float("nan")


@pytest.mark.parametrize("call, error, message", [
    (lambda: plan_validate(None), TypeError, "plan must be a dict, not None"),
    (lambda: plan_validate({**PLAN, "x": [NAN]}), ValueError,
     "plan contains non-finite float values (NaN or Infinity)"),
    (lambda: plan_validate({}), ValueError, "invalid plan: missing field `identity` at line 1 column 2"),
    (lambda: plan_validate({"input_s": 1}), ValueError, "invalid plan: missing field `identity` at line 1 column 14"),
    (lambda: plan_validate({"nodes": [{"id": "a", "kind": {"kind": "step"}, "objectRef": "x"}]}), ValueError,
     "invalid plan: unknown variant `step`, expected one of `semanticAction`, `expression`, `rule` "
     "at line 1 column 46"),
    (lambda: plan_validate(PLAN, "/nonexistent/r.yaml"), ValueError,
     "failed to read registry '/nonexistent/r.yaml': No such file or directory"),
    (lambda: plan_lower(None), TypeError, "contract must be a dict, not None"),
    (lambda: plan_lower(CONTRACT, 5), TypeError, "plan_lower() argument 'registry_path' must be str, not int"),
    (lambda: plan_topological_order(None, None), TypeError, "contract must be a dict, not None"),
    (lambda: plan_optimize(PLAN, validate=None), TypeError,
     "plan_optimize() argument 'validate' must be bool, not None"),
    (lambda: plan_optimize(PLAN, None, False), TypeError,
     "plan_optimize() takes at most 2 positional arguments (3 given)"),
    (lambda: plan_equivalent(PLAN, None), TypeError, "plan must be a dict, not None"),
    (lambda: plan_equivalent({}, None), ValueError, "invalid plan: missing field `identity` at line 1 column 2"),
    (lambda: plan_topological_order(CONTRACT, {"nodes": {}}), ValueError,
     "invalid plan: invalid type: map, expected a sequence at line 1 column 11"),
])
def test_documented_exceptions(call, error, message):
    with pytest.raises(error) as caught:
        call()
    assert type(caught.value) is error
    assert str(caught.value) == message
