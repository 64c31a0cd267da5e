"""compat_analyze, evolve_analyze and lineage_analyze end to end from YAML
documents: scopes and query names as given, argument rules, and findings in
the same order in every process."""

import json
import subprocess
import sys

import pytest

from conftest import MINIMAL_CONTRACT, MINIMAL_YAML
from vorn._native import compat_analyze, evolve_analyze, lineage_analyze, parse_document


def contract_of(body):
    result = parse_document(MINIMAL_YAML + body)
    assert result["contract"] is not None, result["report"]
    return result["contract"]


OLDER = contract_of("""\
inputs: [{id: orders, schema: {fields: [{name: amount, type: integer, nullable: false}]}}, {id: gone}]
lineage: {mappings: [{output: totals, inputs: [orders]}]}
acme:team: core
""")
NEWER = contract_of("""\
inputs: [{id: extra, optional: true}, {id: orders, schema: {fields: [{name: amount, type: decimal, nullable: false}]}}]
lineage: {mappings: [{output: audit, inputs: [totals]}, {output: totals, inputs: [extra, orders]}]}
metadata: {deprecated: true, replacement: orders-v3, governance: {owner: data-team}}
""")
ASPECTS = ["interfaces", "types", "semantics", "lineage", "metadata", "extensions"]


FINDINGS = [("error", "required input 'gone' removed in target", "inputs.gone"),
            ("warning", "input 'extra' added in target", "inputs.extra"),
            ("warning", "field 'amount' type widened from 'integer' to 'decimal'",
             "inputs.orders.schema.fields.amount.type"),
            ("error", "lineage inputs changed for output 'totals'", "lineage.mappings.totals.inputs"),
            ("warning", "lineage mapping for output 'audit' added", "lineage.mappings.audit"),
            ("warning", "extension key 'acme:team' removed in target", "acme:team")]
SUMMARY = {"id": "vorn:incompatible-contract", "severity": "error", "stage": "analysis", "category": "compatibility",
           "message": "contracts are incompatible within the requested scope",
           "remediation": "Review breaking changes and align interfaces, types, or semantics"}


EVERY = (ASPECTS, "incompatible", range(6))


@pytest.mark.parametrize("scope, expected", [
    (None, EVERY), ([], EVERY), (("all", "bogus"), EVERY),
    (["types", "extensions", "types"], (["types", "extensions"], "conditionallyCompatible", [2, 5])),
])
def test_compatibility_within_a_scope(scope, expected):
    names, level, found = expected
    differing = {"interfaces": 2, "types": 1, "lineage": 2, "extensions": 1}
    diagnostics = [{"id": "vorn:incompatible-contract" if s == "error" else "vorn:conditional-compatibility",
                    "severity": s, "stage": "analysis", "category": "compatibility", "message": m, "objectRef": r}
                   for s, m, r in (FINDINGS[i] for i in found)]
    assert compat_analyze(OLDER, NEWER, scope) == {
        "level": level,
        "aspects": [{"aspect": a, "compatible": a not in differing,
                     "message": f"{differing[a]} difference(s) in {a}" if a in differing else f"{a} match within scope"}
                    for a in names],
        "diagnostics": diagnostics + [SUMMARY] * (level == "incompatible"),
    }


def test_evolution_with_deprecation():
    report = evolve_analyze(OLDER, NEWER)
    assert list(report.values())[:4] == ["orders", "orders", True, "incompatible"]
    assert [c["objectRef"] for c in report["changes"]] == [f[2] for f in FINDINGS] + [
        "metadata.deprecated", "metadata.replacement"]
    assert report["migrationHints"][1:] == [f"Address {kind} change: {FINDINGS[i][1]}"
                                            for kind, i in [("interface", 0), ("interface", 1), ("type", 2)]]
    assert [d.get("objectRef") for d in report["diagnostics"]] == ["version"] + [f[2] for f in FINDINGS] + [None]


def test_lineage_queries_are_taken_as_written():
    assert lineage_analyze(NEWER, impact="extra", dependency="totals") == {
        "graph": [{"output": "audit", "inputs": ["totals"]}, {"output": "totals", "inputs": ["extra", "orders"]}],
        "dependency": {"output": "totals", "inputs": ["extra", "orders"]},
        "impact": {"input": "extra", "outputs": ["audit", "totals"]},
        "governance": {"owner": "data-team"},
    }
    for name in (" extra", "\ud800"):
        report = lineage_analyze(NEWER, name)
        assert (report["impact"], report["diagnostics"]) == ({"input": name, "outputs": []}, [{
            "id": "vorn:unresolved-reference", "severity": "warning", "stage": "analysis", "category": "reference",
            "message": f"impact query input '{name}' was not found in the contract", "objectRef": f"inputs.{name}"}])


NAN_CONTRACT = {**MINIMAL_CONTRACT, "id": float("nan")}


@pytest.mark.parametrize("call, error, message", [
    (lambda: compat_analyze(OLDER, OLDER, ["types", "bogus", "", "Lineage"]), ValueError,
     "invalid scope token(s): bogus, , Lineage"),
    (lambda: compat_analyze(OLDER, OLDER, "types"), TypeError,
     "compat_analyze() argument 'scope' must be a sequence of str or None, not str"),
    (lambda: compat_analyze(OLDER, OLDER, ["types", 1]), TypeError,
     "compat_analyze() argument 'scope' items must be str, not int"),
    # Both contracts convert, the first one first, before tokens are checked.
    (lambda: compat_analyze(None, NAN_CONTRACT, ["bogus"]), TypeError, "contract must be a dict, not None"),
    (lambda: compat_analyze(OLDER, NAN_CONTRACT, ["bogus"]), ValueError,
     "contract contains non-finite float values (NaN or Infinity)"),
    (lambda: evolve_analyze(OLDER, None), TypeError, "contract must be a dict, not None"),
    (lambda: lineage_analyze(OLDER, dependency=b"x"), TypeError,
     "lineage_analyze() argument 'dependency' must be str, not bytes"),
], ids=["unknown-tokens", "single-str", "non-str-token", "first-contract-first", "contracts-before-scope",
        "evolve-none", "dependency-bytes"])
def test_argument_errors(call, error, message):
    with pytest.raises(error) as caught:
        call()
    assert str(caught.value) == message


PROBE = f"""
import json, vorn
older, newer = json.loads({json.dumps(json.dumps([OLDER, NEWER]))})
print(json.dumps([vorn.compat_analyze(older, newer), vorn.evolve_analyze(newer, older)]))
"""


def test_findings_come_in_the_same_order_in_every_process():
    here = [compat_analyze(OLDER, NEWER), evolve_analyze(NEWER, OLDER)]
    assert [compat_analyze(OLDER, NEWER), evolve_analyze(NEWER, OLDER)] == here
    for seed in ("0", "1"):
        done = subprocess.run([sys.executable, "-c", PROBE], capture_output=True, text=True, timeout=60,
                              env={"PYTHONHASHSEED": seed}, check=True)
        assert json.loads(done.stdout) == here
