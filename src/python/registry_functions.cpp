// The registry from Python: the default registry, optionally merged with a
// registry file, and registry files on their own.

#include "python/arguments.h"
#include "python/boundary.h"
#include "python/convert.h"
#include "python/functions.h"

#include "registry/load.h"
#include "registry/operations.h"
#include "support/json_writer.h"

namespace vorn::python {
namespace {

using model::registry::RegistryEntry;

PyObject* entries_to_py(const std::vector<RegistryEntry>& entries) {
  JsonWriter w;
  w.begin_array();
  for (const RegistryEntry& entry : entries) entry.serialize(w);
  w.end_array();
  return json_text_to_py(w.str());
}

PyObject* entry_to_py(const std::optional<RegistryEntry>& entry) {
  if (!entry) Py_RETURN_NONE;
  return json_text_to_py(entry->to_json());
}

}  // namespace

PyObject* registry_list(PyObject*, PyObject* args, PyObject* kwargs) {
  static const char* const kKeywords[] = {"registry_path", nullptr};
  PyObject* registry_path = nullptr;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "|O:registry_list", keyword_list(kKeywords), &registry_path))
    return nullptr;
  if (!bind_optional_str(registry_path, "registry_list", "registry_path")) return nullptr;
  return guarded([&]() -> PyObject* {
    std::optional<std::string> path;
    if (!registry_file(registry_path, path)) return nullptr;
    auto entries = registry::list(path);
    if (!entries) return registry_error(entries.diagnostics());
    return entries_to_py(entries.value());
  });
}

PyObject* registry_resolve(PyObject*, PyObject* args, PyObject* kwargs) {
  static const char* const kKeywords[] = {"id", "registry_path", nullptr};
  PyObject* id = nullptr;
  PyObject* registry_path = nullptr;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|O:registry_resolve", keyword_list(kKeywords), &id,
                                   &registry_path))
    return nullptr;
  if (!require_str(id, "registry_resolve", "id")) return nullptr;
  if (!bind_optional_str(registry_path, "registry_resolve", "registry_path")) return nullptr;
  return guarded([&]() -> PyObject* {
    std::optional<std::string> key = str_bytes(id);
    if (!key) return nullptr;
    std::optional<std::string> path;
    if (!registry_file(registry_path, path)) return nullptr;
    auto entry = registry::resolve_with_path(*key, path);
    if (!entry) return registry_error(entry.diagnostics());
    return entry_to_py(entry.value());
  });
}

PyObject* registry_load(PyObject*, PyObject* args, PyObject* kwargs) {
  static const char* const kKeywords[] = {"path", nullptr};
  PyObject* path = nullptr;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O:registry_load", keyword_list(kKeywords), &path)) return nullptr;
  if (!require_str(path, "registry_load", "path")) return nullptr;
  return guarded([&]() -> PyObject* {
    std::optional<std::string> fs_path;
    if (!registry_file(path, fs_path)) return nullptr;
    auto document = registry::load::load(*fs_path);
    if (!document) return registry_error(document.diagnostics());
    return json_text_to_py(document->to_json());
  });
}

}  // namespace vorn::python
