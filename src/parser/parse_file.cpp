#include <fmt/format.h>

#include "parser/parse.h"
#include "support/file_reader.h"

namespace vorn::parser {

Result<ParseResult> parse_file(const std::string& path) {
  auto bytes = read_file_prefix(path, kMaxDocumentSize + 1);
  if (!bytes) return Error{fmt::format("failed to read {}: {}", path, bytes.error())};
  std::string_view ext = path_extension(path);
  DocumentFormat format;
  if (ext == "yaml" || ext == "yml")
    format = DocumentFormat::Yaml;
  else if (ext == "json")
    format = DocumentFormat::Json;
  else
    return Error{fmt::format("unsupported file extension for {}; use .yaml, .yml, or .json", path)};
  return parse(bytes.value(), format);
}

}  // namespace vorn::parser
