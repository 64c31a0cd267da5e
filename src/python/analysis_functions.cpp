// The contract analysis: validation and the expression and semantics
// analysis of one contract, side by side.

#include "python/arguments.h"
#include "python/boundary.h"
#include "python/convert.h"
#include "python/functions.h"

#include "analysis/contract.h"
#include "diagnostics/report.h"
#include "registry/default_registry.h"
#include "registry/operations.h"
#include "support/json_writer.h"
#include "validation/driver.h"

namespace vorn::python {
namespace {

// {"validation":{"diagnostics":[...]},"analysis":{"diagnostics":[...],"findings":[...]}}
std::string analyze_result_json(const model::TransformationContract& contract,
                                const model::registry::RegistryDocument& registry) {
  diagnostics::DiagnosticReport validation{validation::validate_with_registry(contract, registry)};
  analysis::AnalysisReport analysis = analysis::contract::check_contract(contract, &registry);
  JsonWriter w;
  w.begin_object();
  w.key("validation");
  validation.serialize(w);
  w.key("analysis");
  analysis.serialize(w);
  w.end_object();
  return w.take();
}

}  // namespace

PyObject* analyze_contract(PyObject*, PyObject* args, PyObject* kwargs) {
  static const char* const kKeywords[] = {"contract", "registry_path", nullptr};
  PyObject* contract = nullptr;
  PyObject* registry_path = nullptr;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|O:analyze_contract", keyword_list(kKeywords), &contract,
                                   &registry_path))
    return nullptr;
  if (!bind_optional_str(registry_path, "analyze_contract", "registry_path")) return nullptr;
  return guarded([&]() -> PyObject* {
    std::optional<model::TransformationContract> value = contract_from_py(contract);
    if (!value) return nullptr;
    std::optional<std::string> path;
    if (!registry_file(registry_path, path)) return nullptr;
    // Analysis only reads the registry, so the default one serves in place.
    if (!path) return json_text_to_py(analyze_result_json(*value, registry::default_registry()));
    auto merged = registry::load_merged(*path);
    if (!merged) return registry_error(merged.diagnostics());
    return json_text_to_py(analyze_result_json(*value, merged.value()));
  });
}

}  // namespace vorn::python
