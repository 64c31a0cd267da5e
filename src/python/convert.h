#pragma once
// Conversions between Python objects and the core's values. A function that
// fails leaves a Python exception set and returns an empty value (nullopt or
// nullptr); callers just propagate.

#include "python/py_ref.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "model/contract.h"
#include "parser/document_format.h"
#include "plan/model/plan.h"
#include "support/result.h"

namespace vorn::python {

// Document text from str (UTF-8), bytes, bytearray or any sequence of ints
// in 0..255. Of a sequence only one byte past the document size limit is
// kept (all items are still checked): enough for the parser to refuse it.
std::optional<std::string> content_to_bytes(PyObject* obj);

// "yaml"/"yml"/"json" in any case.
std::optional<parser::DocumentFormat> parse_format(PyObject* text);

// The (content, format="yaml") arguments of the document functions, bound
// and converted; a content error is reported before a format error.
struct DocumentArguments {
  std::string bytes;
  parser::DocumentFormat format;
};
std::optional<DocumentArguments> document_arguments(PyObject* args, PyObject* kwargs, const char* function);

// A record handed in as Python data (a dict from json.loads of an earlier
// result, usually) goes through JSON text into the core's reader, so that
// Python and documents are read by the same rules.
struct RecordKind {
  std::string_view noun;  // "contract", "plan": used in every message
  bool hint_camel_case;   // suggest camelCase keys on unknown snake_case ones
};

// json.dumps(obj, allow_nan=False), with non-finite floats reported in the
// record's own words.
std::optional<std::string> record_json_text(PyObject* obj, RecordKind kind);

// Raises ValueError "invalid {noun}: {message}" (plus the camelCase hint).
void set_invalid_record(RecordKind kind, const std::string& message);

template <class T>
std::optional<T> record_from_py(PyObject* obj, RecordKind kind, Result<T> (*read)(std::string_view)) {
  std::optional<std::string> text = record_json_text(obj, kind);
  if (!text) return std::nullopt;
  Result<T> value = read(*text);
  if (!value) {
    set_invalid_record(kind, value.error());
    return std::nullopt;
  }
  return std::move(value).value();
}

std::optional<model::TransformationContract> contract_from_py(PyObject* obj);
std::optional<plan::model::TransformationPlan> plan_from_py(PyObject* obj);

// Raises `type` with a core message, decoding it as UTF-8 with "replace" so
// that stray bytes (from a file name, say) never hide the error itself.
void set_error(PyObject* type, std::string_view message);

// json.loads of the core's JSON text: the form every result takes in Python.
PyObject* json_text_to_py(const std::string& text);

// {"diagnostics": [...]}: the report form of every validation result.
PyObject* diagnostics_to_py(std::vector<diagnostics::Diagnostic> diagnostics);

// Raises ValueError with the diagnostics' messages joined by "; ".
PyObject* registry_error(const std::vector<diagnostics::Diagnostic>& diagnostics);

}  // namespace vorn::python
