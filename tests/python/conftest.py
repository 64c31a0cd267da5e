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
