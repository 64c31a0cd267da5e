#pragma once
// The descriptive block that a contract, its interfaces and its objects may
// carry under `metadata`.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/json_value.h"
#include "parser/record_spec.h"
#include "support/optional_box.h"

namespace vorn::model {

enum class ClassificationLevel : std::uint8_t { Public, Internal, Confidential, Restricted };

std::string_view to_string(ClassificationLevel level);

struct IdentityMetadata {
  std::optional<std::string> identifier;
  std::optional<std::string> name;
  std::optional<std::string> version;

  bool operator==(const IdentityMetadata&) const = default;
  static const parser::RecordSpec<IdentityMetadata>& spec();
};

struct DocumentationMetadata {
  std::optional<std::string> summary;
  std::optional<std::string> description;
  std::vector<std::string> examples;
  std::vector<std::string> references;

  bool operator==(const DocumentationMetadata&) const = default;
  static const parser::RecordSpec<DocumentationMetadata>& spec();
};

struct GovernanceMetadata {
  std::optional<std::string> owner;
  std::optional<std::string> steward;
  std::optional<std::string> approval_status;
  std::optional<std::string> review_date;
  std::vector<std::string> policy_refs;

  bool operator==(const GovernanceMetadata&) const = default;
  static const parser::RecordSpec<GovernanceMetadata>& spec();
};

struct ProvenanceMetadata {
  std::optional<std::string> author;
  std::optional<std::string> created_at;
  std::optional<std::string> modified_at;
  std::optional<std::string> originating_system;

  bool operator==(const ProvenanceMetadata&) const = default;
  static const parser::RecordSpec<ProvenanceMetadata>& spec();
};

struct Metadata {
  std::optional<std::string> description;
  std::vector<std::string> tags;
  OptionalBox<IdentityMetadata> identity;
  OptionalBox<DocumentationMetadata> documentation;
  OptionalBox<GovernanceMetadata> governance;
  OptionalBox<ProvenanceMetadata> provenance;
  std::optional<ClassificationLevel> classification;
  std::optional<bool> deprecated;
  std::optional<std::string> replacement;
  JsonMap extensions;

  // Extension entries compare as JSON values (1 != 1.0), in any order.
  bool operator==(const Metadata& other) const;
  static const parser::RecordSpec<Metadata>& spec();
};

}  // namespace vorn::model
