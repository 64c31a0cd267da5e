"""The shape of vorn._native: its functions, their signatures, its life."""

import inspect
import subprocess
import sys
import textwrap

import pytest

import vorn
from vorn import _native

FUNCTIONS = [
    ("spec_version", "()", "VORN specification version this crate targets."),
    ("parse_document", "(content, format='yaml')", "Parse a VORN document from text or bytes."),
    ("parse_path", "(path)", "Parse a VORN document from a file path."),
    ("validate_contract", "(contract, registry_path=None)", "Validate a parsed transformation contract."),
    ("analyze_contract", "(contract, registry_path=None)",
     "Analyze a parsed transformation contract (expressions + semantics)."),
    ("plan_lower", "(contract, registry_path=None)", "Lower a parsed transformation contract to a plan."),
    ("plan_topological_order", "(contract, plan_obj)", "Compute topological execution order for a lowered plan."),
    ("plan_validate", "(plan_obj, registry_path=None)", "Validate a transformation plan."),
    ("plan_optimize", "(plan_obj, registry_path=None, *, validate=True)", "Optimize a transformation plan."),
    ("plan_equivalent", "(before, after)", "Compare two transformation plans for semantic equivalence."),
    ("metadata_validate", "(contract)", "Validate metadata for a parsed transformation contract."),
    ("validate_document", "(content, format='yaml')", "Parse and validate a VORN document in one step."),
    ("inspect", "(contract)", "Return a short human-readable contract summary."),
    ("compat_analyze", "(source, target, scope=None)", "Analyze compatibility between two contracts."),
    ("evolve_analyze", "(older, newer)", "Analyze evolution between two contract revisions."),
    ("lineage_analyze", "(contract, impact=None, dependency=None)", "Analyze lineage for a contract."),
    ("version_validate", "(contract)", "Validate version identifiers on a contract."),
    ("registry_list", "(registry_path=None)", "List registry entries, optionally merged with a registry file."),
    ("registry_resolve", "(id, registry_path=None)",
     "Resolve a registry identifier, optionally using an additional registry file."),
    ("registry_load", "(path)", "Load a registry document from a file path."),
]


def test_module_identity():
    assert _native.__name__ == "vorn._native"
    assert _native.__doc__ == "Native extension module for the Python `vorn` package."


def test_functions_are_exactly_the_table_in_order():
    public = [name for name in vars(_native) if not name.startswith("_")]
    assert public == [name for name, _, _ in FUNCTIONS]
    assert sorted(vorn.__all__) == sorted(public)


@pytest.mark.parametrize("name, signature, doc", FUNCTIONS)
def test_signature_and_docstring(name, signature, doc):
    function = getattr(_native, name)
    assert str(inspect.signature(function)) == signature
    parameters = inspect.signature(function).parameters.values()
    assert all(p.kind in (p.POSITIONAL_OR_KEYWORD, p.KEYWORD_ONLY) for p in parameters)
    assert function.__doc__ == doc


def test_spec_version():
    assert _native.spec_version() == "1.0.0-draft"


@pytest.mark.parametrize("args, kwargs", [((1,), {}), ((), {"x": 1}), ((None,), {})])
def test_spec_version_takes_no_arguments(args, kwargs):
    with pytest.raises(TypeError):
        _native.spec_version(*args, **kwargs)


def test_plain_reimport_reuses_the_module():
    import vorn._native as again

    assert again is _native


def run_python(code):
    return subprocess.run([sys.executable, "-c", textwrap.dedent(code)], capture_output=True, text=True, timeout=60)


def test_second_initialisation_in_process_fails():
    done = run_python(
        """
        import importlib, sys
        import vorn._native
        del sys.modules["vorn._native"]
        try:
            importlib.import_module("vorn._native")
        except ImportError as e:
            print("ImportError", e)
        """
    )
    assert done.returncode == 0, done.stderr
    assert done.stdout.startswith("ImportError")


def test_subinterpreter_cannot_initialise_it_again():
    subinterpreters = pytest.importorskip("_xxsubinterpreters")
    interpreter = subinterpreters.create()
    try:
        with pytest.raises(subinterpreters.RunFailedError, match="ImportError"):
            subinterpreters.run_string(interpreter, "import vorn._native")
    finally:
        subinterpreters.destroy(interpreter)
    assert _native.spec_version() == "1.0.0-draft"
