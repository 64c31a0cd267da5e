"""Generated inputs through every function of vorn._native: only the
documented TypeError and ValueError ever escape, parsed contracts survive a
round trip, the document and contract paths agree, and every call gives the
same answer twice."""

import json
import re

import pytest
from hypothesis import HealthCheck, given, settings
from hypothesis import strategies as st

from conftest import MINIMAL_CONTRACT, single_parse_error
from strategies import (
    ANY_ARGUMENT, ANY_FORMAT, CONTRACTS, DOCUMENTS, FORMATS, JSON_DICTS, NAMES, ODD_JSON_VALUES, ODD_TEXT, PLANS,
    REGISTRIES,
    SYNTAX_TEXT, TEXT, json_text, yaml_text,
)
from vorn import _native

SETTINGS = settings(max_examples=150, deadline=None, derandomize=True, database=None,
                    suppress_health_check=[HealthCheck.too_slow, HealthCheck.data_too_large])

CONTRACT_FUNCTIONS = [_native.validate_contract, _native.metadata_validate, _native.version_validate,
                      _native.inspect]
ANALYZE = getattr(_native, "analyze_contract", None)
if ANALYZE:
    CONTRACT_FUNCTIONS.append(ANALYZE)
CONTRACT_FUNCTIONS.append(_native.plan_lower)

# Registry ids in every place a contract names one.
CONTRACT_WITH_EVERYTHING = {
    **MINIMAL_CONTRACT,
    "inputs": [{"id": "raw", "schema": {"fields": [{"name": "a", "type": "string", "nullable": False}]}}],
    "semanticActions": [{"id": "s", "action": "acme:mask", "target": "raw.a"}],
    "functions": [{"id": "f", "function": "acme:fn"}],
    "rules": [{"id": "r", "rule": "acme:x", "target": "raw.a", "phase": "precondition"}],
    "expressions": [{"id": "e", "expr": "acme:fn(raw.a)"}],
}

BINDING = r"[\w.]+\(\) (argument|takes|missing|got)"
ALLOWED = {
    TypeError: [BINDING, r"content must be str or bytes$", r"content must be str, bytes, or bytearray$",
                r"(contract|plan) must be a dict, not None$", r"Object of type \w+ is not JSON serializable$",
                r"keys must be str, int, float, bool or None, not \w+$"],
    ValueError: [r"unsupported format '.*'; use 'yaml' or 'json'$",
                 r"(contract|plan) contains non-finite float values \(NaN or Infinity\)$",
                 r"invalid (contract|plan): .",
                 r"Circular reference detected$", r"failed to read ", r"invalid registry (YAML|JSON): ",
                 r"unsupported file extension for ", r"(duplicate )?registry ", r"entry key ",
                 r"governingSpecification is required", r"extension namespace ", r"invalid scope token\(s\): "],
}


def outcome(function, *args, **kwargs):
    """("ok", result) or ("raised", type, message); anything but a documented
    TypeError or ValueError fails the test."""
    try:
        return ("ok", function(*args, **kwargs))
    except Exception as error:  # noqa: BLE001 - the point is to see every kind
        kind = type(error)
        assert kind in ALLOWED, f"{function.__name__} raised {kind.__name__}: {error}"
        assert any(re.match(p, str(error), re.S) for p in ALLOWED[kind]), f"{kind.__name__}: {error}"
        return ("raised", kind, str(error))


def twice(function, *args, **kwargs):
    """outcome() of two identical calls, which must agree."""
    first = outcome(function, *args, **kwargs)
    assert repr(outcome(function, *args, **kwargs)) == repr(first), function.__name__
    return first


def check_report(report):
    assert list(report) == ["diagnostics"]
    for diagnostic in report["diagnostics"]:
        assert list(diagnostic)[:5] == ["id", "severity", "stage", "category", "message"]
        assert set(diagnostic) <= {"id", "severity", "stage", "category", "message", "objectRef", "remediation"}
        assert all(isinstance(v, str) for v in diagnostic.values()), diagnostic
    return report


def check_parse_result(result):
    assert list(result) == ["contract", "report"]
    if result["contract"] is None:
        single_parse_error(result)
    else:
        assert isinstance(result["contract"], dict)
        assert result["report"] == {"diagnostics": []}
    return result


def check_analysis(result, validation):
    """analyze_contract's result: the validation report as validate_contract
    gives it, beside the analysis."""
    assert list(result) == ["validation", "analysis"]
    assert result["validation"] == validation
    assert list(result["analysis"]) == ["diagnostics", "findings"]
    check_report({"diagnostics": result["analysis"]["diagnostics"]})
    for finding in result["analysis"]["findings"]:
        assert list(finding)[:3] == ["objectRef", "kind", "message"]
        assert set(finding) <= {"objectRef", "kind", "message", "attributes"}


def has_surrogate(content):
    return isinstance(content, str) and any("\ud800" <= c <= "\udfff" for c in content)


# --- documents -------------------------------------------------------------------------


@SETTINGS
@given(content=DOCUMENTS, fmt=FORMATS)
def test_documents_never_raise_and_both_paths_agree(content, fmt):
    parsed = twice(_native.parse_document, content, fmt)
    validated = twice(_native.validate_document, content, format=fmt)
    if has_surrogate(content):
        expected = ("raised", TypeError, "content must be str, bytes, or bytearray")
        assert parsed == validated == expected
        return
    assert parsed[0] == validated[0] == "ok"
    result = check_parse_result(parsed[1])
    check_report(validated[1])
    if result["contract"] is None:
        assert validated[1] == result["report"]
    else:
        assert validated[1] == _native.validate_contract(result["contract"])


@SETTINGS
@given(content=DOCUMENTS, fmt=FORMATS)
def test_every_spelling_of_the_same_bytes_parses_alike(content, fmt):
    if has_surrogate(content):
        return
    data = content.encode() if isinstance(content, str) else content
    expected = _native.parse_document(data, fmt)
    for same in (content, bytearray(data), list(data), tuple(data)):
        assert _native.parse_document(same, fmt) == expected


@SETTINGS
@given(fmt=ANY_FORMAT)
def test_formats_are_known_or_refused_by_name(fmt):
    for function in (_native.parse_document, _native.validate_document):
        result = twice(function, "id: x\n", fmt)
        if fmt.lower() in ("yaml", "yml", "json"):
            assert result[0] == "ok"
        else:
            assert result == ("raised", ValueError, f"unsupported format '{fmt.lower()}'; use 'yaml' or 'json'")


# --- contracts as dicts ----------------------------------------------------------------


@SETTINGS
@given(value=CONTRACTS | JSON_DICTS)
def test_contract_conversion_matches_the_json_reader(value):
    outcomes = [twice(function, value) for function in CONTRACT_FUNCTIONS]
    try:
        text = json.dumps(value, allow_nan=False)
    except ValueError:
        expected = ("raised", ValueError, "contract contains non-finite float values (NaN or Infinity)")
        assert all(o == expected for o in outcomes)
        return
    parsed = _native.parse_document(text, "json")
    if parsed["contract"] is None:
        prefix = "invalid contract: " + single_parse_error(parsed)
        for o in outcomes:
            assert o[:2] == ("raised", ValueError) and o[2].startswith(prefix), (o, prefix)
        return
    assert all(o[0] == "ok" for o in outcomes)
    report = check_report(outcomes[0][1])
    assert report == _native.validate_document(text, "json") == _native.validate_contract(parsed["contract"])
    assert isinstance(outcomes[3][1], str)
    if len(outcomes) > 4:
        check_analysis(outcomes[4][1], report)


@SETTINGS
@given(value=ODD_JSON_VALUES)
def test_anything_json_can_hold_is_a_result_or_a_documented_error(value):
    for function in CONTRACT_FUNCTIONS:
        twice(function, value)


def nested(depth):
    value = {}
    for _ in range(depth):
        value = {"a": value}
    return value


def circular():
    value = dict(MINIMAL_CONTRACT)
    value["metadata"] = {"acme:self": value}
    return value


@pytest.mark.parametrize("function", CONTRACT_FUNCTIONS, ids=lambda f: f.__name__)
@pytest.mark.parametrize(
    "value, error, message",
    [
        (circular(), ValueError, "Circular reference detected"),
        ({(1, 2): "x"}, TypeError, "keys must be str, int, float, bool or None, not tuple"),
        # json.dumps gives up first, and its error passes unchanged ...
        ({**MINIMAL_CONTRACT, "metadata": {"acme:x": nested(100_000)}}, RecursionError,
         "maximum recursion depth exceeded while encoding a JSON object"),
        # ... or the reader refuses the depth itself.
        ({**MINIMAL_CONTRACT, "metadata": {"acme:x": nested(500)}}, ValueError,
         "invalid contract: recursion limit exceeded at line 1 column "),
    ],
    ids=["circular", "tuple-key", "too-deep-for-dumps", "too-deep-for-the-reader"],
)
def test_contracts_json_cannot_carry(function, value, error, message):
    with pytest.raises(error) as caught:
        function(value)
    assert type(caught.value) is error
    assert str(caught.value).startswith(message)


DEEP = 100_000
DEEP_EXPRESSIONS = ["(" * DEEP + "1" + ")" * DEEP, "-" * DEEP + "1", "!" * DEEP + "true", "1" + " + 1" * DEEP,
                    "vorn:lower(" * DEEP + "'a'" + ")" * DEEP, "a" + " == a" * DEEP, "(" * DEEP,
                    "vorn:concat(" + ", ".join(["'x'"] * DEEP) + ")", "1" + " * 2" * DEEP]


@pytest.mark.skipif(not ANALYZE, reason="no analyze_contract in this build")
@pytest.mark.parametrize("expr", DEEP_EXPRESSIONS, ids=lambda e: e[:12] + "...")
def test_expressions_of_any_depth_are_analysed(expr):
    value = {**MINIMAL_CONTRACT, "expressions": [{"id": "e", "expr": expr, "type": "integer"}]}
    check_analysis(ANALYZE(value), _native.validate_contract(value))


@SETTINGS
@given(contract=CONTRACTS, via=st.sampled_from(["json", "yaml"]))
def test_parsed_contracts_survive_a_round_trip(contract, via):
    text = json_text(contract) if via == "json" else yaml_text(contract)
    first = check_parse_result(_native.parse_document(text, via))
    parsed = first["contract"]
    if parsed is None:
        return
    assert _native.parse_document(json.dumps(parsed), "json") == first
    assert _native.parse_document(yaml_text(parsed).encode(), "yaml")["contract"] is not None
    assert _native.validate_contract(parsed) == _native.validate_document(text, via)


def test_round_trip_strategy_mostly_builds_contracts_that_parse():
    # Guards the strategy: the round trip above says nothing if nothing parses.
    @settings(max_examples=100, deadline=None, derandomize=True, database=None)
    @given(contract=CONTRACTS)
    def count(contract):
        parsed.append(_native.parse_document(json_text(contract), "json")["contract"] is not None)

    parsed = []
    count()
    assert sum(parsed) >= len(parsed) // 4, (sum(parsed), len(parsed))


@SETTINGS
@given(plan=PLANS)
def test_plans_validate_and_order_alike(plan):
    report = twice(_native.plan_validate, plan)
    ids = {key: [item["id"] for item in plan.get(key) or []] if report[0] == "ok" else [] for key in
           ("inputs", "outputs", "nodes")}
    contract = {**MINIMAL_CONTRACT, "inputs": [{"id": i} for i in ids["inputs"]],
                "outputs": [{"id": o} for o in ids["outputs"]]}
    order = twice(_native.plan_topological_order, contract, plan)
    if report[0] == "raised":
        assert report[1] is ValueError and order == report
        return
    cyclic = any(d["id"] == "vorn:cyclic-dependency" for d in check_report(report[1])["diagnostics"])
    vertices = set(ids["inputs"] + ids["outputs"] + ids["nodes"])
    assert (order[1] == []) == (cyclic or not vertices)
    position = {vertex: i for i, vertex in enumerate(order[1])}
    assert sorted(position) == sorted(vertices) or not position
    for d in plan["dependencies"]:
        assert not position or d["from"] not in vertices or d["to"] not in vertices or (
            position[d["from"]] < position[d["to"]])


@SETTINGS
@given(plan=PLANS)
def test_valid_plans_stay_valid_when_optimized_and_equal_themselves(plan):
    result = twice(_native.plan_optimize, plan)
    assert twice(_native.plan_equivalent, plan, plan) == (result if result[0] == "raised" else ("ok", True))
    if result[0] == "ok" and "plan" in result[1] and not check_report(_native.plan_validate(plan))["diagnostics"]:
        assert not [d for d in _native.plan_validate(result[1]["plan"])["diagnostics"] if d["severity"] == "error"]


# --- comparisons ------------------------------------------------------------------------


@SETTINGS
@given(source=CONTRACTS, target=CONTRACTS, name=NAMES | TEXT | ODD_TEXT)
def test_comparisons_convert_alike_and_agree_with_each_other(source, target, name):
    conversions = [twice(_native.validate_contract, c) for c in (source, target)]
    compat = twice(_native.compat_analyze, source, target)
    evolve = twice(_native.evolve_analyze, source, target)
    failed = [c for c in conversions if c[0] == "raised"]
    if failed:
        assert compat == evolve == failed[0]
        return
    lineage = twice(_native.lineage_analyze, source, name, name)[1]
    assert sorted(set(lineage["impact"]["outputs"])) == lineage["impact"]["outputs"]
    level, diagnostics = compat[1]["level"], compat[1]["diagnostics"]
    assert evolve[1]["compatibility"] == level
    assert (level == "identical") == all(c["category"] == "metadata" for c in evolve[1]["changes"])
    assert evolve[1]["diagnostics"][len(evolve[1]["diagnostics"]) - len(diagnostics):] == diagnostics
    for contract in (source, target):
        assert _native.compat_analyze(contract, contract)["level"] == "identical"
        itself = _native.evolve_analyze(contract, contract)
        assert (itself["changes"], itself["migrationHints"], itself["diagnostics"]) == ([], [], [])


# --- the registry ------------------------------------------------------------------------


KNOWN_IDS = [entry["id"] for entry in _native.registry_list()]


@SETTINGS
@given(key=TEXT | ODD_TEXT | st.sampled_from(KNOWN_IDS) | st.builds("vorn:{}".format, TEXT | ODD_TEXT))
def test_registry_resolve_finds_exactly_the_listed_ids(key):
    found = twice(_native.registry_resolve, key)
    assert found[0] == "ok"
    if key in KNOWN_IDS:
        assert found[1] == _native.registry_list()[KNOWN_IDS.index(key)]
    else:
        assert found[1] is None


# --- files ----------------------------------------------------------------------------


@pytest.fixture(scope="module")
def directory(tmp_path_factory):
    return tmp_path_factory.mktemp("files")


def write(directory, name, content):
    path = directory / name
    path.write_bytes(content.encode("utf-8", "surrogatepass") if isinstance(content, str) else content)
    return str(path)


@SETTINGS
@given(content=DOCUMENTS, fmt=st.sampled_from(["yaml", "yml", "json"]))
def test_files_parse_as_their_content_does(directory, content, fmt):
    path = write(directory, "contract." + fmt, content)
    from_file = twice(_native.parse_path, path)
    if has_surrogate(content):
        assert from_file[0] == "ok"  # the bytes are merely not UTF-8
        return
    assert from_file == ("ok", _native.parse_document(content, fmt))


def merged_registry(loaded):
    """The default registry with a loaded file merged in, as the module
    promises it: standard vorn: ids stay, others are replaced in place or
    appended in file order."""
    merged = {entry["id"]: entry for entry in _native.registry_list()}
    for key, entry in loaded["entries"].items():
        if not (key.startswith("vorn:") and key in merged):
            merged[key] = entry
    return merged


@SETTINGS
@given(document=REGISTRIES, as_json=st.booleans(), noise=st.none() | SYNTAX_TEXT | st.binary(max_size=60))
def test_registry_files_load_merge_or_fail_alike(directory, document, as_json, noise):
    content = noise if noise is not None else (json_text(document) if as_json else yaml_text(document))
    path = write(directory, "registry.json" if as_json else "registry.yaml", content)
    entries = document.get("entries")
    keys = ["acme:mask", "vorn:lower", "vorn", *(entries if isinstance(entries, dict) else [])][:6]
    loaded = twice(_native.registry_load, path)
    others = [twice(_native.registry_list, path), twice(_native.validate_contract, MINIMAL_CONTRACT, path)]
    others += [twice(_native.registry_resolve, key, path) for key in keys]
    if ANALYZE:
        analyzed = twice(ANALYZE, CONTRACT_WITH_EVERYTHING, path)
    if loaded[0] == "raised":
        assert loaded[1] is ValueError
        assert all(o == loaded for o in others)
        assert not ANALYZE or analyzed == loaded
        return
    merged = merged_registry(loaded[1])
    assert others[0] == ("ok", list(merged.values()))
    assert others[1] == ("ok", _native.validate_contract(MINIMAL_CONTRACT))
    assert others[2:] == [("ok", merged.get(key)) for key in keys]
    if ANALYZE:
        assert analyzed[0] == "ok"
        check_analysis(analyzed[1], _native.validate_contract(CONTRACT_WITH_EVERYTHING, path))


# --- arguments ----------------------------------------------------------------------------


CALLS = [
    ("parse_document", lambda x: _native.parse_document(x)),
    ("parse_document format", lambda x: _native.parse_document("id: x", x)),
    ("validate_document", lambda x: _native.validate_document(x, "json")),
    ("validate_document format", lambda x: _native.validate_document(b"{}", format=x)),
    ("validate_contract registry_path", lambda x: _native.validate_contract({}, x)),
    ("registry_resolve", lambda x: _native.registry_resolve(x)),
    ("registry_resolve registry_path", lambda x: _native.registry_resolve("vorn:lower", x)),
    ("registry_list", lambda x: _native.registry_list(x)),
    ("registry_load", lambda x: _native.registry_load(x)),
    ("parse_path", lambda x: _native.parse_path(x)),
    ("spec_version", lambda x: _native.spec_version(x)),
    ("compat_analyze scope", lambda x: _native.compat_analyze(MINIMAL_CONTRACT, MINIMAL_CONTRACT, x)),
    ("compat_analyze", lambda x: _native.compat_analyze(x, MINIMAL_CONTRACT)),
    ("evolve_analyze", lambda x: _native.evolve_analyze(MINIMAL_CONTRACT, x)),
    ("lineage_analyze impact", lambda x: _native.lineage_analyze(MINIMAL_CONTRACT, x)),
    ("lineage_analyze dependency", lambda x: _native.lineage_analyze(MINIMAL_CONTRACT, dependency=x)),
    ("plan_validate", lambda x: _native.plan_validate(x)),
    ("plan_topological_order", lambda x: _native.plan_topological_order(MINIMAL_CONTRACT, x)),
] + [(f.__name__, f) for f in CONTRACT_FUNCTIONS]


def usable_anywhere(value):
    # Plain names could name real files here when taken as paths; lone
    # surrogates in paths have a test of their own below.
    return not isinstance(value, str) or not value or (("/" in value or "\0" in value) and not has_surrogate(value))


@pytest.mark.parametrize("call", [c[1] for c in CALLS], ids=[c[0] for c in CALLS])
@settings(max_examples=60, deadline=None, derandomize=True, database=None)
@given(value=ANY_ARGUMENT.filter(usable_anywhere))
def test_any_argument_is_a_result_or_a_documented_error(call, value):
    outcome(call, value)


PATH_CALLS = [c for c in CALLS if "path" in c[0] or c[0] in ("registry_list", "registry_load")]


@pytest.mark.parametrize("call", [c[1] for c in PATH_CALLS], ids=[c[0] for c in PATH_CALLS])
@pytest.mark.parametrize("path", ["\ud800", "dir/\udfff.yaml"])
def test_paths_the_file_system_cannot_encode_raise_value_error(call, path):
    # Python's own open() raises UnicodeEncodeError here, a ValueError.
    with pytest.raises(ValueError):
        call(path)
