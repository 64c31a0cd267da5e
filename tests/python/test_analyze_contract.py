"""analyze_contract: validation and analysis of one contract, end to end."""

import json

import pytest

from conftest import MINIMAL_CONTRACT, MINIMAL_YAML
from vorn._native import analyze_contract, parse_document, validate_contract

DOCUMENT = MINIMAL_YAML + """\
inputs:
  - id: orders
    schema:
      fields:
        - {name: amount, type: decimal, nullable: false}
        - {name: label, type: string, nullable: true}
outputs:
  - id: totals
    schema:
      fields:
        - {name: total, type: decimal, nullable: false}
semanticActions:
  - {id: trim_label, action: "vorn:trim", target: orders.label}
  - {id: upper_label, action: "vorn:uppercase", target: orders.label}
expressions:
  - {id: doubled, expr: "orders.amount * 2", type: decimal}
  - {id: fixed, expr: "1 + 2"}
  - {id: broken, expr: "orders.amount +"}
  - {id: mistyped, expr: "orders.label - 1"}
semantics:
  pure: false
lineage:
  mappings:
    - {output: totals, inputs: [orders]}
"""


def contract_of(text):
    result = parse_document(text)
    assert result["contract"] is not None, result["report"]
    return result["contract"]


def test_result_holds_validation_then_analysis():
    result = analyze_contract(contract_of(DOCUMENT))
    assert list(result) == ["validation", "analysis"]
    assert result["validation"] == validate_contract(contract_of(DOCUMENT))
    assert list(result["analysis"]) == ["diagnostics", "findings"]


def test_analysis_reports_in_declaration_order():
    analysis = analyze_contract(contract_of(DOCUMENT))["analysis"]
    refs = [d["objectRef"] for d in analysis["diagnostics"]]
    # Expression checks first, in declaration order; then the semantics checks.
    assert refs[:2] == ["expressions.broken", "expressions.mistyped"]
    assert refs[2:] == ["semantics.ordering", "semantics.sideEffects"]
    overlap, impure = analysis["diagnostics"][2:]
    assert overlap["message"] == (
        "multiple semantic actions target 'orders.label' without an explicit ordering declaration")
    assert impure == {
        "id": "vorn:invalid-semantics", "severity": "error", "stage": "analysis", "category": "semantic",
        "message": "transformation declares pure: false but does not declare any side effects",
        "objectRef": "semantics.sideEffects", "remediation": "Declare sideEffects when pure is false",
    }
    assert analysis["findings"] == [
        {"objectRef": "expressions.fixed", "kind": "constantExpression",
         "message": "expression is constant and may be evaluated during planning"},
        {"objectRef": "semanticActions.trim_label", "kind": "lineageCoverage",
         "message": "semantic action targets 'orders', but lineage mappings do not mention that output"},
        {"objectRef": "semanticActions.upper_label", "kind": "lineageCoverage",
         "message": "semantic action targets 'orders', but lineage mappings do not mention that output"},
    ]


def test_empty_contract_gives_empty_analysis():
    assert analyze_contract(MINIMAL_CONTRACT)["analysis"] == {"diagnostics": [], "findings": []}


def test_registry_file_is_merged_per_call(tmp_path):
    registry = tmp_path / "r.json"
    registry.write_text(json.dumps({
        "id": "acme", "version": "1", "governingSpecification": "1.0.0-draft", "publicationStatus": "draft",
        "entries": {"vorn:now": {"name": "Now", "category": "function", "version": "1", "status": "draft",
                                 "definition": '{"kind":"function","returnType":"datetime","deterministic":false}'}},
    }))
    contract = dict(MINIMAL_CONTRACT, functions=[{"id": "now", "function": "vorn:now"}],
                    semantics={"deterministic": True})
    with_file = analyze_contract(contract, registry_path=str(registry))["analysis"]["diagnostics"]
    assert [d["id"] for d in with_file] == ["vorn:non-deterministic-semantics"]
    assert with_file[0]["objectRef"] == "functions.now.function"
    assert analyze_contract(contract)["analysis"]["diagnostics"] == []


@pytest.mark.parametrize(
    "args, error, message",
    [
        ((None,), TypeError, "contract must be a dict, not None"),
        (({**MINIMAL_CONTRACT, "version": float("inf")},), ValueError,
         "contract contains non-finite float values (NaN or Infinity)"),
        ((MINIMAL_CONTRACT, 3), TypeError, "analyze_contract() argument 'registry_path' must be str, not int"),
        ((MINIMAL_CONTRACT, "/nonexistent/r.yaml"), ValueError,
         "failed to read registry '/nonexistent/r.yaml': No such file or directory"),
    ],
)
def test_exceptions(args, error, message):
    with pytest.raises(error) as raised:
        analyze_contract(*args)
    assert str(raised.value) == message


def test_contract_errors_come_before_registry_errors():
    with pytest.raises(TypeError, match="^contract must be a dict, not None$"):
        analyze_contract(None, "/nonexistent/r.yaml")
