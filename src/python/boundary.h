#pragma once
// Where C++ meets Python: no C++ exception may unwind into the interpreter.
// Calls keep the interpreter lock for their whole run.

#include "python/py_ref.h"

#include <exception>
#include <new>

namespace vorn::python {

// Runs the body of a Python-facing function, turning any escaping C++
// exception into a Python error. The body returns a new reference, or
// nullptr with a Python error set.
template <class Body>
PyObject* guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return PyErr_NoMemory();
  } catch (const std::exception& e) {
    PyErr_Format(PyExc_RuntimeError, "internal error: %s", e.what());
  } catch (...) {
    PyErr_SetString(PyExc_RuntimeError, "internal error");
  }
  return nullptr;
}

}  // namespace vorn::python
