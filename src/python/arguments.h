#pragma once
// Binding of Python call arguments: keyword lists and type checks that name
// the argument, as Python's own functions do.

#include "python/py_ref.h"

#include <cstddef>

namespace vorn::python {

// A keyword list as PyArg_ParseTupleAndKeywords wants it (char**, never
// written through).
template <std::size_t N>
char** keyword_list(const char* const (&names)[N]) {
  return const_cast<char**>(names);
}

// True if `value` is a str; otherwise raises TypeError
// "{function}() argument '{argument}' must be str, not {type}".
bool require_str(PyObject* value, const char* function, const char* argument);

}  // namespace vorn::python
