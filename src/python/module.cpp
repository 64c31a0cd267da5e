// vorn._native: the module object and its method table.

#include "python/functions.h"

#include <atomic>

namespace vorn::python {
namespace {

template <class Function>
PyCFunction as_method(Function* function) {
  return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(function));
}

PyMethodDef kMethods[] = {
    {"spec_version", spec_version, METH_NOARGS,
     "spec_version()\n--\n\nVORN specification version this crate targets."},
    {"parse_document", as_method(parse_document), METH_VARARGS | METH_KEYWORDS,
     "parse_document(content, format=\"yaml\")\n--\n\nParse a VORN document from text or bytes."},
    {"parse_path", as_method(parse_path), METH_VARARGS | METH_KEYWORDS,
     "parse_path(path)\n--\n\nParse a VORN document from a file path."},
    {"validate_contract", as_method(validate_contract), METH_VARARGS | METH_KEYWORDS,
     "validate_contract(contract, registry_path=None)\n--\n\nValidate a parsed transformation contract."},
    {"analyze_contract", as_method(analyze_contract), METH_VARARGS | METH_KEYWORDS,
     "analyze_contract(contract, registry_path=None)\n--\n\n"
     "Analyze a parsed transformation contract (expressions + semantics)."},
    {"plan_lower", as_method(plan_lower), METH_VARARGS | METH_KEYWORDS,
     "plan_lower(contract, registry_path=None)\n--\n\nLower a parsed transformation contract to a plan."},
    {"plan_topological_order", as_method(plan_topological_order), METH_VARARGS | METH_KEYWORDS,
     "plan_topological_order(contract, plan_obj)\n--\n\nCompute topological execution order for a lowered plan."},
    {"plan_validate", as_method(plan_validate), METH_VARARGS | METH_KEYWORDS,
     "plan_validate(plan_obj, registry_path=None)\n--\n\nValidate a transformation plan."},
    {"plan_optimize", as_method(plan_optimize), METH_VARARGS | METH_KEYWORDS,
     "plan_optimize(plan_obj, registry_path=None, *, validate=True)\n--\n\nOptimize a transformation plan."},
    {"plan_equivalent", as_method(plan_equivalent), METH_VARARGS | METH_KEYWORDS,
     "plan_equivalent(before, after)\n--\n\nCompare two transformation plans for semantic equivalence."},
    {"metadata_validate", as_method(metadata_validate), METH_VARARGS | METH_KEYWORDS,
     "metadata_validate(contract)\n--\n\nValidate metadata for a parsed transformation contract."},
    {"validate_document", as_method(validate_document), METH_VARARGS | METH_KEYWORDS,
     "validate_document(content, format=\"yaml\")\n--\n\nParse and validate a VORN document in one step."},
    {"inspect", as_method(inspect_contract), METH_VARARGS | METH_KEYWORDS,
     "inspect(contract)\n--\n\nReturn a short human-readable contract summary."},
    {"compat_analyze", as_method(compat_analyze), METH_VARARGS | METH_KEYWORDS,
     "compat_analyze(source, target, scope=None)\n--\n\nAnalyze compatibility between two contracts."},
    {"evolve_analyze", as_method(evolve_analyze), METH_VARARGS | METH_KEYWORDS,
     "evolve_analyze(older, newer)\n--\n\nAnalyze evolution between two contract revisions."},
    {"lineage_analyze", as_method(lineage_analyze), METH_VARARGS | METH_KEYWORDS,
     "lineage_analyze(contract, impact=None, dependency=None)\n--\n\nAnalyze lineage for a contract."},
    {"version_validate", as_method(version_validate), METH_VARARGS | METH_KEYWORDS,
     "version_validate(contract)\n--\n\nValidate version identifiers on a contract."},
    {"registry_list", as_method(registry_list), METH_VARARGS | METH_KEYWORDS,
     "registry_list(registry_path=None)\n--\n\nList registry entries, optionally merged with a registry file."},
    {"registry_resolve", as_method(registry_resolve), METH_VARARGS | METH_KEYWORDS,
     "registry_resolve(id, registry_path=None)\n--\n\n"
     "Resolve a registry identifier, optionally using an additional registry file."},
    {"registry_load", as_method(registry_load), METH_VARARGS | METH_KEYWORDS,
     "registry_load(path)\n--\n\nLoad a registry document from a file path."},
    {nullptr, nullptr, 0, nullptr},
};

// m_size 0 (not -1): the import machinery then runs the init function again
// for a second interpreter instead of copying this one's module dict, so the
// guard below can refuse it.
PyModuleDef kModule = {
    PyModuleDef_HEAD_INIT,
    "_native",
    "Native extension module for the Python `vorn` package.",
    0,
    kMethods,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

// Single-phase modules are not safe to share between interpreters, so the
// module is built once per process.
std::atomic<bool> initialised{false};

}  // namespace
}  // namespace vorn::python

PyMODINIT_FUNC PyInit__native(void) {
  using namespace vorn::python;
  if (initialised.exchange(true)) {
    PyErr_SetString(PyExc_ImportError, "vorn._native may only be initialised once per process");
    return nullptr;
  }
  PyObject* module = PyModule_Create(&kModule);
  if (!module) initialised.store(false);
  return module;
}
