#pragma once
// Contract documents, as bytes or files, to contracts or parse diagnostics.

#include <optional>
#include <string>
#include <string_view>

#include "diagnostics/report.h"
#include "model/contract.h"
#include "parser/document_format.h"
#include "support/result.h"

namespace vorn::parser {

inline constexpr std::size_t kMaxDocumentSize = 16 * 1024 * 1024;

struct ParseResult {
  diagnostics::DiagnosticReport report;
  std::optional<model::TransformationContract> contract;

  // {"contract":...|null,"report":{"diagnostics":[...]}}
  std::string to_json() const;
};

// A failed result: one "vorn:parse-error" diagnostic carrying `message`.
ParseResult failure(std::string message);

ParseResult parse(std::string_view bytes, DocumentFormat format);

// Reads at most one byte more than the size limit, so that no file, however
// large (or endless, like /dev/zero), is held in memory whole.
Result<ParseResult> parse_file(const std::string& path);

namespace json {
ParseResult parse_json(std::string_view bytes);
// The contract of one JSON text, or the reading error (with position).
Result<model::TransformationContract> read_contract(std::string_view text);
}  // namespace json

namespace yaml {
ParseResult parse_yaml(std::string_view bytes);
}  // namespace yaml

}  // namespace vorn::parser
