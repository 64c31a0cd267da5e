#pragma once
// The registry a call with a `registry_path` argument works with: the
// default registry in place, or a copy with the named file merged over it.

#include "python/py_ref.h"

#include <optional>
#include <string>

#include "python/arguments.h"
#include "python/convert.h"
#include "registry/default_registry.h"
#include "registry/operations.h"

namespace vorn::python {

// Runs `body` with the chosen registry; a path that names no file, or a file
// that does not load, raises instead.
template <class Body>
PyObject* with_registry(PyObject* registry_path, Body&& body) {
  std::optional<std::string> path;
  if (!registry_file(registry_path, path)) return nullptr;
  // Every operation only reads the registry, so the shared one serves as it is.
  if (!path) return body(registry::default_registry());
  auto merged = registry::load_merged(*path);
  if (!merged) return registry_error(merged.diagnostics());
  return body(merged.value());
}

}  // namespace vorn::python
