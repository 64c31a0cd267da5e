"""Hypothesis strategies for vorn: JSON-able values, contract-shaped dicts
that are mostly valid, and document texts and bytes."""

import json

import yaml
from hypothesis import strategies as st


def mostly(good, bad):
    """`good` seven times in eight."""
    return st.sampled_from([good] * 7 + [bad]).flatmap(lambda chosen: chosen)


# Lone surrogates cannot be encoded as UTF-8; they belong in some texts so
# that every conversion meets them.
SURROGATE = st.characters(categories=["Cs"])
TEXT = st.text(max_size=12)
ODD_TEXT = st.text(st.characters() | SURROGATE, min_size=1, max_size=4)

SCALARS = st.none() | st.booleans() | st.integers() | st.floats(allow_nan=False) | TEXT


def json_values(scalars, keys):
    return st.recursive(
        scalars,
        lambda children: st.lists(children, max_size=4) | st.dictionaries(keys, children, max_size=4),
        max_leaves=12,
    )


JSON_VALUES = json_values(SCALARS, TEXT)
ODD_JSON_VALUES = json_values(SCALARS | ODD_TEXT, TEXT | ODD_TEXT)
JSON_DICTS = st.dictionaries(TEXT | ODD_TEXT, ODD_JSON_VALUES, max_size=6)

# A small pool of names, so that references between the parts of a contract
# (lineage, targets, orderings) often hit something.
NAMES = st.sampled_from(["orders", "raw", "clean", "a", "b", "order_id", "amount"])
IDENTIFIERS = NAMES | NAMES | st.sampled_from(["", " ", "a b", "acme:x", "A-1", "vorn:lower"]) | TEXT
TARGETS = IDENTIFIERS | st.builds("{}.{}".format, NAMES, NAMES)
VERSIONS = st.sampled_from(["1.0.0", "2.1.0", "0.1.0-rc.1+b.5", "1.2", "", " 1.0.0", "01.2.3", "x"]) | TEXT
VORN_VERSIONS = st.sampled_from(["1.0.0", "1.0.0", "1.0.0-draft", "2.0.0", "", "1.0"]) | TEXT
TYPES = st.sampled_from([
    "string", "integer", "decimal", "boolean", "date", "time", "datetime", "duration", "binary",
    "list<string>", "map<string, integer>", "tuple<string, date>", "object<decimal>", "list<list<list<string>>>",
    "list", "map<string>", "list<>", "list<<", ">>", "list<strin>", "acme:geo", "acme:geo<1, 2>", "list<acme:x>",
    "", "  ", "String", "tuple<,>",
]) | TEXT
EXPRESSION_TEXTS = st.sampled_from([
    "vorn:lower(raw.order_id)", "amount * 2 + 1", "vorn:concat(a, 'b')", "vorn:coalesce(a, b, 1)",
    "a == null", "((((", ")", "vorn:substr(a, 1)", "acme:fn()", "'unterminated", "1e400", "-", "",
    "vorn:lower(vorn:upper(vorn:trim(a)))",
]) | TEXT
EXPRESSION_TOKENS = st.sampled_from([
    "raw.order_id", "amount", "a", "b.c", "vorn:lower(", "vorn:concat(", "vorn:substr(", "vorn:coalesce(",
    "vorn:length(", "vorn:to_integer(", "vorn:to_decimal(", "acme:fn(", "lower(", "1", "0", "2.5", "1e308",
    "9223372036854775807", "9223372036854775808", "'x'", '"y"', "'", "true", "FALSE", "null", "+", "-", "*", "/",
    "==", "!=", "<", "<=", ">", ">=", "&&", "||", "!", "&", "|", "=", "(", ")", ",", " ", "\t", "@",
])
EXPRESSION_SOUP = st.lists(EXPRESSION_TOKENS, max_size=16).map(" ".join)
EXPRESSION_TEXTS = EXPRESSION_SOUP | EXPRESSION_TEXTS
TIMESTAMPS = st.sampled_from(["2024-01-02T03:04:05Z", "2024-02-30T00:00:00Z", "yesterday", "", "2024-01-02"])


def optional_record(required, optional):
    return st.fixed_dictionaries(required, optional=optional)


def lists_of(strategy, max_size=3):
    return st.lists(strategy, max_size=max_size)


IDENTITY = optional_record({}, {"identifier": IDENTIFIERS, "name": TEXT, "version": VERSIONS})
DOCUMENTATION = optional_record({}, {"summary": TEXT, "description": TEXT, "examples": lists_of(TEXT),
                                     "references": lists_of(TEXT)})
GOVERNANCE = optional_record({}, {"owner": TEXT, "steward": TEXT, "approvalStatus": TEXT,
                                  "reviewDate": TIMESTAMPS, "policyRefs": lists_of(TEXT)})
PROVENANCE = optional_record({}, {"author": TEXT, "createdAt": TIMESTAMPS, "modifiedAt": TIMESTAMPS,
                                  "originatingSystem": TEXT})
CLASSIFICATIONS = mostly(st.sampled_from(["public", "internal", "confidential", "restricted"]),
                         st.sampled_from(["secret", ""]))
EXTENSION_KEYS = st.sampled_from(["acme:x", "acme:team", "team", "extensions", "vorn:x", ":x", "acme:"]) | TEXT


@st.composite
def metadata(draw):
    block = draw(optional_record({}, {
        "description": TEXT, "tags": lists_of(TEXT), "identity": IDENTITY, "documentation": DOCUMENTATION,
        "governance": GOVERNANCE, "provenance": PROVENANCE, "classification": CLASSIFICATIONS,
        "deprecated": st.booleans(), "replacement": IDENTIFIERS,
    }))
    block.update(draw(st.dictionaries(EXTENSION_KEYS, JSON_VALUES, max_size=2)))
    return block


METADATA = metadata()
WITH_METADATA = {"metadata": METADATA}

CONVERSION = optional_record({"from": TYPES, "to": TYPES}, {"lossy": st.booleans()})
FIELD = optional_record({"name": NAMES | TEXT, "type": TYPES, "nullable": st.booleans()},
                        {"conversions": lists_of(CONVERSION, 2)})
SCHEMA = st.fixed_dictionaries({"fields": lists_of(FIELD, 4)})
STREAMING = st.fixed_dictionaries({"mode": mostly(st.sampled_from(["bounded", "unbounded"]), st.just("sometimes"))})
CONDITIONS = lists_of(st.fixed_dictionaries({"rule": IDENTIFIERS}), 2)
RULE_NAMES = st.sampled_from(["vorn:not_null", "vorn:range", "vorn:regex_match", "vorn:min_length", "acme:check",
                              "not_null"]) | TEXT

INPUT = optional_record({"id": IDENTIFIERS}, {"schema": SCHEMA, "optional": st.booleans(), "streaming": STREAMING,
                                              "preconditions": CONDITIONS, **WITH_METADATA})
OUTPUT = optional_record({"id": IDENTIFIERS}, {"schema": SCHEMA, "streaming": STREAMING,
                                               "postconditions": CONDITIONS, **WITH_METADATA})
RULE = optional_record(
    {"id": IDENTIFIERS, "rule": RULE_NAMES, "target": TARGETS,
     "phase": mostly(st.sampled_from(["precondition", "execution", "postcondition"]), st.just("later"))},
    {"parameters": st.dictionaries(st.sampled_from(["min", "max", "pattern", "length"]) | TEXT, JSON_VALUES,
                                   max_size=3),
     **WITH_METADATA},
)
ACTION = optional_record(
    {"id": IDENTIFIERS, "action": st.sampled_from(["vorn:trim", "vorn:lowercase", "acme:mask", "trim"]) | TEXT,
     "target": TARGETS},
    WITH_METADATA,
)
EXPRESSION = optional_record({"id": IDENTIFIERS}, {"expr": EXPRESSION_TEXTS, "type": TYPES, **WITH_METADATA})
PARAMETER = optional_record({"name": NAMES, "type": TYPES}, {"optional": st.booleans()})
FUNCTION = optional_record(
    {"id": IDENTIFIERS, "function": st.sampled_from(["vorn:lower", "vorn:concat", "acme:fn", "lower"]) | TEXT},
    {"type": TYPES, "nullable": st.booleans(), "parameters": lists_of(PARAMETER), **WITH_METADATA},
)
ORDERING = (st.just({"mode": "unordered"})
            | st.fixed_dictionaries({"mode": st.just("explicit"), "order": lists_of(IDENTIFIERS)})
            | st.fixed_dictionaries({"mode": mostly(st.just("unordered"), st.sampled_from(["random", "explicit"]))}))
SIDE_EFFECT = optional_record({"id": IDENTIFIERS, "kind": st.sampled_from(["write", "acme:log", ""]) | TEXT},
                              {"description": TEXT})
SEMANTICS = optional_record({}, {"deterministic": st.booleans(), "pure": st.booleans(), "ordering": ORDERING,
                                 "sideEffects": lists_of(SIDE_EFFECT, 2)})
LINEAGE = st.fixed_dictionaries({"mappings": lists_of(optional_record({"output": IDENTIFIERS},
                                                                      {"inputs": lists_of(IDENTIFIERS)}))})
VERSIONING = optional_record({}, {"compatibility": st.sampled_from(["vorn:backward", "acme:x", "strict", "", " "])})

CONTRACT_BODY = optional_record(
    {"vornVersion": VORN_VERSIONS, "id": IDENTIFIERS, "name": NAMES | TEXT, "version": VERSIONS},
    {"metadata": METADATA, "inputs": lists_of(INPUT), "outputs": lists_of(OUTPUT),
     "semanticActions": lists_of(ACTION), "expressions": lists_of(EXPRESSION), "functions": lists_of(FUNCTION),
     "rules": lists_of(RULE), "lineage": LINEAGE, "versioning": VERSIONING, "semantics": SEMANTICS},
)


def subtrees(value):
    """Every dict and list inside `value`, `value` included."""
    found = [value]
    for item in found:
        children = item.values() if isinstance(item, dict) else item
        found.extend(child for child in children if isinstance(child, (dict, list)))
    return found


@st.composite
def mutated(draw, strategy):
    """A value of `strategy`, now and then with one dict or list somewhere in
    it changed: an entry dropped, replaced by any JSON value, or added."""
    value = draw(strategy)
    how = draw(st.sampled_from([None, None, None, "drop", "replace", "add"]))
    if how is None:
        return value
    container = draw(st.sampled_from(subtrees(value)))
    if isinstance(container, dict):
        keys = list(container)
        if how == "add" or not keys:
            container[draw(EXTENSION_KEYS | st.sampled_from(["bogus_key", "inputs", "rules"]))] = draw(JSON_VALUES)
        elif how == "drop":
            del container[draw(st.sampled_from(keys))]
        else:
            container[draw(st.sampled_from(keys))] = draw(JSON_VALUES)
    elif container and how != "add":
        index = draw(st.integers(0, len(container) - 1))
        if how == "drop":
            del container[index]
        else:
            container[index] = draw(JSON_VALUES)
    else:
        container.append(draw(JSON_VALUES))
    return value


CONTRACTS = mutated(CONTRACT_BODY)

DEPENDENCY = st.fixed_dictionaries({"from": IDENTIFIERS, "to": IDENTIFIERS, "reason": st.sampled_from(
    ["lineage", "fieldRead", "fieldWrite", "explicitOrder", "rulePhase", "interfaceCondition"])})


def as_plan(contract, dependencies):
    """A plan holding a generated contract's records as its nodes."""
    sections = [("semanticActions", "semanticAction"), ("expressions", "expression"), ("rules", "rule")]
    return {"identity": {k: contract[k] for k in ("vornVersion", "id", "name", "version")},
            "inputs": contract.get("inputs", []), "outputs": contract.get("outputs", []),
            "nodes": [{"id": r["id"], "kind": {"kind": kind, **r}, "objectRef": f"{section}.{r['id']}"}
                      for section, kind in sections for r in contract.get(section, [])],
            "dependencies": dependencies, "lineage": contract.get("lineage"),
            "guarantees": {"inputPreconditions": [{"interfaceId": i["id"], "isInput": True, "ruleId": c["rule"]}
                                                  for i in contract.get("inputs", [])
                                                  for c in i.get("preconditions", [])]}}


PLANS = mutated(st.builds(as_plan, CONTRACT_BODY, lists_of(DEPENDENCY, 8)))

STATUSES = st.sampled_from(["draft", "experimental", "standard", "deprecated", "obsolete"])
REGISTRY_KEYS = mostly(st.sampled_from(["acme:mask", "acme:fn", "vorn:lower", "vorn:new", "vorn", "acme:x"]),
                       st.sampled_from(["lowercase", "acme:", ""]) | TEXT)
ENTRY = optional_record(
    {"name": mostly(NAMES, TEXT), "version": mostly(st.just("1.0.0"), VERSIONS),
     "status": mostly(STATUSES, st.just("gone")),
     "category": mostly(st.sampled_from(["semanticAction", "function", "rule", "logicalType", "diagnostic",
                                         "extensionNamespace", "profile", "capability"]), st.just("bogus"))},
    {"compatibility": mostly(st.sampled_from(["mandatory", "optional"]), st.just("maybe")),
     "definition": TEXT, "references": lists_of(TEXT), "supported": st.booleans()},
)


@st.composite
def registry_entries(draw):
    """Entries keyed by id; most carry no id of their own or the same one."""
    entries = {}
    for key in draw(st.lists(REGISTRY_KEYS, min_size=1, max_size=4)):
        entry = draw(ENTRY)
        own_id = draw(st.sampled_from([None, None, key, key, "acme:other"]))
        if own_id is not None:
            entry["id"] = own_id
        entries[key] = entry
    return entries


REGISTRIES = mutated(optional_record(
    {"id": mostly(st.just("acme:registry"), TEXT), "version": mostly(st.just("1.0.0"), VERSIONS),
     "governingSpecification": mostly(st.just("1.0.0-draft"), st.sampled_from(["1.0.0", ""])),
     "publicationStatus": mostly(STATUSES, st.just("gone")), "entries": registry_entries()},
    {},
))

# Pieces of YAML and JSON syntax: joined at random they reach the corners of
# both readers far more often than random characters do.
SYNTAX = st.sampled_from([
    "vornVersion", "id", "name", "version", "inputs", "metadata", "1.0.0", ":", ": ", " ", "  ", "\n", "\t",
    "- ", "-", "{", "}", "[", "]", ",", "&a ", "*a", "!!str ", "!!binary ", "!tag ", "---\n", "...\n", "'", '"',
    "# c\n", "? ", "|\n", ">-\n", "<<: ", "%YAML 1.2\n", "\\u0000", "\\ud800", "\ufeff", "\x00", "null", "true",
    "1e999", "-0", "0x1F", "~", "=",
])
SYNTAX_TEXT = st.lists(SYNTAX, max_size=30).map("".join)


def yaml_text(value):
    return yaml.safe_dump(value, allow_unicode=True, sort_keys=False)


def json_text(value):
    return json.dumps(value)


@st.composite
def documents(draw):
    """str or bytes content of every kind: random, syntax soup, and dumps of
    contract-shaped and arbitrary dicts, sometimes with a cut or a splice."""
    kind = draw(st.sampled_from(["bytes", "text", "syntax", "json", "yaml", "json-dict"]))
    if kind == "bytes":
        return draw(st.binary(max_size=200))
    if kind == "text":
        return draw(st.text(max_size=200) | ODD_TEXT)
    if kind == "syntax":
        return draw(SYNTAX_TEXT)
    if kind == "json-dict":
        return json_text(draw(JSON_DICTS))
    value = draw(CONTRACTS)
    text = json_text(value) if kind == "json" else yaml_text(value)
    if draw(st.booleans()):
        return text
    start = draw(st.integers(0, len(text)))
    end = draw(st.integers(start, min(len(text), start + 20)))
    return text[:start] + draw(SYNTAX_TEXT) + text[end:]


DOCUMENTS = documents()
FORMATS = st.sampled_from(["yaml", "json", "YML", "Json"])
ANY_FORMAT = FORMATS | TEXT

# Anything at all in an argument's place.
ANY_ARGUMENT = (SCALARS | ODD_TEXT | st.binary(max_size=8) | st.lists(st.integers(-2, 300), max_size=4)
                | st.tuples(st.integers(0, 255)) | JSON_DICTS | st.builds(bytearray, st.binary(max_size=8))
                | st.builds(set, st.lists(st.integers(), max_size=2)) | st.builds(object))
