// Validating documents and contracts, whole or one pass at a time, and the
// one-glance summary of a contract.

#include "python/arguments.h"
#include "python/boundary.h"
#include "python/convert.h"
#include "python/functions.h"

#include <fmt/format.h>

#include "metadata/validate.h"
#include "parser/parse.h"
#include "registry/default_registry.h"
#include "registry/operations.h"
#include "validation/context.h"
#include "validation/driver.h"
#include "validation/parse_result.h"
#include "versioning/validate.h"

namespace vorn::python {
namespace {

using model::TransformationContract;

using ContractBody = PyObject* (*)(const TransformationContract&);

// The functions whose one argument is a contract: bind it, convert it, run
// `body` on it.
PyObject* call_with_contract(PyObject* args, PyObject* kwargs, const char* binding, ContractBody body) {
  static const char* const kKeywords[] = {"contract", nullptr};
  PyObject* contract = nullptr;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, binding, keyword_list(kKeywords), &contract)) return nullptr;
  return guarded([&]() -> PyObject* {
    std::optional<TransformationContract> value = contract_from_py(contract);
    if (!value) return nullptr;
    return body(*value);
  });
}

PyObject* metadata_report(const TransformationContract& contract) {
  validation::ValidationContext context;
  metadata::validate::validate_metadata(context, contract);
  return diagnostics_to_py(std::move(context.diagnostics));
}

PyObject* version_report(const TransformationContract& contract) {
  return diagnostics_to_py(versioning::validate::validate(contract));
}

PyObject* summary(const TransformationContract& c) {
  std::string text = fmt::format(
      "id: {}\nname: {}\nversion: {}\nvornVersion: {}\ninputs: {}\noutputs: {}\nsemanticActions: {}\n"
      "rules: {}\nexpressions: {}\nfunctions: {}\n",
      c.id, c.name, c.version, c.vorn_version, c.inputs.size(), c.outputs.size(), c.semantic_actions.size(),
      c.rules.size(), c.expressions.size(), c.functions.size());
  return PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace");
}

}  // namespace

PyObject* validate_document(PyObject*, PyObject* args, PyObject* kwargs) {
  return guarded([&]() -> PyObject* {
    std::optional<DocumentArguments> document = document_arguments(args, kwargs, "validate_document");
    if (!document) return nullptr;
    diagnostics::DiagnosticReport report =
        validation::validate_parse_result(parser::parse(document->bytes, document->format));
    return diagnostics_to_py(std::move(report.diagnostics));
  });
}

PyObject* validate_contract(PyObject*, PyObject* args, PyObject* kwargs) {
  static const char* const kKeywords[] = {"contract", "registry_path", nullptr};
  PyObject* contract = nullptr;
  PyObject* registry_path = nullptr;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|O:validate_contract", keyword_list(kKeywords), &contract,
                                   &registry_path))
    return nullptr;
  if (!bind_optional_str(registry_path, "validate_contract", "registry_path")) return nullptr;
  return guarded([&]() -> PyObject* {
    // A contract that does not convert is reported before any file is read.
    std::optional<TransformationContract> value = contract_from_py(contract);
    if (!value) return nullptr;
    std::optional<std::string> path;
    if (!registry_file(registry_path, path)) return nullptr;
    // The shared default registry is only read, so it is used in place.
    if (!path) return diagnostics_to_py(validation::validate_with_registry(*value, registry::default_registry()));
    auto merged = registry::load_merged(*path);
    if (!merged) return registry_error(merged.diagnostics());
    return diagnostics_to_py(validation::validate_with_registry(*value, merged.value()));
  });
}

PyObject* metadata_validate(PyObject*, PyObject* args, PyObject* kwargs) {
  return call_with_contract(args, kwargs, "O:metadata_validate", metadata_report);
}

PyObject* version_validate(PyObject*, PyObject* args, PyObject* kwargs) {
  return call_with_contract(args, kwargs, "O:version_validate", version_report);
}

PyObject* inspect_contract(PyObject*, PyObject* args, PyObject* kwargs) {
  return call_with_contract(args, kwargs, "O:inspect", summary);
}

}  // namespace vorn::python
