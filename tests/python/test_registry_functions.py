"""registry_list, registry_resolve and registry_load, and registry files
handed to validate_contract: results, merging, and files that must be
refused with a ValueError."""

import os
import re
import sys

import pytest

from conftest import MINIMAL_CONTRACT, REGISTRY_HEADER, VALID_YAML, registry_entry_yaml
from vorn._native import parse_document, registry_list, registry_load, registry_resolve, validate_contract

STDLIB_IDS = [
    "vorn:lowercase", "vorn:capitalize", "vorn:uppercase", "vorn:trim", "vorn:hash_sha256",
    "vorn:normalize_whitespace",
    "vorn:lower", "vorn:upper", "vorn:concat", "vorn:substr", "vorn:replace", "vorn:coalesce", "vorn:length",
    "vorn:to_string", "vorn:to_integer", "vorn:to_decimal",
    "vorn:not_null", "vorn:min_length", "vorn:max_length", "vorn:regex_match", "vorn:range",
]

ENTRY_KEYS = ["id", "name", "category", "version", "status", "compatibility", "definition", "references",
              "supported"]


def exactly(text):
    return "^" + re.escape(text) + "$"


def write(tmp_path, name, content):
    path = tmp_path / name
    path.write_bytes(content if isinstance(content, bytes) else content.encode())
    return str(path)


def registry_file(tmp_path, *entries, name="registry.yaml"):
    return write(tmp_path, name, REGISTRY_HEADER + "entries:\n" + "".join(entries))


VENDOR_ENTRY = registry_entry_yaml("acme:mask", name="Mask")
LOWER_OVERRIDE = registry_entry_yaml("vorn:lower", name="Not Lower", category="function")
NAMESPACE_OVERRIDE = registry_entry_yaml("vorn", name="Mine", category="extensionNamespace")


# --- registry_list ---------------------------------------------------------------


def test_default_registry_in_order():
    entries = registry_list()
    ids = [entry["id"] for entry in entries]
    assert len(ids) == 60 and len(set(ids)) == 60
    assert ids[:2] == ["vorn", "vorn:parse-error"]
    assert ids[38] == "vorn:optimization-skipped"
    assert ids[39:] == STDLIB_IDS
    assert all(set(entry) <= set(ENTRY_KEYS) for entry in entries)
    assert all(list(entry) == [k for k in ENTRY_KEYS if k in entry] for entry in entries)
    assert entries[1] == {"id": "vorn:parse-error", "name": "Parse Error", "category": "diagnostic",
                          "version": "1.0.0", "status": "standard", "definition": "vorn:parse-error",
                          "supported": True}


def test_default_registry_is_the_same_for_every_spelling_of_no_path():
    assert registry_list(None) == registry_list(registry_path=None) == registry_list()


def test_merged_list_appends_vendor_entries_and_keeps_standard_ones(tmp_path):
    default = registry_list()
    merged = registry_list(registry_file(tmp_path, VENDOR_ENTRY, LOWER_OVERRIDE))
    assert merged[:60] == default
    assert merged[60:] == [{"id": "acme:mask", "name": "Mask", "category": "semanticAction", "version": "1.0.0",
                            "status": "standard", "supported": True}]


def test_merged_list_replaces_a_non_standard_key_in_place(tmp_path):
    # "vorn" itself has no "vorn:" prefix, so a file may redefine it.
    merged = registry_list(registry_file(tmp_path, NAMESPACE_OVERRIDE))
    assert len(merged) == 60
    assert (merged[0]["id"], merged[0]["name"]) == ("vorn", "Mine")
    assert merged[1:] == registry_list()[1:]


def test_merging_leaves_the_default_registry_alone(tmp_path):
    before = registry_list()
    registry_list(registry_file(tmp_path, VENDOR_ENTRY, NAMESPACE_OVERRIDE))
    assert registry_list() == before
    assert registry_resolve("acme:mask") is None


# --- registry_resolve --------------------------------------------------------------


@pytest.mark.parametrize("key", ["vorn", "vorn:lower", "vorn:range", "vorn:parse-error"])
def test_resolve_finds_each_listed_entry(key):
    assert registry_resolve(key) == next(entry for entry in registry_list() if entry["id"] == key)


@pytest.mark.parametrize("key", ["vorn:lower ", " vorn:lower", "VORN:LOWER", "lower", "", "vorn:lower\0",
                                 "vorn:\ud800"])
def test_resolve_is_exact(key):
    assert registry_resolve(key) is None


def test_resolve_with_a_registry_file(tmp_path):
    path = registry_file(tmp_path, VENDOR_ENTRY, LOWER_OVERRIDE)
    assert registry_resolve("acme:mask", path)["name"] == "Mask"
    assert registry_resolve("vorn:lower", registry_path=path) == registry_resolve("vorn:lower")
    assert registry_resolve(id="acme:nothing", registry_path=path) is None


# --- registry_load -----------------------------------------------------------------


def test_load_returns_the_file_alone(tmp_path):
    path = registry_file(tmp_path, LOWER_OVERRIDE, registry_entry_yaml("acme:fn", category="function",
                                                                        references="[a, b]", supported="false"))
    assert registry_load(path) == {
        "id": "acme:registry", "version": "1.0.0", "governingSpecification": "1.0.0-draft",
        "publicationStatus": "draft",
        "entries": {
            "vorn:lower": {"id": "vorn:lower", "name": "Not Lower", "category": "function", "version": "1.0.0",
                           "status": "standard", "supported": True},
            "acme:fn": {"id": "acme:fn", "name": "Entry", "category": "function", "version": "1.0.0",
                        "status": "standard", "references": ["a", "b"], "supported": False},
        },
    }


@pytest.mark.parametrize("name", ["registry.JSON", "registry.json", "registry.Json"])
def test_load_reads_json_by_extension_in_any_case(tmp_path, name):
    text = '{"id": "r", "version": "1", "governingSpecification": "1.0.0-draft", "publicationStatus": "draft"}'
    assert registry_load(write(tmp_path, name, text))["entries"] == {}


@pytest.mark.parametrize("name", ["registry.yml", "registry.txt", "registry"])
def test_load_reads_everything_else_as_yaml(tmp_path, name):
    assert registry_load(write(tmp_path, name, REGISTRY_HEADER))["id"] == "acme:registry"


# --- registry files that are refused ---------------------------------------------------


def deep(n):
    return "[" * n + "]" * n


def large_headerless_registry():
    entry = "  acme:e{0}: {{name: E, category: rule, version: '1', status: draft}}\n"
    body = "".join(entry.format(i) for i in range(10_000_000 // len(entry.format(0)) + 1))
    return "version: 1.0.0\ngoverningSpecification: x\npublicationStatus: draft\nentries:\n" + body


HOSTILE_FILES = [
    ("empty.yaml", b"", "invalid registry YAML: "),
    ("empty.json", b"", "invalid registry JSON: "),
    ("binary.yaml", bytes(range(256)) * 16, "invalid registry YAML: "),
    ("binary.json", os.urandom(4096), "invalid registry JSON: "),
    ("deep.yaml", deep(10_000), "invalid registry YAML: "),
    ("deep-block.yaml", "".join(" " * i + "- \n" for i in range(0, 20_000, 2)), "invalid registry YAML: "),
    ("deep.json", deep(10_000), "invalid registry JSON: "),
    ("duplicate.yaml", REGISTRY_HEADER + "id: again\n", "invalid registry YAML: duplicate field `id`"),
    ("duplicate.json", '{"id": "a", "id": "b"}', "invalid registry JSON: duplicate field `id`"),
    ("scalar.yaml", "a" * 10_000_000, "invalid registry YAML: invalid type: string"),
    ("large.yaml", large_headerless_registry(), "invalid registry YAML: missing field `id`"),
    ("two.yaml", REGISTRY_HEADER + "---\n" + REGISTRY_HEADER, "invalid registry YAML: "),
]

CALLS_WITH_A_FILE = [
    ("registry_load", lambda path: registry_load(path)),
    ("registry_list", lambda path: registry_list(path)),
    ("registry_resolve", lambda path: registry_resolve("vorn:lower", path)),
    ("validate_contract", lambda path: validate_contract(MINIMAL_CONTRACT, path)),
]


@pytest.mark.parametrize("call", [c[1] for c in CALLS_WITH_A_FILE], ids=[c[0] for c in CALLS_WITH_A_FILE])
@pytest.mark.parametrize("name, content, prefix", HOSTILE_FILES, ids=[f[0] for f in HOSTILE_FILES])
def test_hostile_registry_files_raise_value_error(tmp_path, call, name, content, prefix):
    with pytest.raises(ValueError) as caught:
        call(write(tmp_path, name, content))
    assert str(caught.value).startswith(prefix)


@pytest.mark.parametrize("call", [c[1] for c in CALLS_WITH_A_FILE], ids=[c[0] for c in CALLS_WITH_A_FILE])
def test_every_registry_problem_is_reported_joined(tmp_path, call):
    header = "id: ' '\nversion: ''\ngoverningSpecification: x\npublicationStatus: draft\nentries:\n"
    entries = registry_entry_yaml("acme:a", id="acme:b") + registry_entry_yaml("lowercase", name="' '")
    expected = ("registry id is required; registry version is required; "
                "entry key 'acme:a' does not match entry id 'acme:b'; "
                "registry entry id 'lowercase' must be a namespaced identifier; "
                "registry entry 'lowercase' is missing a name")
    with pytest.raises(ValueError, match=exactly(expected)):
        call(write(tmp_path, "bad.yaml", header + entries))


@pytest.mark.parametrize("call", [c[1] for c in CALLS_WITH_A_FILE], ids=[c[0] for c in CALLS_WITH_A_FILE])
@pytest.mark.parametrize("kind", ["missing", "directory"])
def test_unreadable_registry_files(tmp_path, call, kind):
    path = tmp_path / "registry.yaml"
    if kind == "directory":
        path.mkdir()
    reason = "No such file or directory" if kind == "missing" else "Is a directory"
    with pytest.raises(ValueError, match=exactly(f"failed to read registry '{path}': {reason}")):
        call(str(path))


@pytest.mark.parametrize("call", [c[1] for c in CALLS_WITH_A_FILE], ids=[c[0] for c in CALLS_WITH_A_FILE])
def test_registry_path_with_nul_is_refused(tmp_path, call):
    path = registry_file(tmp_path, VENDOR_ENTRY)
    with pytest.raises(ValueError, match="embedded null byte$"):
        call(path + "\0ignored")


def test_undecodable_registry_file_name_is_shown_replaced(tmp_path):
    path = str(tmp_path / os.fsdecode(b"caf\xe9.yaml"))
    with pytest.raises(ValueError) as caught:
        registry_load(path)
    assert "caf\ufffd.yaml" in str(caught.value)


# --- validate_contract with a registry file -------------------------------------------


def test_contract_errors_come_before_any_registry_file(tmp_path):
    missing = str(tmp_path / "missing.yaml")
    with pytest.raises(TypeError, match=exactly("contract must be a dict, not None")):
        validate_contract(None, missing)
    with pytest.raises(ValueError, match="^contract contains non-finite float values"):
        validate_contract({**MINIMAL_CONTRACT, "version": float("nan")}, missing)
    with pytest.raises(ValueError, match="^invalid contract: missing field `id` at line 1 column "):
        validate_contract({"vornVersion": "1.0.0"}, registry_path=missing)


def test_valid_contract_with_a_good_registry_file(tmp_path):
    contract = parse_document(VALID_YAML)["contract"]
    assert validate_contract(contract, registry_file(tmp_path, VENDOR_ENTRY)) == {"diagnostics": []}


# --- argument types --------------------------------------------------------------------


@pytest.mark.parametrize(
    "call, message",
    [
        (lambda: registry_resolve(5), "registry_resolve() argument 'id' must be str, not int"),
        (lambda: registry_resolve(None), "registry_resolve() argument 'id' must be str, not None"),
        (lambda: registry_resolve(b"vorn:lower"), "registry_resolve() argument 'id' must be str, not bytes"),
        (lambda: registry_resolve("vorn:lower", 1), "registry_resolve() argument 'registry_path' must be str, not int"),
        (lambda: registry_list(b"r.yaml"), "registry_list() argument 'registry_path' must be str, not bytes"),
        (lambda: registry_load(None), "registry_load() argument 'path' must be str, not None"),
        (lambda: validate_contract(MINIMAL_CONTRACT, 1.5),
         "validate_contract() argument 'registry_path' must be str, not float"),
        # Binding comes first: the path's type is checked before the contract is converted.
        (lambda: validate_contract(None, 1), "validate_contract() argument 'registry_path' must be str, not int"),
    ],
)
def test_argument_types(call, message):
    with pytest.raises(TypeError, match=exactly(message)):
        call()


@pytest.mark.parametrize(
    "call",
    [
        lambda: registry_list("a", "b"),
        lambda: registry_list(path="a"),
        lambda: registry_resolve(),
        lambda: registry_resolve("a", "b", "c"),
        lambda: registry_resolve(key="vorn:lower"),
        lambda: registry_load(),
        lambda: registry_load("a", registry_path="b"),
    ],
)
def test_bad_calls_raise_type_error(call):
    with pytest.raises(TypeError):
        call()


@pytest.mark.parametrize(
    "call",
    [
        lambda p: registry_list(),
        lambda p: registry_list(p),
        lambda p: registry_resolve("vorn:lower", p),
        lambda p: registry_load(p),
        lambda p: registry_load(p + ".missing"),
    ],
    ids=["default", "merged", "resolve", "load", "missing"],
)
def test_no_references_leak(tmp_path, call):
    path = registry_file(tmp_path, VENDOR_ENTRY)
    json_module = sys.modules["json"]
    before = sys.getrefcount(path), sys.getrefcount(json_module)
    for _ in range(100):
        try:
            call(path)
        except ValueError:
            pass
    assert (sys.getrefcount(path), sys.getrefcount(json_module)) == before
