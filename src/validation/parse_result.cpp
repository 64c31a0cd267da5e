#include "validation/parse_result.h"

#include <iterator>

#include "registry/default_registry.h"
#include "validation/driver.h"

namespace vorn::validation {

diagnostics::DiagnosticReport validate_parse_result(parser::ParseResult result) {
  diagnostics::DiagnosticReport report = std::move(result.report);
  if (!result.contract) return report;
  auto found = validate_with_registry(*result.contract, registry::default_registry());
  report.diagnostics.insert(report.diagnostics.end(), std::make_move_iterator(found.begin()),
                            std::make_move_iterator(found.end()));
  return report;
}

}  // namespace vorn::validation
