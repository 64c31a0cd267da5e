#pragma once
// Parsing and validation in one step, against the default registry.

#include "diagnostics/report.h"
#include "parser/parse.h"

namespace vorn::validation {

// The parse diagnostics, then (when a contract was read) the validation
// diagnostics of that contract.
diagnostics::DiagnosticReport validate_parse_result(parser::ParseResult result);

}  // namespace vorn::validation
