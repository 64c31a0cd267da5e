"""compat_analyze, evolve_analyze and lineage_analyze, end to end from YAML
documents: scopes, argument rules, reports, and a stable order of findings."""

import json
import subprocess
import sys

import pytest

from conftest import MINIMAL_CONTRACT, MINIMAL_YAML
from vorn._native import compat_analyze, evolve_analyze, lineage_analyze, parse_document


def contract_of(body, header=MINIMAL_YAML):
    result = parse_document(header + body)
    assert result["contract"] is not None, result["report"]
    return result["contract"]


OLDER = contract_of("""\
inputs:
  - {id: orders, schema: {fields: [{name: amount, type: integer, nullable: false}]}}
  - {id: gone, optional: true}
outputs:
  - {id: totals}
lineage:
  mappings:
    - {output: totals, inputs: [orders]}
acme:team: core
""")
NEWER = contract_of("""\
inputs:
  - {id: extra, optional: true}
  - {id: orders, schema: {fields: [{name: amount, type: decimal, nullable: true}]}}
outputs:
  - {id: totals}
  - {id: audit}
lineage:
  mappings:
    - {output: audit, inputs: [totals]}
    - {output: totals, inputs: [orders, extra]}
metadata: {deprecated: true, replacement: orders-v3}
""")
ASPECTS = ["interfaces", "types", "semantics", "lineage", "metadata", "extensions"]


def aspects(names, differing=None):
    differing = differing or {}
    return [{"aspect": a, "compatible": a not in differing,
             "message": f"{differing[a]} difference(s) in {a}" if a in differing else f"{a} match within scope"}
            for a in names]


@pytest.mark.parametrize("scope, names", [
    (None, ASPECTS), ([], ASPECTS), (("all", "bogus"), ASPECTS), (["metadata", "types", "metadata"], ["types", "metadata"]),
])
def test_scopes_select_aspects(scope, names):
    assert compat_analyze(OLDER, OLDER, scope) == {"level": "identical", "aspects": aspects(names), "diagnostics": []}


def test_compatibility_report_in_full():
    report = compat_analyze(OLDER, NEWER, scope=["types", "extensions"])
    warning = {"id": "vorn:conditional-compatibility", "severity": "warning", "stage": "analysis",
               "category": "compatibility"}
    assert report == {
        "level": "conditionallyCompatible",
        "aspects": aspects(["types", "extensions"], {"types": 2, "extensions": 1}),
        "diagnostics": [
            {**warning, "message": "field 'amount' type widened from 'integer' to 'decimal'",
             "objectRef": "inputs.orders.schema.fields.amount.type"},
            {**warning, "message": "field 'amount' changed from non-nullable to nullable",
             "objectRef": "inputs.orders.schema.fields.amount.nullable"},
            {"id": "vorn:conditional-compatibility", "severity": "warning", "stage": "analysis",
             "category": "compatibility", "message": "extension key 'acme:team' removed in target",
             "objectRef": "acme:team"},
        ],
    }


NAN_CONTRACT = {**MINIMAL_CONTRACT, "id": float("nan")}


@pytest.mark.parametrize("call, error, message", [
    (lambda: compat_analyze(OLDER, OLDER, ["types", "bogus", "other"]), ValueError,
     "invalid scope token(s): bogus, other"),
    (lambda: compat_analyze(OLDER, OLDER, ("", " types")), ValueError, "invalid scope token(s): ,  types"),
    (lambda: compat_analyze(OLDER, OLDER, "types"), TypeError,
     "compat_analyze() argument 'scope' must be a sequence of str or None, not str"),
    (lambda: compat_analyze(OLDER, OLDER, ["types", 1]), TypeError,
     "compat_analyze() argument 'scope' items must be str, not int"),
    # Contracts convert before tokens are checked, the first one first.
    (lambda: compat_analyze(None, NAN_CONTRACT, ["bogus"]), TypeError, "contract must be a dict, not None"),
    (lambda: compat_analyze(OLDER, NAN_CONTRACT, ["bogus"]), ValueError,
     "contract contains non-finite float values (NaN or Infinity)"),
    (lambda: evolve_analyze(OLDER, None), TypeError, "contract must be a dict, not None"),
    (lambda: lineage_analyze(OLDER, 1), TypeError, "lineage_analyze() argument 'impact' must be str, not int"),
    (lambda: lineage_analyze(OLDER, dependency=b"x"), TypeError,
     "lineage_analyze() argument 'dependency' must be str, not bytes"),
], ids=["unknown-tokens", "blank-tokens", "single-str", "non-str-token", "first-contract-first",
        "contracts-before-scope", "evolve-none", "impact-int", "dependency-bytes"])
def test_argument_errors(call, error, message):
    with pytest.raises(error) as caught:
        call()
    assert str(caught.value) == message


def test_evolution_report_in_full():
    report = evolve_analyze(OLDER, NEWER)
    interface = [("interface", "optional input 'gone' removed in target (backward-incompatible for source "
                  "consumers)", "inputs.gone"), ("interface", "input 'extra' added in target", "inputs.extra")]
    types = [("type", "field 'amount' type widened from 'integer' to 'decimal'",
              "inputs.orders.schema.fields.amount.type"),
             ("type", "field 'amount' changed from non-nullable to nullable",
              "inputs.orders.schema.fields.amount.nullable")]
    rest = [("interface", "output 'audit' added in target", "outputs.audit"),
            ("lineage", "lineage inputs changed for output 'totals'", "lineage.mappings.totals.inputs"),
            ("lineage", "lineage mapping for output 'audit' added", "lineage.mappings.audit"),
            ("extension", "extension key 'acme:team' removed in target", "acme:team"),
            ("metadata", "contract metadata marks this revision as deprecated", "metadata.deprecated"),
            ("metadata", "replacement contract: orders-v3", "metadata.replacement")]
    changes = [{"category": c, "message": m, "objectRef": r} for c, m, r in interface + types + rest]
    assert [list(report)[:4], list(report.values())[:4]] == [
        ["sourceId", "targetId", "sameIdentity", "compatibility"], ["orders", "orders", True, "incompatible"]]
    assert report["changes"] == changes
    assert report["migrationHints"] == [
        "Breaking changes detected; update consumers or provide a migration path before deployment."] + [
        f"Address {c['category']} change: {c['message']}" for c in changes[:5]]
    analysis = {"stage": "analysis", "category": "compatibility"}
    severities = ["error", "warning", "warning", "warning", "warning", "error", "warning", "warning"]
    assert report["diagnostics"] == [
        {"id": "vorn:version-conflict", "severity": "warning", **analysis,
         "message": "revisions share version '2.1.0' but differ semantically", "objectRef": "version",
         "remediation": "Use distinct version identifiers for distinct revisions"}] + [
        {"id": "vorn:incompatible-contract" if s == "error" else "vorn:conditional-compatibility", "severity": s,
         **analysis, "message": c["message"], "objectRef": c["objectRef"]} for s, c in zip(severities, changes)] + [
        {"id": "vorn:incompatible-contract", "severity": "error", **analysis,
         "message": "contracts are incompatible within the requested scope",
         "remediation": "Review breaking changes and align interfaces, types, or semantics"}]


LINEAGE = contract_of("""\
inputs: [{id: orders}, {id: unused}]
outputs: [{id: totals}]
lineage:
  mappings:
    - {output: totals, inputs: [orders, staged]}
    - {output: audit, inputs: [totals]}
metadata: {governance: {owner: data-team}}
""")
GRAPH = [{"output": "totals", "inputs": ["orders", "staged"]}, {"output": "audit", "inputs": ["totals"]}]


def unresolved(message, ref):
    return {"id": "vorn:unresolved-reference", "severity": "warning", "stage": "analysis", "category": "reference",
            "message": message, "objectRef": ref}


@pytest.mark.parametrize("impact, dependency, extra", [
    (None, None, {}),
    ("staged", "audit", {"dependency": {"output": "audit", "inputs": ["totals"]},
                         "impact": {"input": "staged", "outputs": ["audit", "totals"]}}),
    ("unused", "totals", {"dependency": {"output": "totals", "inputs": ["orders", "staged"]},
                          "impact": {"input": "unused", "outputs": []}}),
    (" orders", "\u3000", {"dependency": {"output": "\u3000", "inputs": []},
                           "impact": {"input": " orders", "outputs": []},
                           "diagnostics": [unresolved("impact query input ' orders' was not found in the contract",
                                                      "inputs. orders"),
                                           unresolved("dependency query output '\u3000' was not found in the contract",
                                                      "outputs.\u3000")]}),
], ids=["no-queries", "mapped-not-declared", "declared-not-mapped", "untrimmed-unknown"])
def test_lineage_queries(impact, dependency, extra):
    expected = {"graph": GRAPH, **{k: v for k, v in extra.items() if k != "diagnostics"},
                "governance": {"owner": "data-team"}, **{k: v for k, v in extra.items() if k == "diagnostics"}}
    report = lineage_analyze(LINEAGE, impact=impact, dependency=dependency)
    assert (list(report), report) == (list(expected), expected)


ORDER_PROBE = f"""
import json, vorn
older, newer = json.loads({json.dumps(json.dumps([OLDER, NEWER]))})
print(json.dumps([vorn.compat_analyze(older, newer), vorn.evolve_analyze(newer, older)]))
"""


def test_findings_come_in_the_same_order_in_every_process():
    here = [compat_analyze(OLDER, NEWER), evolve_analyze(NEWER, OLDER)]
    assert [compat_analyze(OLDER, NEWER), evolve_analyze(NEWER, OLDER)] == here
    for seed in ("0", "1"):
        done = subprocess.run([sys.executable, "-c", ORDER_PROBE], capture_output=True, text=True, timeout=60,
                              env={"PYTHONHASHSEED": seed}, check=True)
        assert json.loads(done.stdout) == here
