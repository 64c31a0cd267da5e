// Reading contract documents: from text or bytes, and from files.

#include "python/arguments.h"
#include "python/boundary.h"
#include "python/convert.h"
#include "python/functions.h"

#include "parser/parse.h"

namespace vorn::python {
namespace {

// The version of the contract format this build reads and writes.
constexpr char kSpecVersion[] = "1.0.0-draft";

}  // namespace

PyObject* spec_version(PyObject*, PyObject*) { return PyUnicode_FromString(kSpecVersion); }

PyObject* parse_document(PyObject*, PyObject* args, PyObject* kwargs) {
  return guarded([&]() -> PyObject* {
    std::optional<DocumentArguments> document = document_arguments(args, kwargs, "parse_document");
    if (!document) return nullptr;
    return json_text_to_py(parser::parse(document->bytes, document->format).to_json());
  });
}

PyObject* parse_path(PyObject*, PyObject* args, PyObject* kwargs) {
  static const char* const kKeywords[] = {"path", nullptr};
  PyObject* path = nullptr;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O:parse_path", keyword_list(kKeywords), &path)) return nullptr;
  if (!require_str(path, "parse_path", "path")) return nullptr;
  return guarded([&]() -> PyObject* {
    std::optional<std::string> fs_path = filesystem_path(path, "failed to read {}");
    if (!fs_path) return nullptr;
    Result<parser::ParseResult> parsed = parser::parse_file(*fs_path);
    if (!parsed) {
      set_error(PyExc_ValueError, parsed.error());
      return nullptr;
    }
    return json_text_to_py(parsed->to_json());
  });
}

}  // namespace vorn::python
