// Plans from Python: lowering a contract, ordering a plan's steps,
// validating, optimizing and comparing plans.

#include "python/arguments.h"
#include "python/boundary.h"
#include "python/convert.h"
#include "python/functions.h"
#include "python/registry_choice.h"

#include "plan/equivalence/equivalent.h"
#include "plan/graph/topological_order.h"
#include "plan/lowering/lower.h"
#include "plan/optimize/optimize.h"
#include "plan/validate/validate.h"
#include "support/json_writer.h"

namespace vorn::python {
namespace {

using model::registry::RegistryDocument;

std::string text_list_json(const std::vector<std::string>& texts) {
  JsonWriter w;
  w.begin_array();
  for (const std::string& text : texts) w.string(text);
  w.end_array();
  return w.take();
}

}  // namespace

PyObject* plan_lower(PyObject*, PyObject* args, PyObject* kwargs) {
  static const char* const kKeywords[] = {"contract", "registry_path", nullptr};
  PyObject* contract = nullptr;
  PyObject* registry_path = nullptr;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|O:plan_lower", keyword_list(kKeywords), &contract,
                                   &registry_path))
    return nullptr;
  if (!bind_optional_str(registry_path, "plan_lower", "registry_path")) return nullptr;
  return guarded([&]() -> PyObject* {
    std::optional<model::TransformationContract> value = contract_from_py(contract);
    if (!value) return nullptr;
    return with_registry(registry_path, [&](const RegistryDocument& registry) {
      return json_text_to_py(plan::lowering::lower(*value, &registry).to_json());
    });
  });
}

PyObject* plan_topological_order(PyObject*, PyObject* args, PyObject* kwargs) {
  static const char* const kKeywords[] = {"contract", "plan_obj", nullptr};
  PyObject* contract = nullptr;
  PyObject* plan_obj = nullptr;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "OO:plan_topological_order", keyword_list(kKeywords), &contract,
                                   &plan_obj))
    return nullptr;
  return guarded([&]() -> PyObject* {
    std::optional<model::TransformationContract> value = contract_from_py(contract);
    if (!value) return nullptr;
    std::optional<plan::model::TransformationPlan> plan = plan_from_py(plan_obj);
    if (!plan) return nullptr;
    return json_text_to_py(text_list_json(plan::graph::topological_order(*value, plan->nodes, plan->dependencies)));
  });
}

PyObject* plan_validate(PyObject*, PyObject* args, PyObject* kwargs) {
  static const char* const kKeywords[] = {"plan_obj", "registry_path", nullptr};
  PyObject* plan_obj = nullptr;
  PyObject* registry_path = nullptr;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|O:plan_validate", keyword_list(kKeywords), &plan_obj,
                                   &registry_path))
    return nullptr;
  if (!bind_optional_str(registry_path, "plan_validate", "registry_path")) return nullptr;
  return guarded([&]() -> PyObject* {
    std::optional<plan::model::TransformationPlan> plan = plan_from_py(plan_obj);
    if (!plan) return nullptr;
    return with_registry(registry_path, [&](const RegistryDocument& registry) {
      return diagnostics_to_py(plan::validate::validate_with_registry(*plan, registry));
    });
  });
}

PyObject* plan_optimize(PyObject*, PyObject* args, PyObject* kwargs) {
  static const char* const kKeywords[] = {"plan_obj", "registry_path", "validate", nullptr};
  PyObject* plan_obj = nullptr;
  PyObject* registry_path = nullptr;
  PyObject* validate = Py_True;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|O$O:plan_optimize", keyword_list(kKeywords), &plan_obj,
                                   &registry_path, &validate))
    return nullptr;
  if (!bind_optional_str(registry_path, "plan_optimize", "registry_path")) return nullptr;
  if (!require_bool(validate, "plan_optimize", "validate")) return nullptr;
  return guarded([&]() -> PyObject* {
    std::optional<plan::model::TransformationPlan> plan = plan_from_py(plan_obj);
    if (!plan) return nullptr;
    plan::optimize::OptimizeOptions options;
    options.validate = validate == Py_True;
    return with_registry(registry_path, [&](const RegistryDocument& registry) {
      return json_text_to_py(plan::optimize::optimize_with_registry(*plan, registry, options).to_json());
    });
  });
}

PyObject* plan_equivalent(PyObject*, PyObject* args, PyObject* kwargs) {
  static const char* const kKeywords[] = {"before", "after", nullptr};
  PyObject* before = nullptr;
  PyObject* after = nullptr;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "OO:plan_equivalent", keyword_list(kKeywords), &before, &after))
    return nullptr;
  return guarded([&]() -> PyObject* {
    std::optional<plan::model::TransformationPlan> a = plan_from_py(before);
    if (!a) return nullptr;
    std::optional<plan::model::TransformationPlan> b = plan_from_py(after);
    if (!b) return nullptr;
    return PyBool_FromLong(plan::equivalence::equivalent(*a, *b));
  });
}

}  // namespace vorn::python
