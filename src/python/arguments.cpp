#include "python/arguments.h"

#include <fmt/format.h>

#include "python/convert.h"

namespace vorn::python {

// PyArg's "U" names arguments by position ("argument 2") on the Pythons this
// module supports; callers passing keywords are better served by the name.
namespace {

bool wrong_type(PyObject* value, const char* function, const char* argument, const char* wanted) {
  if (value == Py_None) {
    PyErr_Format(PyExc_TypeError, "%s() argument '%s' must be %s, not None", function, argument, wanted);
    return false;
  }
  PyRef type_name(PyType_GetName(Py_TYPE(value)));
  if (!type_name) return false;
  PyErr_Format(PyExc_TypeError, "%s() argument '%s' must be %s, not %U", function, argument, wanted,
               type_name.get());
  return false;
}

}  // namespace

bool require_str(PyObject* value, const char* function, const char* argument) {
  return PyUnicode_Check(value) || wrong_type(value, function, argument, "str");
}

bool require_bool(PyObject* value, const char* function, const char* argument) {
  return PyBool_Check(value) || wrong_type(value, function, argument, "bool");
}

bool bind_optional_str(PyObject*& value, const char* function, const char* argument) {
  if (value == Py_None) value = nullptr;
  return !value || require_str(value, function, argument);
}

std::optional<std::string> str_bytes(PyObject* str) {
  PyRef encoded(PyUnicode_AsEncodedString(str, "utf-8", "surrogatepass"));
  if (!encoded) return std::nullopt;
  char* data = nullptr;
  Py_ssize_t size = 0;
  if (PyBytes_AsStringAndSize(encoded.get(), &data, &size) < 0) return std::nullopt;
  return std::string(data, static_cast<std::size_t>(size));
}

std::optional<std::string> filesystem_path(PyObject* path, std::string_view failure) {
  PyRef encoded(PyUnicode_EncodeFSDefault(path));
  if (!encoded) return std::nullopt;
  char* data = nullptr;
  Py_ssize_t size = 0;
  if (PyBytes_AsStringAndSize(encoded.get(), &data, &size) < 0) return std::nullopt;
  std::string result(data, static_cast<std::size_t>(size));
  if (result.find('\0') != std::string::npos) {
    set_error(PyExc_ValueError, fmt::format("{}: embedded null byte", fmt::format(fmt::runtime(failure), result)));
    return std::nullopt;
  }
  return result;
}

bool registry_file(PyObject* registry_path, std::optional<std::string>& out) {
  out.reset();
  if (!registry_path) return true;
  // Worded as the loader words a file it cannot read.
  out = filesystem_path(registry_path, "failed to read registry '{}'");
  return out.has_value();
}

}  // namespace vorn::python
