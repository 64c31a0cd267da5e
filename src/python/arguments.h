#pragma once
// Binding of Python call arguments: keyword lists and type checks that name
// the argument, as Python's own functions do.

#include "python/py_ref.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

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

// True if `value` is a bool; otherwise raises TypeError
// "{function}() argument '{argument}' must be bool, not {type}".
bool require_bool(PyObject* value, const char* function, const char* argument);

// For a "str or None" argument: None (like an omitted argument) leaves
// `value` nullptr; any other non-str raises as require_str does.
bool bind_optional_str(PyObject*& value, const char* function, const char* argument);

// A str as its UTF-8 bytes, for byte-wise comparison with the core's texts.
// A lone surrogate is kept (encoded as such, so it matches no valid UTF-8
// text) rather than turned into an encoding error.
std::optional<std::string> str_bytes(PyObject* str);

// A str path in the file system's encoding (undecodable names come back
// through surrogateescape). A NUL byte would make the OS open the shorter
// name before it, so it raises ValueError "{failure}: embedded null byte",
// with `failure` the template filled with the path.
std::optional<std::string> filesystem_path(PyObject* path, std::string_view failure);

// The registry file of a bound `registry_path` (nullptr: none). False, with
// a Python error set, when the path cannot name a file.
bool registry_file(PyObject* registry_path, std::optional<std::string>& out);

}  // namespace vorn::python
