#include "validation/document.h"

#include <algorithm>

#include <fmt/ranges.h>

#include "support/unicode.h"
#include "versioning/semver.h"

namespace vorn::validation::document {
namespace {

using context::DiagnosticRow;
using context::render;
using context::render_remediation;
using diagnostics::Code;
using diagnostics::DiagnosticCategory;

enum Row { kMissingVornVersion, kUnsupportedVornVersion, kMissingHeaderField };

constexpr DiagnosticRow kRows[] = {
    {Code::MissingRequiredField, DiagnosticCategory::Structure, "vornVersion is required", "vornVersion",
     "Set vornVersion to a supported VORN specification version"},
    {Code::UnsupportedVersion, DiagnosticCategory::Compatibility,
     "unsupported vornVersion '{}'; supported versions: {}", "vornVersion",
     "Use a supported VORN specification version"},
    {Code::MissingRequiredField, DiagnosticCategory::Structure, "{} is required", "{}",
     "Provide a non-empty {}"},
};

void report(ValidationContext& ctx, const DiagnosticRow& row, std::string message,
            std::optional<std::string> remediation, std::string_view ref_arg = {}) {
  ctx.error_with_stage(diagnostics::code_id(row.code), row.category, std::move(message),
                       render(row.object_ref, ref_arg), std::move(remediation),
                       diagnostics::DiagnosticStage::Validation);
}

// Exactly a listed version, or a strict parse of 1.0.0 itself.
bool is_supported(std::string_view text) {
  if (std::find(std::begin(kSupportedVersions), std::end(kSupportedVersions), text) !=
      std::end(kSupportedVersions))
    return true;
  auto v = versioning::parse_version(text);
  return v && v->major == 1 && v->minor == 0 && v->patch == 0 && v->pre_release.empty() && v->build.empty();
}

void check_vorn_version(ValidationContext& ctx, const std::string& text) {
  if (is_blank(text)) {
    const DiagnosticRow& row = kRows[kMissingVornVersion];
    report(ctx, row, render(row.message), render_remediation(row));
    return;
  }
  if (is_supported(text)) return;
  const DiagnosticRow& row = kRows[kUnsupportedVornVersion];
  report(ctx, row, render(row.message, text, fmt::join(kSupportedVersions, ", ")), render_remediation(row));
}

void check_present(ValidationContext& ctx, std::string_view key, const std::string& text) {
  if (!is_blank(text)) return;
  const DiagnosticRow& row = kRows[kMissingHeaderField];
  report(ctx, row, render(row.message, key), render_remediation(row, key), key);
}

}  // namespace

void validate_document(ValidationContext& ctx, const model::TransformationContract& contract) {
  check_vorn_version(ctx, contract.vorn_version);
  check_present(ctx, "id", contract.id);
  check_present(ctx, "name", contract.name);
  check_present(ctx, "version", contract.version);
}

}  // namespace vorn::validation::document
