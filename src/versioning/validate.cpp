#include "versioning/validate.h"

#include "model/identifiers.h"
#include "support/unicode.h"
#include "validation/context.h"
#include "versioning/semver.h"

namespace vorn::versioning::validate {
namespace {

using diagnostics::Code;
using diagnostics::Diagnostic;
using diagnostics::DiagnosticCategory;
using validation::context::DiagnosticRow;
using validation::context::render;

enum Row { kInvalidVersion, kBlankPolicy, kUnnamespacedPolicy };

constexpr DiagnosticRow kRows[] = {
    {Code::InvalidVersion, DiagnosticCategory::Compatibility,
     "contract version '{}' is not a valid semver identifier", "version",
     "Use semver format such as 1.0.0 or 0.2.0"},
    {Code::InvalidVersion, DiagnosticCategory::Compatibility,
     "versioning.compatibility policy must be non-empty when declared", "versioning.compatibility", ""},
    {Code::InvalidVersion, DiagnosticCategory::Compatibility,
     "versioning.compatibility policy '{}' must be namespaced", "versioning.compatibility",
     "Use a vorn: or vendor: compatibility policy identifier"},
};

Diagnostic make(const DiagnosticRow& row, std::string_view quoted = {}) {
  Diagnostic d = Diagnostic::make(row.code, diagnostics::DiagnosticSeverity::Error,
                                  diagnostics::DiagnosticStage::Validation, row.category,
                                  render(row.message, quoted));
  d = std::move(d).with_object_ref(std::string(row.object_ref));
  if (!row.remediation.empty()) d = std::move(d).with_remediation(std::string(row.remediation));
  return d;
}

// The vendor rule refuses the reserved "vorn" namespace, so the standard
// prefix is admitted first, with or without a name after it.
bool is_namespaced_policy(std::string_view policy) {
  return policy.starts_with("vorn:") || model::identifiers::is_vendor_namespaced_identifier(policy);
}

}  // namespace

std::vector<Diagnostic> validate(const model::TransformationContract& contract) {
  std::vector<Diagnostic> out;
  if (is_blank(contract.version) || !parse_version(contract.version))
    out.push_back(make(kRows[kInvalidVersion], contract.version));
  if (contract.versioning && contract.versioning->compatibility) {
    const std::string& policy = *contract.versioning->compatibility;
    if (is_blank(policy))
      out.push_back(make(kRows[kBlankPolicy]));
    else if (!is_namespaced_policy(policy))
      out.push_back(make(kRows[kUnnamespacedPolicy], policy));
  }
  return out;
}

}  // namespace vorn::versioning::validate
