#pragma once
// The functions of vorn._native, in the calling conventions of their entries
// in the module's method table.

#include "python/py_ref.h"

namespace vorn::python {

// METH_NOARGS
PyObject* spec_version(PyObject* module, PyObject* unused);

// METH_VARARGS | METH_KEYWORDS
PyObject* parse_document(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* parse_path(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* validate_contract(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* analyze_contract(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* plan_lower(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* plan_topological_order(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* plan_validate(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* plan_optimize(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* plan_equivalent(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* metadata_validate(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* validate_document(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* inspect_contract(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* version_validate(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* registry_list(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* registry_resolve(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* registry_load(PyObject* module, PyObject* args, PyObject* kwargs);

// Change and impact analysis.
PyObject* compat_analyze(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* evolve_analyze(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* lineage_analyze(PyObject* module, PyObject* args, PyObject* kwargs);

}  // namespace vorn::python
