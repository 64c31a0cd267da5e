#pragma once
// The registry document: the catalogue of standard identifiers that
// contracts are checked against, keyed by entry id in insertion order.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <tsl/ordered_map.h>

#include "parser/event.h"
#include "parser/record_spec.h"
#include "support/result.h"

namespace vorn {
class JsonWriter;
}

namespace vorn::model::registry {

enum class RegistryCategory : std::uint8_t {
  SemanticAction = 0,
  Function = 1,
  Rule = 2,
  LogicalType = 3,
  Diagnostic = 4,
  ExtensionNamespace = 5,
  Profile = 6,
  Capability = 7,
};

// An entry's lifecycle state.
enum class RegistryEntryStatus : std::uint8_t {
  Draft = 0,
  Experimental = 1,
  Standard = 2,
  Deprecated = 3,
  Obsolete = 4,
};

// A document's lifecycle state; same values as an entry's, distinct type.
enum class RegistryPublicationStatus : std::uint8_t {
  Draft = 0,
  Experimental = 1,
  Standard = 2,
  Deprecated = 3,
  Obsolete = 4,
};

enum class ExtensionCompatibility : std::uint8_t { Mandatory = 0, Optional = 1 };

std::string_view to_string(RegistryCategory category);
std::string_view to_string(RegistryEntryStatus status);
std::string_view to_string(RegistryPublicationStatus status);
std::string_view to_string(ExtensionCompatibility compatibility);

struct RegistryEntry {
  // Empty when the document gives none; loading fills it with the map key.
  std::string id;
  std::string name;
  RegistryCategory category = RegistryCategory::SemanticAction;
  std::string version;
  RegistryEntryStatus status = RegistryEntryStatus::Draft;
  std::optional<ExtensionCompatibility> compatibility;
  // Free text; a JSON object text for semantic actions, rules and functions.
  std::optional<std::string> definition;
  std::vector<std::string> references;
  bool supported = true;

  bool operator==(const RegistryEntry& other) const = default;
  static const parser::RecordSpec<RegistryEntry>& spec();

  RegistryEntry clone() const { return *this; }
  void serialize(JsonWriter& w) const;
  std::string to_json() const;
};

// Replacing the value of a key keeps its position.
using RegistryEntries = tsl::ordered_map<std::string, RegistryEntry>;

struct RegistryDocument {
  std::string id;
  std::string version;
  std::string governing_specification;
  RegistryPublicationStatus publication_status = RegistryPublicationStatus::Draft;
  RegistryEntries entries;

  bool operator==(const RegistryDocument& other) const;
  static const parser::RecordSpec<RegistryDocument>& spec();

  // Reads the one top-level value of a decoded document; nothing is checked
  // beyond the shape of the values.
  static Result<RegistryDocument> deserialize(const parser::EventStream& events);
  void serialize(JsonWriter& w) const;
  std::string to_json() const;

  // Takes the other document's entries: keys beginning with "vorn:" that are
  // already present are left alone; any other key replaces its entry in
  // place or is appended. The header is never changed.
  void merge(const RegistryDocument& other);

  // The document is a plain value; a copy owns all its entries.
  RegistryDocument clone() const { return *this; }
};

}  // namespace vorn::model::registry
