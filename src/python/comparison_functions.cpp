// Change and impact analysis from Python: compatibility of two contracts
// within a scope, evolution between two revisions, lineage queries.

#include "python/arguments.h"
#include "python/boundary.h"
#include "python/convert.h"
#include "python/functions.h"

#include "compatibility/classify.h"
#include "compatibility/evolution.h"
#include "lineage/analysis.h"

namespace vorn::python {
namespace {

using compatibility::types::ComparisonScope;
using model::TransformationContract;

// The scope's tokens: None (or omitted) gives none; otherwise a sequence
// whose items are all str. A str is refused, though it is a sequence: its
// letters are not tokens.
std::optional<std::vector<std::string>> scope_tokens(PyObject* scope) {
  std::vector<std::string> tokens;
  if (!scope || scope == Py_None) return tokens;
  if (PyUnicode_Check(scope) || !PySequence_Check(scope)) {
    PyRef type_name(PyType_GetName(Py_TYPE(scope)));
    if (type_name)
      PyErr_Format(PyExc_TypeError, "compat_analyze() argument 'scope' must be a sequence of str or None, not %U",
                   type_name.get());
    return std::nullopt;
  }
  Py_ssize_t count = PySequence_Size(scope);
  if (count < 0) return std::nullopt;
  for (Py_ssize_t i = 0; i < count; ++i) {
    PyRef item(PySequence_GetItem(scope, i));
    if (!item) return std::nullopt;
    if (!PyUnicode_Check(item.get())) {
      PyRef type_name(PyType_GetName(Py_TYPE(item.get())));
      if (type_name)
        PyErr_Format(PyExc_TypeError, "compat_analyze() argument 'scope' items must be str, not %U",
                     type_name.get());
      return std::nullopt;
    }
    std::optional<std::string> token = str_bytes(item.get());
    if (!token) return std::nullopt;
    tokens.push_back(std::move(*token));
  }
  return tokens;
}

// ValueError naming every rejected token, each as the caller wrote it.
PyObject* scope_error(const std::vector<std::string>& rejected) {
  std::string message = "invalid scope token(s): ";
  for (std::size_t i = 0; i < rejected.size(); ++i) message += (i > 0 ? ", " : "") + rejected[i];
  PyRef text(PyUnicode_DecodeUTF8(message.data(), static_cast<Py_ssize_t>(message.size()), "surrogatepass"));
  if (text) PyErr_SetObject(PyExc_ValueError, text.get());
  return nullptr;
}

// A bound "str or None" query name, passed on as written.
bool query_name(PyObject* name, std::optional<std::string>& out) {
  if (!name) return true;
  out = str_bytes(name);
  return out.has_value();
}

}  // namespace

PyObject* compat_analyze(PyObject*, PyObject* args, PyObject* kwargs) {
  static const char* const kKeywords[] = {"source", "target", "scope", nullptr};
  PyObject* source = nullptr;
  PyObject* target = nullptr;
  PyObject* scope = nullptr;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "OO|O:compat_analyze", keyword_list(kKeywords), &source, &target,
                                   &scope))
    return nullptr;
  return guarded([&]() -> PyObject* {
    std::optional<std::vector<std::string>> tokens = scope_tokens(scope);
    if (!tokens) return nullptr;
    std::optional<TransformationContract> older = contract_from_py(source);
    if (!older) return nullptr;
    std::optional<TransformationContract> newer = contract_from_py(target);
    if (!newer) return nullptr;
    auto parsed = ComparisonScope::from_tokens(*tokens);
    if (auto* rejected = std::get_if<ComparisonScope::Rejected>(&parsed)) return scope_error(rejected->tokens);
    return json_text_to_py(
        compatibility::classify::analyze(*older, *newer, std::get<ComparisonScope>(parsed)).to_json());
  });
}

PyObject* evolve_analyze(PyObject*, PyObject* args, PyObject* kwargs) {
  static const char* const kKeywords[] = {"older", "newer", nullptr};
  PyObject* older = nullptr;
  PyObject* newer = nullptr;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "OO:evolve_analyze", keyword_list(kKeywords), &older, &newer))
    return nullptr;
  return guarded([&]() -> PyObject* {
    std::optional<TransformationContract> before = contract_from_py(older);
    if (!before) return nullptr;
    std::optional<TransformationContract> after = contract_from_py(newer);
    if (!after) return nullptr;
    return json_text_to_py(compatibility::evolution::analyze_evolution(*before, *after).to_json());
  });
}

PyObject* lineage_analyze(PyObject*, PyObject* args, PyObject* kwargs) {
  static const char* const kKeywords[] = {"contract", "impact", "dependency", nullptr};
  PyObject* contract = nullptr;
  PyObject* impact = nullptr;
  PyObject* dependency = nullptr;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|OO:lineage_analyze", keyword_list(kKeywords), &contract,
                                   &impact, &dependency))
    return nullptr;
  if (!bind_optional_str(impact, "lineage_analyze", "impact")) return nullptr;
  if (!bind_optional_str(dependency, "lineage_analyze", "dependency")) return nullptr;
  return guarded([&]() -> PyObject* {
    std::optional<TransformationContract> value = contract_from_py(contract);
    if (!value) return nullptr;
    std::optional<std::string> impact_name, dependency_name;
    if (!query_name(impact, impact_name) || !query_name(dependency, dependency_name)) return nullptr;
    return json_text_to_py(lineage::analysis::analyze_with_options(*value, impact_name, dependency_name).to_json());
  });
}

}  // namespace vorn::python
