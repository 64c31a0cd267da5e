#include "python/arguments.h"

namespace vorn::python {

// PyArg's "U" names arguments by position ("argument 2") on the Pythons this
// module supports; callers passing keywords are better served by the name.
bool require_str(PyObject* value, const char* function, const char* argument) {
  if (PyUnicode_Check(value)) return true;
  if (value == Py_None) {
    PyErr_Format(PyExc_TypeError, "%s() argument '%s' must be str, not None", function, argument);
    return false;
  }
  PyRef type_name(PyType_GetName(Py_TYPE(value)));
  if (!type_name) return false;
  PyErr_Format(PyExc_TypeError, "%s() argument '%s' must be str, not %U", function, argument, type_name.get());
  return false;
}

}  // namespace vorn::python
