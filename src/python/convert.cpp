#include "python/convert.h"

#include "python/arguments.h"

#include <algorithm>

#include "diagnostics/report.h"
#include "parser/parse.h"

namespace vorn::python {
namespace {

constexpr char kContentTypeError[] = "content must be str, bytes, or bytearray";

// Bytes kept from an int sequence: one past the document limit, so the
// parser still reports the size, while a sequence with endless (or
// fictitious) items cannot fill memory.
constexpr std::size_t kMaxKeptBytes = parser::kMaxDocumentSize + 1;

// How often a long sequence walk gives Ctrl-C a chance.
constexpr Py_ssize_t kSignalCheckInterval = 1 << 20;

std::optional<std::string> content_type_error() {
  PyErr_Clear();
  PyErr_SetString(PyExc_TypeError, kContentTypeError);
  return std::nullopt;
}

std::optional<std::string> str_to_bytes(PyObject* obj) {
  Py_ssize_t size = 0;
  const char* data = PyUnicode_AsUTF8AndSize(obj, &size);
  if (!data) return content_type_error();  // lone surrogates
  return std::string(data, static_cast<std::size_t>(size));
}

std::optional<std::string> bytes_to_bytes(PyObject* obj) {
  char* data = nullptr;
  Py_ssize_t size = 0;
  if (PyBytes_AsStringAndSize(obj, &data, &size) < 0) return content_type_error();
  return std::string(data, static_cast<std::size_t>(size));
}

std::optional<std::string> bytearray_to_bytes(PyObject* obj) {
  const char* data = PyByteArray_AsString(obj);
  Py_ssize_t size = PyByteArray_Size(obj);
  if (!data || size < 0) return content_type_error();
  return std::string(data, static_cast<std::size_t>(size));
}

// Every item is checked, even past the kept prefix, so whether a sequence is
// accepted does not depend on its length.
std::optional<std::string> int_sequence_to_bytes(PyObject* obj) {
  Py_ssize_t size = PySequence_Size(obj);
  if (size < 0) return content_type_error();
  std::string out;
  out.reserve(std::min(static_cast<std::size_t>(size), kMaxKeptBytes));
  for (Py_ssize_t i = 0; i < size; ++i) {
    if (i % kSignalCheckInterval == kSignalCheckInterval - 1 && PyErr_CheckSignals() < 0) return std::nullopt;
    PyRef item(PySequence_GetItem(obj, i));
    if (!item || !PyLong_Check(item.get())) return content_type_error();
    long value = PyLong_AsLong(item.get());  // -1 with an error on overflow
    if (value < 0 || value > 255) return content_type_error();
    if (out.size() < kMaxKeptBytes) out.push_back(static_cast<char>(value));
  }
  return out;
}

}  // namespace

std::optional<std::string> content_to_bytes(PyObject* obj) {
  if (obj == Py_None) {
    PyErr_SetString(PyExc_TypeError, "content must be str or bytes");
    return std::nullopt;
  }
  if (PyUnicode_Check(obj)) return str_to_bytes(obj);
  if (PyBytes_Check(obj)) return bytes_to_bytes(obj);
  if (PyByteArray_Check(obj)) return bytearray_to_bytes(obj);
  if (PySequence_Check(obj)) return int_sequence_to_bytes(obj);
  return content_type_error();
}

std::optional<parser::DocumentFormat> parse_format(PyObject* text) {
  // str.lower itself, so a subclass cannot hand back something else.
  PyRef lowered(PyObject_CallMethod(reinterpret_cast<PyObject*>(&PyUnicode_Type), "lower", "(O)", text));
  if (!lowered) return std::nullopt;
  if (PyUnicode_CompareWithASCIIString(lowered.get(), "yaml") == 0 ||
      PyUnicode_CompareWithASCIIString(lowered.get(), "yml") == 0)
    return parser::DocumentFormat::Yaml;
  if (PyUnicode_CompareWithASCIIString(lowered.get(), "json") == 0) return parser::DocumentFormat::Json;
  PyErr_Format(PyExc_ValueError, "unsupported format '%U'; use 'yaml' or 'json'", lowered.get());
  return std::nullopt;
}

void set_error(PyObject* type, std::string_view message) {
  PyRef text(PyUnicode_DecodeUTF8(message.data(), static_cast<Py_ssize_t>(message.size()), "replace"));
  if (text) PyErr_SetObject(type, text.get());
}

PyObject* json_text_to_py(const std::string& text) {
  PyRef json(PyImport_ImportModule("json"));
  if (!json) return nullptr;
  // A text taken from a str keeps its lone surrogates (see str_bytes), so a
  // query name comes back as it was given; any other stray byte is replaced.
  const auto size = static_cast<Py_ssize_t>(text.size());
  PyRef str(PyUnicode_DecodeUTF8(text.data(), size, "surrogatepass"));
  if (!str && PyErr_ExceptionMatches(PyExc_UnicodeDecodeError)) {
    PyErr_Clear();
    str.reset(PyUnicode_DecodeUTF8(text.data(), size, "replace"));
  }
  if (!str) return nullptr;
  return PyObject_CallMethod(json.get(), "loads", "(O)", str.get());
}

PyObject* diagnostics_to_py(std::vector<diagnostics::Diagnostic> diagnostics) {
  return json_text_to_py(diagnostics::DiagnosticReport{std::move(diagnostics)}.to_json());
}

PyObject* registry_error(const std::vector<diagnostics::Diagnostic>& diagnostics) {
  std::string joined;
  for (std::size_t i = 0; i < diagnostics.size(); ++i) {
    if (i > 0) joined += "; ";
    joined += diagnostics[i].message;
  }
  set_error(PyExc_ValueError, joined);
  return nullptr;
}

std::optional<DocumentArguments> document_arguments(PyObject* args, PyObject* kwargs, const char* function) {
  static const char* const kKeywords[] = {"content", "format", nullptr};
  PyObject* content = nullptr;
  PyObject* format = nullptr;
  std::string binding = std::string("O|O:") + function;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, binding.c_str(), keyword_list(kKeywords), &content, &format))
    return std::nullopt;
  if (format && !require_str(format, function, "format")) return std::nullopt;
  std::optional<std::string> bytes = content_to_bytes(content);
  if (!bytes) return std::nullopt;
  std::optional<parser::DocumentFormat> document_format =
      format ? parse_format(format) : std::optional(parser::DocumentFormat::Yaml);
  if (!document_format) return std::nullopt;
  return DocumentArguments{std::move(*bytes), *document_format};
}

}  // namespace vorn::python
