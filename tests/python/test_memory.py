"""Every function of vorn._native called very often, on inputs that succeed
and on inputs that raise: resident memory stays flat and no reference to an
input or a singleton is kept or lost."""

import gc
import os
import resource
import sys
import tracemalloc

import pytest

from conftest import MINIMAL_CONTRACT, REGISTRY_HEADER, VALID_YAML, registry_entry_yaml
from vorn import _native

MIB = 1024 * 1024
PAGE_SIZE = os.sysconf("SC_PAGE_SIZE")
WARM_UP = 3_000


class Unserialisable:
    """A heap type: every instance alive holds a reference to the class."""


def circular():
    value = dict(MINIMAL_CONTRACT)
    value["metadata"] = {"acme:self": value}
    return value


VALID_JSON_BYTES = b'{"vornVersion": "1.0.0", "id": "orders", "name": "Orders", "version": "2.1.0"}'
CONTRACT = _native.parse_document(VALID_YAML)["contract"]
BAD_VERSIONS = {**MINIMAL_CONTRACT, "vornVersion": "9", "version": "x", "metadata": {"team": "core"}}
NAN_CONTRACT = {**MINIMAL_CONTRACT, "version": float("nan")}
SET_CONTRACT = {**MINIMAL_CONTRACT, "metadata": {"acme:x": {1, 2}}}
OBJECT_CONTRACT = {**MINIMAL_CONTRACT, "metadata": {"acme:x": Unserialisable()}}
CIRCULAR_CONTRACT = circular()
NO_ID = {"vornVersion": "1.0.0"}
SURROGATE_TEXT = "id: \ud800\n"
INT_ITEMS = list(b"id: x\n")
BAD_INT_ITEMS = [105, 300]

INPUTS = [VALID_YAML, VALID_JSON_BYTES, MINIMAL_CONTRACT, CONTRACT, CONTRACT["id"], CONTRACT["inputs"],
          BAD_VERSIONS, NAN_CONTRACT, SET_CONTRACT, OBJECT_CONTRACT, OBJECT_CONTRACT["metadata"]["acme:x"],
          Unserialisable, CIRCULAR_CONTRACT, NO_ID, SURROGATE_TEXT, INT_ITEMS, BAD_INT_ITEMS]
SINGLETONS = [None, True, False]


def contract_calls(function):
    return [lambda: function(CONTRACT), lambda: function(None), lambda: function(BAD_VERSIONS),
            lambda: function(NAN_CONTRACT), lambda: function(contract=MINIMAL_CONTRACT),
            lambda: function(SET_CONTRACT), lambda: function(CONTRACT), lambda: function(OBJECT_CONTRACT),
            lambda: function(CONTRACT), lambda: function(CIRCULAR_CONTRACT), lambda: function(CONTRACT),
            lambda: function(NO_ID), lambda: function(CONTRACT), lambda: function([]),
            lambda: function(CONTRACT), lambda: function()]


def document_calls(function):
    return [lambda: function(VALID_YAML), lambda: function(None), lambda: function(VALID_JSON_BYTES, "json"),
            lambda: function(VALID_YAML, "xml"), lambda: function(bytearray(VALID_JSON_BYTES), format="JSON"),
            lambda: function(SURROGATE_TEXT), lambda: function(INT_ITEMS), lambda: function(BAD_INT_ITEMS),
            lambda: function(VALID_YAML, "yml"), lambda: function(VALID_YAML, format=1),
            lambda: function("vornVersion: [unclosed"), lambda: function(VALID_YAML, "json", 1)]


CASES = {
    "spec_version": (100_000, lambda p: [_native.spec_version, lambda: _native.spec_version(1)]),
    "parse_document": (100_000, lambda p: document_calls(_native.parse_document)),
    "validate_document": (100_000, lambda p: document_calls(_native.validate_document)),
    "validate_contract": (100_000, lambda p: contract_calls(_native.validate_contract)),
    "metadata_validate": (100_000, lambda p: contract_calls(_native.metadata_validate)),
    "version_validate": (100_000, lambda p: contract_calls(_native.version_validate)),
    "inspect": (100_000, lambda p: contract_calls(_native.inspect)),
    "validate_contract with a registry file": (20_000, lambda p: [
        lambda: _native.validate_contract(CONTRACT, p["registry"]),
        lambda: _native.validate_contract(CONTRACT, p["missing"]),
        lambda: _native.validate_contract(CONTRACT, registry_path=p["registry"]),
        lambda: _native.validate_contract(CONTRACT, p["bad registry"]),
        lambda: _native.validate_contract(NAN_CONTRACT, p["registry"]),
        lambda: _native.validate_contract(CONTRACT, 1),
    ]),
    "registry_list": (20_000, lambda p: [
        _native.registry_list, lambda: _native.registry_list(p["missing"]),
        lambda: _native.registry_list(p["registry"]), lambda: _native.registry_list(p["bad registry"]),
        lambda: _native.registry_list(None), lambda: _native.registry_list(b"x"),
    ]),
    "registry_resolve": (100_000, lambda p: [
        lambda: _native.registry_resolve("vorn:lower"), lambda: _native.registry_resolve(5),
        lambda: _native.registry_resolve("acme:nothing"), lambda: _native.registry_resolve("vorn:lower", p["missing"]),
        lambda: _native.registry_resolve(CONTRACT["id"]), lambda: _native.registry_resolve("vorn:\ud800"),
        lambda: _native.registry_resolve(id="vorn:range"), lambda: _native.registry_resolve("x", p["nul"]),
        lambda: _native.registry_resolve("acme:mask", p["registry"]), lambda: _native.registry_resolve(),
    ]),
    "registry_load": (20_000, lambda p: [
        lambda: _native.registry_load(p["registry"]), lambda: _native.registry_load(p["missing"]),
        lambda: _native.registry_load(p["registry"]), lambda: _native.registry_load(p["bad registry"]),
        lambda: _native.registry_load(p["registry"]), lambda: _native.registry_load(None),
        lambda: _native.registry_load(p["registry"]), lambda: _native.registry_load(p["nul"]),
        lambda: _native.registry_load(p["registry"]), lambda: _native.registry_load(p["directory"]),
    ]),
    "parse_path": (20_000, lambda p: [
        lambda: _native.parse_path(p["contract"]), lambda: _native.parse_path(p["missing"]),
        lambda: _native.parse_path(p["contract"]), lambda: _native.parse_path(p["directory"]),
        lambda: _native.parse_path(p["broken contract"]), lambda: _native.parse_path(p["nul"]),
        lambda: _native.parse_path(p["contract"]), lambda: _native.parse_path(p["unknown extension"]),
        lambda: _native.parse_path(p["contract"]), lambda: _native.parse_path(1),
    ]),
}
PLAN = _native.plan_lower(CONTRACT)["plan"]
NAN_PLAN = {**PLAN, "nodes": [float("nan")]}
INPUTS += [PLAN, NAN_PLAN]
CASES["plan_lower"] = (20_000, lambda p: contract_calls(_native.plan_lower) + [
    lambda: _native.plan_lower(CONTRACT, p["registry"]), lambda: _native.plan_lower(CONTRACT, p["bad registry"])])
CASES["plan_validate"] = (20_000, lambda p: contract_calls(_native.plan_validate) + [
    lambda: _native.plan_validate(PLAN), lambda: _native.plan_validate(NAN_PLAN),
    lambda: _native.plan_validate(PLAN, p["registry"]), lambda: _native.plan_validate(PLAN, p["missing"])])
CASES["plan_topological_order"] = (100_000, lambda p: [
    lambda: _native.plan_topological_order(CONTRACT, PLAN), lambda: _native.plan_topological_order(CONTRACT, None),
    lambda: _native.plan_topological_order(NAN_CONTRACT, PLAN), lambda: _native.plan_topological_order(CONTRACT, {}),
    lambda: _native.plan_topological_order(CONTRACT, NAN_PLAN), lambda: _native.plan_topological_order(CONTRACT)])
CASES["plan_optimize"] = (20_000, lambda p: contract_calls(_native.plan_optimize) + [
    lambda: _native.plan_optimize(PLAN), lambda: _native.plan_optimize(NAN_PLAN, validate=False),
    lambda: _native.plan_optimize(PLAN, p["registry"]), lambda: _native.plan_optimize(PLAN, validate=None)])
CASES["plan_equivalent"] = (100_000, lambda p: [
    lambda: _native.plan_equivalent(PLAN, PLAN), lambda: _native.plan_equivalent(PLAN, None),
    lambda: _native.plan_equivalent(NAN_PLAN, PLAN), lambda: _native.plan_equivalent({}, PLAN)])
CASES["compat_analyze"] = (100_000, lambda p: [
    lambda: _native.compat_analyze(CONTRACT, BAD_VERSIONS), lambda: _native.compat_analyze(CONTRACT, None),
    lambda: _native.compat_analyze(CONTRACT, CONTRACT, ["types", "bogus"]),
    lambda: _native.compat_analyze(CONTRACT, CONTRACT, "types"), lambda: _native.compat_analyze(NAN_CONTRACT, CONTRACT),
    lambda: _native.compat_analyze(CONTRACT, MINIMAL_CONTRACT, ("all",)),
    lambda: _native.compat_analyze(CONTRACT, CONTRACT, [CONTRACT["id"], 1]),
])
CASES["evolve_analyze"] = (100_000, lambda p: [
    lambda: _native.evolve_analyze(CONTRACT, BAD_VERSIONS), lambda: _native.evolve_analyze(None, CONTRACT),
    lambda: _native.evolve_analyze(MINIMAL_CONTRACT, CONTRACT), lambda: _native.evolve_analyze(CONTRACT, SET_CONTRACT),
    lambda: _native.evolve_analyze(newer=CONTRACT, older=CONTRACT), lambda: _native.evolve_analyze(CONTRACT),
])
CASES["lineage_analyze"] = (100_000, lambda p: contract_calls(_native.lineage_analyze) + [
    lambda: _native.lineage_analyze(CONTRACT, CONTRACT["inputs"][0]["id"], "clean_orders"),
    lambda: _native.lineage_analyze(CONTRACT, impact="\ud800", dependency=" "),
    lambda: _native.lineage_analyze(CONTRACT, dependency=1),
])
if hasattr(_native, "analyze_contract"):
    CASES["analyze_contract"] = (20_000, lambda p: contract_calls(_native.analyze_contract) + [
        lambda: _native.analyze_contract(CONTRACT, p["registry"]),
        lambda: _native.analyze_contract(CONTRACT, p["bad registry"]),
    ])


@pytest.fixture(scope="module")
def paths(tmp_path_factory):
    directory = tmp_path_factory.mktemp("memory")
    files = {
        "registry": REGISTRY_HEADER + "entries:\n" + registry_entry_yaml("acme:mask", name="Mask"),
        "bad registry": REGISTRY_HEADER + "entries: [",
        "contract.yaml": VALID_YAML,
        "broken.yaml": "vornVersion: [unclosed",
        "contract.txt": VALID_YAML,
    }
    for name, content in files.items():
        (directory / name).write_text(content)
    (directory / "directory").mkdir()
    names = {"registry": "registry", "bad registry": "bad registry", "contract": "contract.yaml",
             "broken contract": "broken.yaml", "unknown extension": "contract.txt", "directory": "directory",
             "missing": "missing.yaml"}
    result = {key: str(directory / name) for key, name in names.items()}
    result["nul"] = result["registry"] + "\0.yaml"
    return result


def run(calls, times):
    count = len(calls)
    for i in range(times):
        try:
            calls[i % count]()
        except (TypeError, ValueError):
            pass


def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * PAGE_SIZE


def peak_bytes():
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss * 1024


def reference_counts(objects):
    return [sys.getrefcount(o) for o in objects]


@pytest.mark.parametrize("name", list(CASES))
def test_memory_and_references_stay_flat(paths, name):
    times, make_calls = CASES[name]
    calls = make_calls(paths)
    watched = INPUTS + list(paths.values())
    run(calls, WARM_UP)
    gc.collect()
    inputs_before, singletons_before = reference_counts(watched), reference_counts(SINGLETONS)
    resident_before, peak_before = resident_bytes(), peak_bytes()
    run(calls, times)
    gc.collect()
    assert resident_bytes() - resident_before < 8 * MIB
    assert peak_bytes() - peak_before < 8 * MIB
    assert reference_counts(watched) == inputs_before
    # The interpreter itself moves these a little; a leak moves them by the
    # number of calls.
    drift = [after - before for before, after in zip(singletons_before, reference_counts(SINGLETONS))]
    assert all(abs(d) < times // 1000 for d in drift), drift


def traced_bytes_after(calls, times):
    run(calls, times)
    gc.collect()
    return tracemalloc.get_traced_memory()[0]


@pytest.mark.parametrize("name", list(CASES))
def test_no_python_object_outlives_a_call(paths, name):
    times, make_calls = CASES[name]
    calls = make_calls(paths)
    times //= 20  # tracing makes every call several times slower
    run(calls, WARM_UP)
    tracemalloc.start()
    try:
        # The first traced round may still fill the interpreter's own caches
        # (more of them with PYTHONMALLOC=malloc); a leak grows every round.
        first = traced_bytes_after(calls, times)
        growth = traced_bytes_after(calls, times) - first
    finally:
        tracemalloc.stop()
    # The smallest object a leak could keep is 16 bytes or more.
    assert growth < 16 * times, growth
