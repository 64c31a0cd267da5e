"""validate_document, validate_contract, metadata_validate, version_validate
and inspect: results end to end from small documents and dicts, and every
way a contract argument can be refused."""

import copy
import json
import re
import sys

import pytest

from conftest import MINIMAL_CONTRACT, REGISTRY_HEADER, VALID_YAML, diagnostic, registry_entry_yaml
from vorn._native import (
    analyze_contract,
    inspect,
    metadata_validate,
    parse_document,
    validate_contract,
    validate_document,
    version_validate,
)


def exactly(text):
    return "^" + re.escape(text) + "$"


def with_header(**fields):
    """VALID_YAML with some of its four header lines replaced (values as YAML)."""
    text = VALID_YAML
    for key, value in fields.items():
        text = re.sub(rf"^{key}: .*$", f"{key}: {value}", text, count=1, flags=re.M)
    return text


def contract_of(yaml_text):
    result = parse_document(yaml_text)
    assert result["report"] == {"diagnostics": []}
    return result["contract"]


def contract(**overrides):
    value = copy.deepcopy(MINIMAL_CONTRACT)
    value.update(overrides)
    return value


SUPPORTED = "1.0.0, 1.0.0-draft"


def d2(text):
    return diagnostic("vorn:unsupported-version", "compatibility",
                      f"unsupported vornVersion '{text}'; supported versions: {SUPPORTED}", "vornVersion",
                      "Use a supported VORN specification version")


def d3(key):
    return diagnostic("vorn:missing-required-field", "structure", f"{key} is required", key,
                      f"Provide a non-empty {key}")


def v1(text):
    return diagnostic("vorn:invalid-version", "compatibility",
                      f"contract version '{text}' is not a valid semver identifier", "version",
                      "Use semver format such as 1.0.0 or 0.2.0")


D1 = diagnostic("vorn:missing-required-field", "structure", "vornVersion is required", "vornVersion",
                "Set vornVersion to a supported VORN specification version")
V2 = diagnostic("vorn:invalid-version", "compatibility",
                "versioning.compatibility policy must be non-empty when declared", "versioning.compatibility")


def v3(text):
    return diagnostic("vorn:invalid-version", "compatibility",
                      f"versioning.compatibility policy '{text}' must be namespaced", "versioning.compatibility",
                      "Use a vorn: or vendor: compatibility policy identifier")


# --- validate_document -------------------------------------------------------


@pytest.mark.parametrize(
    "content, fmt",
    [(VALID_YAML, "yaml"), (VALID_YAML.encode(), "YML"), (json.dumps(contract_of(VALID_YAML)), "json")],
    ids=["yaml", "bytes", "json"],
)
def test_valid_document_has_no_diagnostics(content, fmt):
    assert validate_document(content, fmt) == {"diagnostics": []}


@pytest.mark.parametrize(
    "header, expected",
    [
        ({"vornVersion": "1.0.0-draft"}, []),
        ({"vornVersion": "2.0.0"}, [d2("2.0.0")]),
        ({"vornVersion": "1.0.0-DRAFT"}, [d2("1.0.0-DRAFT")]),
        ({"vornVersion": '" 1.0.0"'}, [d2(" 1.0.0")]),
        ({"vornVersion": '"  "'}, [D1]),
        ({"id": '""', "name": '" "'}, [d3("id"), d3("name")]),
        ({"version": '""'}, [d3("version"), v1("")]),
        ({"version": "01.2.3"}, [v1("01.2.3")]),
        ({"vornVersion": "v1.0.0", "version": "1.2"}, [d2("v1.0.0"), v1("1.2")]),
    ],
    ids=["draft", "D2", "D2-case", "D2-space", "D1", "D3-id-name", "D3-then-V1", "V1", "D-before-V"],
)
def test_header_and_version_rows(header, expected):
    assert validate_document(with_header(**header)) == {"diagnostics": expected}


def test_all_optional_inputs_are_reported_by_the_driver():
    text = VALID_YAML.replace("  - id: raw_orders\n", "  - id: raw_orders\n    optional: true\n")
    assert validate_document(text)["diagnostics"] == [
        diagnostic("vorn:invalid-interface", "structure", "at least one input must be required", "inputs",
                   "Set optional: false on at least one input or remove optional: true")
    ]


DOUBLE_CALL = "expressions:\n  - {id: d, expr: vorn:double(clean_orders.amount), type: string}\nlineage:"
ROWS_OF_THREE_PASSES = {
    "        - {name: amount, type: decimal, nullable: false}\n":
        "        - {name: order_id, type: string, nullable: false}\n" * 2,
    "type: string": "type: Integer",
    "lineage:": "expressions:\n  - {id: e, expr: raw_orders.order_id}\nlineage:",
}
THREE_PASSES = [
    diagnostic("vorn:duplicate-identifier", "structure", "duplicate schema field 'order_id'",
               "outputs.clean_orders.schema.fields.order_id", "Use unique field names within each schema"),
    dict(diagnostic("vorn:ambiguous-reference", "structure", "field name 'order_id' is declared in multiple "
                    "interfaces; use qualified targets such as interface.order_id", "order_id",
                    "Qualify field references with the interface identifier"), severity="warning"),
    diagnostic("vorn:invalid-type", "type", "unknown logical type 'Integer'", "inputs.raw_orders.schema.fields.order_id",
               "Use a primitive, parameterized composite, or namespaced extension type"),
    diagnostic("vorn:missing-required-field", "type", "expression type is required when an expression body is "
               "declared", "expressions.e.type", "Declare the logical type of the expression"),
]
TYPE_FIX = "Fix field references, operators, or function calls in the expression"


# A registry file's functions type expressions for validate_contract; the
# document path always uses the default registry.
@pytest.mark.parametrize(
    "edits, with_registry, expected",
    [
        (ROWS_OF_THREE_PASSES, False, THREE_PASSES),
        ({"lineage:": DOUBLE_CALL}, False, [diagnostic("vorn:invalid-type", "type", "unresolved registry function "
                                                       "'vorn:double'", "expressions.d", TYPE_FIX)]),
        ({"lineage:": DOUBLE_CALL}, True, [diagnostic(
            "vorn:invalid-type", "type", "expression type 'string' does not match inferred type 'decimal'",
            "expressions.d.type", "Align the declared type with the expression semantics")]),
    ],
    ids=["structure-types-expressions", "registry-function-unknown", "registry-function-from-file"],
)
def test_structure_type_and_expression_rows(tmp_path, edits, with_registry, expected):
    text = VALID_YAML
    for old, new in edits.items():
        text = text.replace(old, new, 1)
    registry = tmp_path / "r.json"
    registry.write_text(json.dumps({
        "id": "acme", "version": "1", "governingSpecification": "1.0.0-draft", "publicationStatus": "draft",
        "entries": {"vorn:double": {"name": "Double", "category": "function", "version": "1", "status": "draft",
                                    "definition": json.dumps({"kind": "function", "argTypes": ["decimal"],
                                                              "returnType": "decimal"})}},
    }))
    if not with_registry:
        assert validate_document(text) == {"diagnostics": expected}
    path = str(registry) if with_registry else None
    assert validate_contract(contract_of(text), registry_path=path) == {"diagnostics": expected}


@pytest.mark.parametrize("content", ["vornVersion: [unclosed", "", "id: x\n", VALID_YAML + "bogus: {"])
def test_document_that_does_not_parse_gives_only_the_parse_diagnostic(content):
    diagnostics = validate_document(content)["diagnostics"]
    assert [d["id"] for d in diagnostics] == ["vorn:parse-error"]
    assert diagnostics == parse_document(content)["report"]["diagnostics"]


@pytest.mark.parametrize(
    "text",
    [VALID_YAML, with_header(vornVersion="2.0.0", version="x"), with_header(id='"a b"'),
     VALID_YAML + "metadata: {classification: restricted, team: core}\n"],
)
def test_document_and_contract_paths_agree(text):
    assert validate_document(text) == validate_contract(contract_of(text))


def test_document_arguments():
    with pytest.raises(TypeError, match=exactly("content must be str or bytes")):
        validate_document(None, "xml")
    with pytest.raises(ValueError, match=exactly("unsupported format 'xml'; use 'yaml' or 'json'")):
        validate_document(VALID_YAML, "Xml")
    with pytest.raises(TypeError, match=exactly("validate_document() argument 'format' must be str, not int")):
        validate_document(VALID_YAML, format=1)


# --- version_validate ----------------------------------------------------------


@pytest.mark.parametrize(
    "version, compatibility, expected",
    [
        ("1.2.3-rc.1+build.5", None, []),
        ("1.2", None, [v1("1.2")]),
        ("1.2.3 ", None, [v1("1.2.3 ")]),
        ("", None, [v1("")]),
        ("1.0.0", "vorn:backward", []),
        ("1.0.0", "vorn:", []),
        ("1.0.0", "acme:strict", []),
        ("1.0.0", "strict", [v3("strict")]),
        ("1.0.0", "http:x", [v3("http:x")]),
        ("1.0.0", ":x", [v3(":x")]),
        ("1.0.0", "  ", [V2]),
        ("x", "", [v1("x"), V2]),
    ],
)
def test_version_rows(version, compatibility, expected):
    value = contract(version=version)
    if compatibility is not None:
        value["versioning"] = {"compatibility": compatibility}
    assert version_validate(value) == {"diagnostics": expected}


def test_versioning_block_without_policy_is_accepted():
    assert version_validate(contract(versioning={})) == {"diagnostics": []}


def test_version_validate_runs_only_its_own_pass():
    value = contract(vornVersion="9", id="a b", name=" ", metadata={"team": "core"})
    assert version_validate(value) == {"diagnostics": []}


# --- metadata_validate ---------------------------------------------------------


def m(code_suffix, category, message, object_ref, remediation=None):
    return diagnostic(f"vorn:{code_suffix}", category, message, object_ref, remediation,
                      stage="canonicalObjectModel")


M2 = m("invalid-metadata", "structure", "metadata identity identifier 'order' conflicts with object id 'orders'",
       "metadata.identity.identifier", "Remove identity.identifier or align it with the object id")
M7 = m("invalid-metadata", "structure", "governance owner must not be empty when declared",
       "metadata.governance.owner")
M15 = m("invalid-metadata", "structure", "restricted classification requires governance.owner or governance.steward",
        "metadata", "Add governance.owner or governance.steward for restricted objects")
M17 = m("invalid-metadata", "structure", "custom metadata key 'team' must be namespaced", "metadata.team",
        "Use vendor:fieldName for custom metadata keys")
M16_INPUT = m("invalid-extension", "structure", "vendor metadata keys must be flattened, not nested under 'extensions'",
              "inputs.raw.metadata.extensions", "Use vendor:fieldName directly in the metadata block")


@pytest.mark.parametrize(
    "metadata, expected",
    [
        ({}, []),
        ({"identity": {"identifier": " orders ", "name": "Orders", "version": "2.1.0"}}, []),
        ({"identity": {"identifier": "order"}}, [M2]),
        ({"classification": "restricted", "governance": {"owner": ""}}, [M7, M15]),
        ({"classification": "restricted", "governance": {"steward": "ops"}}, []),
        ({"team": "core", "acme:team": "core", "extensions": "text"}, [M17]),
    ],
    ids=["empty", "identity-trimmed", "M2", "M7-M15", "steward", "M17"],
)
def test_metadata_rows_on_the_contract_block(metadata, expected):
    assert metadata_validate(contract(metadata=metadata)) == {"diagnostics": expected}


def test_metadata_of_objects_follows_the_contract_block():
    value = contract(
        metadata={"team": "core"},
        inputs=[{"id": "raw", "metadata": {"extensions": {"acme:x": 1}}}],
    )
    assert metadata_validate(value) == {"diagnostics": [M17, M16_INPUT]}


def test_metadata_validate_runs_only_its_own_pass():
    value = contract(vornVersion="9", version="x", id="a b", inputs=[], outputs=[])
    assert metadata_validate(value) == {"diagnostics": []}


# --- validate_contract ---------------------------------------------------------


def test_valid_contract_has_no_diagnostics():
    assert validate_contract(contract_of(VALID_YAML)) == {"diagnostics": []}
    assert validate_contract(contract_of(VALID_YAML), None) == {"diagnostics": []}


def test_diagnostics_follow_the_stage_order():
    value = contract_of(VALID_YAML)
    value.update(vornVersion="2.0.0", version="x", metadata={"team": "core"})
    assert validate_contract(value)["diagnostics"] == [d2("2.0.0"), v1("x"), M17]


# --- inspect -------------------------------------------------------------------


def test_inspect_of_a_contract_with_empty_lists():
    assert inspect(MINIMAL_CONTRACT) == (
        "id: orders\nname: Orders\nversion: 2.1.0\nvornVersion: 1.0.0\ninputs: 0\noutputs: 0\n"
        "semanticActions: 0\nrules: 0\nexpressions: 0\nfunctions: 0\n"
    )


def test_inspect_counts_and_texts_as_written():
    value = contract(
        id=" a b ", name="Bestellungen \u00fc\U0001f600", version="not semver", vornVersion="9",
        inputs=[{"id": f"i{n}"} for n in range(3)],
        rules=[{"id": f"r{n}", "rule": "vorn:not_null", "target": "x", "phase": "execution"} for n in range(12)],
    )
    lines = inspect(contract=value).split("\n")
    assert lines == ["id:  a b ", "name: Bestellungen \u00fc\U0001f600", "version: not semver",
                     "vornVersion: 9", "inputs: 3", "outputs: 0", "semanticActions: 0", "rules: 12",
                     "expressions: 0", "functions: 0", ""]


# --- contract arguments, for every function that takes one -----------------------


CONTRACT_FUNCTIONS = [validate_contract, metadata_validate, version_validate, inspect]


class NaNCounter:
    """Not serialisable; its class name alone mentions NaN."""


@pytest.mark.parametrize("function", CONTRACT_FUNCTIONS, ids=lambda f: f.__name__)
@pytest.mark.parametrize(
    "value, error, message",
    [
        (None, TypeError, "contract must be a dict, not None"),
        (contract(version=float("nan")), ValueError, "contract contains non-finite float values (NaN or Infinity)"),
        (contract(metadata={"acme:x": [float("-inf")]}), ValueError,
         "contract contains non-finite float values (NaN or Infinity)"),
        (contract(metadata={"acme:x": {1, 2}}), TypeError, "Object of type set is not JSON serializable"),
        (contract(metadata={"acme:x": NaNCounter()}), TypeError, "Object of type NaNCounter is not JSON serializable"),
        ({"vornVersion": "1.0.0"}, ValueError, "invalid contract: missing field `id` at line 1 column 24"),
        ([], ValueError, "invalid contract: invalid type: sequence, expected struct TransformationContract"
                         " at line 1 column 1"),
    ],
    ids=["None", "nan", "inf", "set", "nan-class", "missing-id", "list"],
)
def test_contracts_that_do_not_convert(function, value, error, message):
    with pytest.raises(error) as caught:
        function(value)
    assert type(caught.value) is error
    assert str(caught.value) == message


@pytest.mark.parametrize("function", CONTRACT_FUNCTIONS, ids=lambda f: f.__name__)
def test_contract_binding(function):
    name = function.__name__
    assert function(contract=MINIMAL_CONTRACT) == function(MINIMAL_CONTRACT)
    for call in (lambda: function(), lambda: function(MINIMAL_CONTRACT, contract=MINIMAL_CONTRACT),
                 lambda: function(document=MINIMAL_CONTRACT)):
        with pytest.raises(TypeError, match=re.escape(name)):
            call()


@pytest.mark.parametrize(
    "call",
    [
        lambda c: validate_document(VALID_YAML),
        lambda c: validate_contract(c),
        lambda c: metadata_validate(c),
        lambda c: version_validate(c),
        lambda c: inspect(c),
        lambda c: validate_contract({"vornVersion": c["id"]}),
    ],
    ids=["document", "contract", "metadata", "version", "inspect", "invalid"],
)
def test_no_references_leak(call):
    value = contract_of(VALID_YAML)
    json_module = sys.modules["json"]
    before = sys.getrefcount(value), sys.getrefcount(value["id"]), sys.getrefcount(json_module)
    for _ in range(200):
        try:
            call(value)
        except ValueError:
            pass
    assert (sys.getrefcount(value), sys.getrefcount(value["id"]), sys.getrefcount(json_module)) == before


# --- references, interfaces, registry semantics and extensions --------------------


def test_one_row_of_each_later_pass_in_stage_order():
    value = contract_of(VALID_YAML)
    value["inputs"][0].update(preconditions=[{"rule": "late"}, {"rule": "ghost"}], flag=1)
    value["rules"] = [{"id": "late", "rule": "vorn:not_null", "target": "raw_orders.order_id", "phase": "execution"}]
    value["expressions"] = [{"id": "e"}]
    value["lineage"]["mappings"][0]["inputs"].append("nowhere")
    value["x"] = 1
    expected = [
        diagnostic("vorn:unresolved-reference", "reference", "lineage input 'nowhere' does not match a declared input",
                   "lineage.mappings.clean_orders.inputs", "Reference declared input identifiers"),
        diagnostic("vorn:unresolved-reference", "reference", "precondition references unknown rule 'ghost'",
                   "inputs.raw_orders.preconditions[1].rule", "Declare the rule in rules[] or fix the reference"),
        diagnostic("vorn:missing-required-field", "semantic", "expression body is required when an expression is "
                   "declared", "expressions.e", "Provide an expression body or remove the declaration"),
        diagnostic("vorn:invalid-interface", "semantic", "precondition references rule 'late' with phase 'execution', "
                   "expected precondition", "inputs.raw_orders.preconditions[0].rule",
                   "Use a rule with phase: precondition for input preconditions"),
        diagnostic("vorn:unknown-field", "structure", "unknown top-level field 'x'", "x",
                   "Check for typos in standard field names such as inputs or outputs"),
        diagnostic("vorn:invalid-extension", "structure", "extension key 'flag' must use a vendor namespace",
                   "inputs.raw_orders.flag", "Use vendor:fieldName for input and output extensions"),
    ]
    assert validate_contract(value) == {"diagnostics": expected}
    assert validate_document(json.dumps(value), "json") == {"diagnostics": expected}


def semantic(code, message, object_ref, remediation):
    return diagnostic(f"vorn:{code}", "semantic", message, object_ref, remediation)


VENDOR_REGISTRY = REGISTRY_HEADER + "entries:\n" + "".join([
    registry_entry_yaml("acme:mask", definition="'{\"kind\":\"semanticAction\",\"targetType\":\"integer\"}'"),
    registry_entry_yaml("acme:positive", category="rule", definition="'{\"kind\":\"rule\",\"phases\":[]}'"),
    registry_entry_yaml("acme:round", category="function",
                        definition="'{\"kind\":\"function\",\"minArgs\":2,\"returnType\":\"decimal\"}'"),
])


@pytest.mark.parametrize(
    "key, value, unknown, known",
    [
        ("semanticActions", {"id": "m", "action": "acme:mask", "target": "raw_orders.order_id"},
         semantic("invalid-semantic-action", "unsupported standard semantic action 'acme:mask'",
                  "semanticActions.m.action", "Use a standardized semantic action identifier"),
         semantic("invalid-semantic-action", "acme:mask requires a 'integer' target field; 'order_id' is 'string'",
                  "semanticActions.m.target", "Target a compatible schema field")),
        ("rules", {"id": "p", "rule": "acme:positive", "target": "clean_orders.amount", "phase": "postcondition"},
         semantic("invalid-rule", "unsupported standard rule 'acme:positive'", "rules.p.rule",
                  "Use a standardized rule identifier"),
         semantic("invalid-rule", "acme:positive is not valid in phase 'postcondition'", "rules.p.phase",
                  "Use a supported rule evaluation phase")),
        ("functions", {"id": "r", "function": "acme:round", "type": "decimal",
                       "parameters": [{"name": "x", "type": "decimal"}]},
         semantic("invalid-function", "unsupported standard function 'acme:round'", "functions.r.function",
                  "Use a standardized function identifier"),
         semantic("invalid-function", "function 'acme:round' expects at least 2 parameter(s), found 1",
                  "functions.r.parameters", "Declare the required number of parameters")),
    ],
    ids=["semantic-action", "rule", "function"],
)
def test_vendor_entries_and_their_definitions_come_from_the_registry_file(tmp_path, key, value, unknown, known):
    path = tmp_path / "registry.yaml"
    path.write_text(VENDOR_REGISTRY)
    contract_value = contract_of(VALID_YAML)
    contract_value[key] = [value]
    assert validate_contract(contract_value) == {"diagnostics": [unknown]}
    assert validate_contract(contract_value, str(path)) == {"diagnostics": [known]}
    assert analyze_contract(contract_value, registry_path=str(path))["validation"] == {"diagnostics": [known]}
