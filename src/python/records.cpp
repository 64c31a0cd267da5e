// Contracts and plans passed in from Python: Python data -> JSON
// text -> the core's JSON reader.

#include "python/convert.h"

#include <fmt/format.h>

#include "parser/parse.h"

namespace vorn::python {
namespace {

constexpr RecordKind kContract{"contract", true};
constexpr RecordKind kPlan{"plan", false};

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// str(obj) as UTF-8, or "" if that fails (the failure is cleared).
std::string utf8_str(PyObject* obj) {
  PyRef str(PyObject_Str(obj));
  Py_ssize_t size = 0;
  const char* data = str ? PyUnicode_AsUTF8AndSize(str.get(), &size) : nullptr;
  if (!data) {
    PyErr_Clear();
    return {};
  }
  return std::string(data, static_cast<std::size_t>(size));
}

std::string type_name(PyObject* type) {
  PyRef name(PyType_GetName(reinterpret_cast<PyTypeObject*>(type)));
  return name ? utf8_str(name.get()) : (PyErr_Clear(), std::string());
}

// Whether the pending error is json.dumps refusing NaN or Infinity. Only a
// ValueError qualifies: a TypeError about an unserialisable object whose
// class name happens to contain "NaN" is the caller's to see unchanged.
bool is_non_finite_float_error() {
  if (!PyErr_ExceptionMatches(PyExc_ValueError)) return false;
  PyObject* type = nullptr;
  PyObject* value = nullptr;
  PyObject* traceback = nullptr;
  PyErr_Fetch(&type, &value, &traceback);
  PyErr_NormalizeException(&type, &value, &traceback);
  std::string text = utf8_str(value ? value : Py_None) + " " + type_name(type);
  PyErr_Restore(type, value, traceback);
  return contains(text, "Out of range float values are not JSON compliant") || contains(text, "NaN") ||
         contains(text, "Infinity");
}

PyObject* call_json_dumps(PyObject* obj) {
  PyRef json(PyImport_ImportModule("json"));
  if (!json) return nullptr;
  PyRef dumps(PyObject_GetAttrString(json.get(), "dumps"));
  if (!dumps) return nullptr;
  PyRef args(PyTuple_Pack(1, obj));
  if (!args) return nullptr;
  PyRef kwargs(Py_BuildValue("{s:O}", "allow_nan", Py_False));
  if (!kwargs) return nullptr;
  return PyObject_Call(dumps.get(), args.get(), kwargs.get());
}

}  // namespace

std::optional<std::string> record_json_text(PyObject* obj, RecordKind kind) {
  if (obj == Py_None) {
    set_error(PyExc_TypeError, fmt::format("{} must be a dict, not None", kind.noun));
    return std::nullopt;
  }
  PyRef text(call_json_dumps(obj));
  if (!text) {
    if (is_non_finite_float_error()) {
      PyErr_Clear();
      set_error(PyExc_ValueError, fmt::format("{} contains non-finite float values (NaN or Infinity)", kind.noun));
    }
    return std::nullopt;
  }
  Py_ssize_t size = 0;
  const char* data = PyUnicode_AsUTF8AndSize(text.get(), &size);
  if (!data) return std::nullopt;
  return std::string(data, static_cast<std::size_t>(size));
}

void set_invalid_record(RecordKind kind, const std::string& message) {
  if (kind.hint_camel_case && contains(message, "unknown field") && contains(message, "_")) {
    set_error(PyExc_ValueError,
              fmt::format("invalid {}: {}. VORN contracts use camelCase keys (for example vornVersion, "
                          "semanticActions)",
                          kind.noun, message));
    return;
  }
  set_error(PyExc_ValueError, fmt::format("invalid {}: {}", kind.noun, message));
}

std::optional<model::TransformationContract> contract_from_py(PyObject* obj) {
  return record_from_py<model::TransformationContract>(obj, kContract, parser::json::read_contract);
}

std::optional<plan::model::TransformationPlan> plan_from_py(PyObject* obj) {
  return record_from_py<plan::model::TransformationPlan>(obj, kPlan, plan::model::TransformationPlan::from_json);
}

}  // namespace vorn::python
