#include "metadata/validate.h"

#include "model/identifiers.h"
#include "support/unicode.h"

namespace vorn::metadata::validate {
namespace {

using diagnostics::Code;
using diagnostics::DiagnosticCategory;
using validation::context::DiagnosticRow;
using validation::context::render;
using validation::context::render_remediation;

constexpr auto kStructure = DiagnosticCategory::Structure;
constexpr auto kReference = DiagnosticCategory::Reference;

enum Row {
  kBlankIdentifier,
  kConflictingIdentifier,
  kBlankName,
  kConflictingName,
  kBlankVersion,
  kConflictingVersion,
  kBlankOwner,
  kBlankSteward,
  kInvalidReviewDate,
  kBlankPolicyRef,
  kInvalidPolicyRef,
  kBlankReference,
  kInvalidReference,
  kInvalidProvenanceTime,
  kRestrictedWithoutOwner,
  kNestedExtensions,
  kUnnamespacedKey,
};

constexpr DiagnosticRow kRows[] = {
    {Code::InvalidMetadata, kStructure, "metadata identity identifier must not be empty",
     "{}.identity.identifier", ""},
    {Code::InvalidMetadata, kStructure, "metadata identity identifier '{}' conflicts with object id '{}'",
     "{}.identity.identifier", "Remove identity.identifier or align it with the object id"},
    {Code::InvalidMetadata, kStructure, "metadata identity name must not be empty", "{}.identity.name", ""},
    {Code::InvalidMetadata, kStructure, "metadata identity name '{}' conflicts with object name '{}'",
     "{}.identity.name", "Remove identity.name or align it with the object name"},
    {Code::InvalidMetadata, kStructure, "metadata identity version must not be empty", "{}.identity.version",
     ""},
    {Code::InvalidMetadata, kStructure, "metadata identity version '{}' conflicts with object version '{}'",
     "{}.identity.version", "Remove identity.version or align it with the object version"},
    {Code::InvalidMetadata, kStructure, "governance owner must not be empty when declared",
     "{}.governance.owner", ""},
    {Code::InvalidMetadata, kStructure, "governance steward must not be empty when declared",
     "{}.governance.steward", ""},
    {Code::InvalidMetadata, kStructure, "governance reviewDate '{}' is not a valid ISO-8601 timestamp",
     "{}.governance.reviewDate",
     "Use an ISO-8601 date or datetime such as 2026-01-15 or 2026-01-15T10:00:00Z"},
    {Code::InvalidMetadata, kReference, "governance policyRefs entry must not be empty",
     "{}.governance.policyRefs[{}]", ""},
    {Code::InvalidMetadata, kReference, "governance policyRef '{}' must be a URI or namespaced identifier",
     "{}.governance.policyRefs[{}]", "Use https://... or vendor:policy-id"},
    {Code::InvalidMetadata, kReference, "documentation references entry must not be empty",
     "{}.documentation.references[{}]", ""},
    {Code::InvalidMetadata, kReference, "documentation reference '{}' must be a URI or namespaced identifier",
     "{}.documentation.references[{}]", "Use https://... or vendor:reference-id"},
    {Code::InvalidMetadata, kStructure, "provenance {} '{}' is not a valid ISO-8601 timestamp",
     "{}.provenance.{}", "Use an ISO-8601 date or datetime such as 2026-01-15T10:00:00Z"},
    {Code::InvalidMetadata, kStructure,
     "restricted classification requires governance.owner or governance.steward", "{}",
     "Add governance.owner or governance.steward for restricted objects"},
    {Code::InvalidExtension, kStructure,
     "vendor metadata keys must be flattened, not nested under 'extensions'", "{}.extensions",
     "Use vendor:fieldName directly in the metadata block"},
    {Code::InvalidMetadata, kStructure, "custom metadata key '{}' must be namespaced", "{}.{}",
     "Use vendor:fieldName for custom metadata keys"},
};

void report(ValidationContext& ctx, Row id, std::string message, std::string object_ref) {
  const DiagnosticRow& row = kRows[id];
  ctx.error_with_stage(diagnostics::code_id(row.code), row.category, std::move(message),
                       std::move(object_ref), render_remediation(row),
                       diagnostics::DiagnosticStage::CanonicalObjectModel);
}

bool is_present_and_blank(const std::optional<std::string>& text) { return text && is_blank(*text); }
bool is_present_and_filled(const std::optional<std::string>& text) { return text && !is_blank(*text); }

// One identity field: blank, or (when an expected value is given) differing
// from it once trimmed.
void check_identity_field(ValidationContext& ctx, const std::optional<std::string>& value,
                          std::optional<std::string_view> expected, Row blank, Row conflict,
                          std::string_view prefix) {
  if (!value) return;
  std::string_view trimmed = trim_white_space(*value);
  if (trimmed.empty())
    report(ctx, blank, render(kRows[blank].message), render(kRows[blank].object_ref, prefix));
  else if (expected && trimmed != *expected)
    report(ctx, conflict, render(kRows[conflict].message, trimmed, *expected),
           render(kRows[conflict].object_ref, prefix));
}

void check_identity(ValidationContext& ctx, const model::IdentityMetadata& identity,
                    std::string_view expected_identifier, std::optional<std::string_view> expected_name,
                    std::optional<std::string_view> expected_version, std::string_view prefix) {
  check_identity_field(ctx, identity.identifier, expected_identifier, kBlankIdentifier,
                       kConflictingIdentifier, prefix);
  check_identity_field(ctx, identity.name, expected_name, kBlankName, kConflictingName, prefix);
  check_identity_field(ctx, identity.version, expected_version, kBlankVersion, kConflictingVersion, prefix);
}

// A URI with something after "https://" or "http://" that does not start
// with "/", or any text whose first ":" is neither first nor last.
bool is_reference(std::string_view text) {
  for (std::string_view scheme : {"https://", "http://"}) {
    if (!text.starts_with(scheme)) continue;
    std::string_view rest = text.substr(scheme.size());
    return !rest.empty() && rest[0] != '/';
  }
  std::size_t colon = text.find(':');
  return colon != std::string_view::npos && colon != 0 && colon + 1 != text.size();
}

void check_references(ValidationContext& ctx, const std::vector<std::string>& entries, Row blank,
                      Row invalid, std::string_view prefix) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string& entry = entries[i];
    if (is_blank(entry))
      report(ctx, blank, render(kRows[blank].message), render(kRows[blank].object_ref, prefix, i));
    else if (!is_reference(entry))
      report(ctx, invalid, render(kRows[invalid].message, entry),
             render(kRows[invalid].object_ref, prefix, i));
  }
}

void check_governance(ValidationContext& ctx, const model::GovernanceMetadata& governance,
                      std::string_view prefix) {
  if (is_present_and_blank(governance.owner))
    report(ctx, kBlankOwner, render(kRows[kBlankOwner].message),
           render(kRows[kBlankOwner].object_ref, prefix));
  if (is_present_and_blank(governance.steward))
    report(ctx, kBlankSteward, render(kRows[kBlankSteward].message),
           render(kRows[kBlankSteward].object_ref, prefix));
  if (governance.review_date && !is_iso8601_timestamp(*governance.review_date))
    report(ctx, kInvalidReviewDate, render(kRows[kInvalidReviewDate].message, *governance.review_date),
           render(kRows[kInvalidReviewDate].object_ref, prefix));
  check_references(ctx, governance.policy_refs, kBlankPolicyRef, kInvalidPolicyRef, prefix);
}

void check_timestamp(ValidationContext& ctx, const std::optional<std::string>& value, std::string_view key,
                     std::string_view prefix) {
  if (!value || is_iso8601_timestamp(*value)) return;
  const DiagnosticRow& row = kRows[kInvalidProvenanceTime];
  report(ctx, kInvalidProvenanceTime, render(row.message, key, *value), render(row.object_ref, prefix, key));
}

bool has_named_custodian(const OptionalBox<model::GovernanceMetadata>& governance) {
  return governance &&
         (is_present_and_filled(governance->owner) || is_present_and_filled(governance->steward));
}

// Custom keys belong flat in the block, under a vendor namespace.
void check_custom_keys(ValidationContext& ctx, const model::JsonMap& extensions, std::string_view prefix) {
  for (const auto& [key, value] : extensions) {
    if (key == "extensions") {
      if (value.is_object())
        report(ctx, kNestedExtensions, render(kRows[kNestedExtensions].message),
               render(kRows[kNestedExtensions].object_ref, prefix));
    } else if (!model::identifiers::is_vendor_namespaced_identifier(key)) {
      report(ctx, kUnnamespacedKey, render(kRows[kUnnamespacedKey].message, key),
             render(kRows[kUnnamespacedKey].object_ref, prefix, key));
    }
  }
}

template <class Object>
void check_collection(ValidationContext& ctx, const std::vector<Object>& objects, std::string_view key) {
  for (const Object& object : objects) validate_object_metadata(ctx, object.metadata, object.id, key);
}

}  // namespace

void validate_metadata_block(ValidationContext& ctx, const model::Metadata& metadata,
                             std::string_view expected_identifier,
                             std::optional<std::string_view> expected_name,
                             std::optional<std::string_view> expected_version, std::string_view prefix) {
  if (metadata.identity)
    check_identity(ctx, *metadata.identity, expected_identifier, expected_name, expected_version, prefix);
  if (metadata.governance) check_governance(ctx, *metadata.governance, prefix);
  if (metadata.documentation)
    check_references(ctx, metadata.documentation->references, kBlankReference, kInvalidReference, prefix);
  if (metadata.provenance) {
    check_timestamp(ctx, metadata.provenance->created_at, "createdAt", prefix);
    check_timestamp(ctx, metadata.provenance->modified_at, "modifiedAt", prefix);
  }
  if (metadata.classification == model::ClassificationLevel::Restricted &&
      !has_named_custodian(metadata.governance))
    report(ctx, kRestrictedWithoutOwner, render(kRows[kRestrictedWithoutOwner].message),
           render(kRows[kRestrictedWithoutOwner].object_ref, prefix));
  check_custom_keys(ctx, metadata.extensions, prefix);
}

void validate_object_metadata(ValidationContext& ctx, const OptionalBox<model::Metadata>& metadata,
                              std::string_view object_id, std::string_view collection_key) {
  if (!metadata) return;
  std::string prefix = fmt::format("{}.{}.metadata", collection_key, object_id);
  validate_metadata_block(ctx, *metadata, object_id, std::nullopt, std::nullopt, prefix);
}

void validate_metadata(ValidationContext& ctx, const model::TransformationContract& contract) {
  if (contract.metadata)
    validate_metadata_block(ctx, *contract.metadata, contract.id, contract.name, contract.version,
                            "metadata");
  check_collection(ctx, contract.inputs, "inputs");
  check_collection(ctx, contract.outputs, "outputs");
  check_collection(ctx, contract.semantic_actions, "semanticActions");
  check_collection(ctx, contract.expressions, "expressions");
  check_collection(ctx, contract.functions, "functions");
  check_collection(ctx, contract.rules, "rules");
}

}  // namespace vorn::metadata::validate
