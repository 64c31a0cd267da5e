"""Shared documents and checks for the tests of vorn._native."""

import json

MAX_DOCUMENT_SIZE = 16 * 1024 * 1024

MINIMAL_YAML = "vornVersion: 1.0.0\nid: orders\nname: Orders\nversion: 2.1.0\n"
MINIMAL_JSON = json.dumps({"vornVersion": "1.0.0", "id": "orders", "name": "Orders", "version": "2.1.0"})

# A block mapping: YAML only, so it tells which reader actually ran.
YAML_ONLY = MINIMAL_YAML

MINIMAL_CONTRACT = {
    "vornVersion": "1.0.0",
    "id": "orders",
    "name": "Orders",
    "version": "2.1.0",
    "inputs": [],
    "outputs": [],
    "semanticActions": [],
    "expressions": [],
    "functions": [],
    "rules": [],
}

SIZE_MESSAGE = f"document exceeds maximum size of {MAX_DOCUMENT_SIZE} bytes"


def single_parse_error(result):
    """The message of the one parse-error diagnostic `result` must carry."""
    assert result["contract"] is None
    diagnostics = result["report"]["diagnostics"]
    assert len(diagnostics) == 1, diagnostics
    diagnostic = diagnostics[0]
    assert list(diagnostic) == ["id", "severity", "stage", "category", "message"]
    assert diagnostic["id"] == "vorn:parse-error"
    assert (diagnostic["severity"], diagnostic["stage"], diagnostic["category"]) == ("error", "parse", "syntax")
    assert isinstance(diagnostic["message"], str) and diagnostic["message"]
    return diagnostic["message"]


def parsed_contract(result):
    """The contract of a result that must have parsed cleanly."""
    assert result["report"] == {"diagnostics": []}
    assert result["contract"] is not None
    return result["contract"]


# A contract that every validation pass accepts: one required input, one
# output, lineage from one to the other.
VALID_YAML = """\
vornVersion: 1.0.0
id: orders
name: Orders
version: 2.1.0
inputs:
  - id: raw_orders
    schema:
      fields:
        - {name: order_id, type: string, nullable: false}
outputs:
  - id: clean_orders
    schema:
      fields:
        - {name: amount, type: decimal, nullable: false}
lineage:
  mappings:
    - {output: clean_orders, inputs: [raw_orders]}
"""

REGISTRY_HEADER = "id: acme:registry\nversion: 1.0.0\ngoverningSpecification: 1.0.0-draft\npublicationStatus: draft\n"


def registry_entry_yaml(key, name="Entry", category="semanticAction", **extra):
    """One entry of a YAML registry document's `entries` mapping."""
    lines = [f"  {key}:", f"    name: {name}", f"    category: {category}", "    version: 1.0.0",
             "    status: standard"]
    lines += [f"    {k}: {v}" for k, v in extra.items()]
    return "\n".join(lines) + "\n"


def diagnostic(code, category, message, object_ref=None, remediation=None, stage="validation"):
    """A diagnostic's dict as the module returns it (absent optional keys left out)."""
    result = {"id": code, "severity": "error", "stage": stage, "category": category, "message": message}
    if object_ref is not None:
        result["objectRef"] = object_ref
    if remediation is not None:
        result["remediation"] = remediation
    return result
