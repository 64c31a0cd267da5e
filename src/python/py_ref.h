#pragma once
// The one place the extension pulls in Python.h (which must come before any
// standard header), plus an owned reference that is released on every path.

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <utility>

namespace vorn::python {

class PyRef {
 public:
  PyRef() = default;
  // Takes over a new reference; nullptr is allowed and means "failed".
  explicit PyRef(PyObject* owned) : object_(owned) {}
  PyRef(const PyRef&) = delete;
  PyRef& operator=(const PyRef&) = delete;
  PyRef(PyRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  PyRef& operator=(PyRef&& other) noexcept {
    reset(std::exchange(other.object_, nullptr));
    return *this;
  }
  ~PyRef() { Py_XDECREF(object_); }

  PyObject* get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

  // Hands the reference to the caller (e.g. as a function's return value).
  PyObject* release() { return std::exchange(object_, nullptr); }

  void reset(PyObject* owned = nullptr) {
    PyObject* old = std::exchange(object_, owned);
    Py_XDECREF(old);
  }

 private:
  PyObject* object_ = nullptr;
};

}  // namespace vorn::python
