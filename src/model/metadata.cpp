#include "model/metadata.h"

#include "parser/record_io.h"

namespace vorn::model {

using parser::ListOmitEmpty;
using parser::OptEnum;
using parser::OptFlag;
using parser::OptRecord;
using parser::OptText;
using parser::Text;

namespace {

constexpr std::string_view kClassificationNames[] = {"public", "internal", "confidential", "restricted"};
constexpr parser::EnumSpec kClassification{"enum ClassificationLevel", kClassificationNames};

using Classification = OptEnum<ClassificationLevel, kClassification>;

}  // namespace

std::string_view to_string(ClassificationLevel level) {
  return kClassificationNames[static_cast<std::size_t>(level)];
}

const parser::RecordSpec<IdentityMetadata>& IdentityMetadata::spec() {
  using T = IdentityMetadata;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "identifier", identifier, OptText, false),
      VORN_FIELD(T, "name", name, OptText, false),
      VORN_FIELD(T, "version", version, OptText, false),
  };
  static const parser::RecordSpec<T> spec{"struct IdentityMetadata", fields, nullptr,
                                          "struct IdentityMetadata with 3 elements"};
  return spec;
}

const parser::RecordSpec<DocumentationMetadata>& DocumentationMetadata::spec() {
  using T = DocumentationMetadata;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "summary", summary, OptText, false),
      VORN_FIELD(T, "description", description, OptText, false),
      VORN_FIELD(T, "examples", examples, ListOmitEmpty<Text>, false),
      VORN_FIELD(T, "references", references, ListOmitEmpty<Text>, false),
  };
  static const parser::RecordSpec<T> spec{"struct DocumentationMetadata", fields, nullptr,
                                          "struct DocumentationMetadata with 4 elements"};
  return spec;
}

const parser::RecordSpec<GovernanceMetadata>& GovernanceMetadata::spec() {
  using T = GovernanceMetadata;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "owner", owner, OptText, false),
      VORN_FIELD(T, "steward", steward, OptText, false),
      VORN_FIELD(T, "approvalStatus", approval_status, OptText, false),
      VORN_FIELD(T, "reviewDate", review_date, OptText, false),
      VORN_FIELD(T, "policyRefs", policy_refs, ListOmitEmpty<Text>, false),
  };
  static const parser::RecordSpec<T> spec{"struct GovernanceMetadata", fields, nullptr,
                                          "struct GovernanceMetadata with 5 elements"};
  return spec;
}

const parser::RecordSpec<ProvenanceMetadata>& ProvenanceMetadata::spec() {
  using T = ProvenanceMetadata;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "author", author, OptText, false),
      VORN_FIELD(T, "createdAt", created_at, OptText, false),
      VORN_FIELD(T, "modifiedAt", modified_at, OptText, false),
      VORN_FIELD(T, "originatingSystem", originating_system, OptText, false),
  };
  static const parser::RecordSpec<T> spec{"struct ProvenanceMetadata", fields, nullptr,
                                          "struct ProvenanceMetadata with 4 elements"};
  return spec;
}

const parser::RecordSpec<Metadata>& Metadata::spec() {
  using T = Metadata;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "description", description, OptText, false),
      VORN_FIELD(T, "tags", tags, ListOmitEmpty<Text>, false),
      VORN_FIELD(T, "identity", identity, OptRecord<IdentityMetadata>, false),
      VORN_FIELD(T, "documentation", documentation, OptRecord<DocumentationMetadata>, false),
      VORN_FIELD(T, "governance", governance, OptRecord<GovernanceMetadata>, false),
      VORN_FIELD(T, "provenance", provenance, OptRecord<ProvenanceMetadata>, false),
      VORN_FIELD(T, "classification", classification, Classification, false),
      VORN_FIELD(T, "deprecated", deprecated, OptFlag, false),
      VORN_FIELD(T, "replacement", replacement, OptText, false),
  };
  static const parser::RecordSpec<T> spec{"struct Metadata", fields, &Metadata::extensions};
  return spec;
}

bool Metadata::operator==(const Metadata& o) const {
  return description == o.description && tags == o.tags && identity == o.identity &&
         documentation == o.documentation && governance == o.governance &&
         provenance == o.provenance && classification == o.classification &&
         deprecated == o.deprecated && replacement == o.replacement &&
         json_map_equal(extensions, o.extensions);
}

}  // namespace vorn::model
