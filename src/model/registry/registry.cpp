#include "model/registry/registry.h"

#include "model/registry/record_map.h"
#include "parser/record_io.h"

namespace vorn::model::registry {

using parser::Enum;
using parser::Flag;
using parser::ListOmitEmpty;
using parser::OptEnum;
using parser::OptText;
using parser::Text;

namespace {

constexpr std::string_view kCategoryNames[] = {
    "semanticAction", "function", "rule",    "logicalType",
    "diagnostic",     "extensionNamespace", "profile", "capability"};
constexpr std::string_view kStatusNames[] = {"draft", "experimental", "standard", "deprecated", "obsolete"};
constexpr std::string_view kCompatibilityNames[] = {"mandatory", "optional"};

constexpr parser::EnumSpec kCategory{"enum RegistryCategory", kCategoryNames};
constexpr parser::EnumSpec kEntryStatus{"enum RegistryEntryStatus", kStatusNames};
constexpr parser::EnumSpec kPublicationStatus{"enum RegistryPublicationStatus", kStatusNames};
constexpr parser::EnumSpec kCompatibility{"enum ExtensionCompatibility", kCompatibilityNames};

using CategoryCodec = Enum<RegistryCategory, kCategory>;
using EntryStatusCodec = Enum<RegistryEntryStatus, kEntryStatus>;
using PublicationStatusCodec = Enum<RegistryPublicationStatus, kPublicationStatus>;
using CompatibilityCodec = OptEnum<ExtensionCompatibility, kCompatibility>;

bool is_standard_key(std::string_view key) { return key.starts_with("vorn:"); }

}  // namespace

std::string_view to_string(RegistryCategory c) { return kCategoryNames[static_cast<std::size_t>(c)]; }
std::string_view to_string(RegistryEntryStatus s) { return kStatusNames[static_cast<std::size_t>(s)]; }
std::string_view to_string(RegistryPublicationStatus s) { return kStatusNames[static_cast<std::size_t>(s)]; }
std::string_view to_string(ExtensionCompatibility c) {
  return kCompatibilityNames[static_cast<std::size_t>(c)];
}

const parser::RecordSpec<RegistryEntry>& RegistryEntry::spec() {
  using T = RegistryEntry;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "id", id, Text, false),
      VORN_FIELD(T, "name", name, Text, true),
      VORN_FIELD(T, "category", category, CategoryCodec, true),
      VORN_FIELD(T, "version", version, Text, true),
      VORN_FIELD(T, "status", status, EntryStatusCodec, true),
      VORN_FIELD(T, "compatibility", compatibility, CompatibilityCodec, false),
      VORN_FIELD(T, "definition", definition, OptText, false),
      VORN_FIELD(T, "references", references, ListOmitEmpty<Text>, false),
      VORN_FIELD(T, "supported", supported, Flag, false),
  };
  static const parser::RecordSpec<T> spec{"struct RegistryEntry", fields, nullptr,
                                          "struct RegistryEntry with 9 elements"};
  return spec;
}

void RegistryEntry::serialize(JsonWriter& w) const { parser::write_record(w, *this); }

std::string RegistryEntry::to_json() const {
  JsonWriter w;
  serialize(w);
  return w.take();
}

const parser::RecordSpec<RegistryDocument>& RegistryDocument::spec() {
  using T = RegistryDocument;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "id", id, Text, true),
      VORN_FIELD(T, "version", version, Text, true),
      VORN_FIELD(T, "governingSpecification", governing_specification, Text, true),
      VORN_FIELD(T, "publicationStatus", publication_status, PublicationStatusCodec, true),
      VORN_FIELD(T, "entries", entries, RecordMap<RegistryEntry>, false),
  };
  static const parser::RecordSpec<T> spec{"struct RegistryDocument", fields, nullptr,
                                          "struct RegistryDocument with 5 elements"};
  return spec;
}

bool RegistryDocument::operator==(const RegistryDocument& o) const {
  return id == o.id && version == o.version && governing_specification == o.governing_specification &&
         publication_status == o.publication_status && entries == o.entries;
}

Result<RegistryDocument> RegistryDocument::deserialize(const parser::EventStream& events) {
  if (events.events.empty()) return Error{"EOF while parsing a value"};
  parser::EventReader reader(events);
  RegistryDocument document;
  if (!parser::read_record(reader, document)) return Error{reader.error()};
  return document;
}

void RegistryDocument::serialize(JsonWriter& w) const { parser::write_record(w, *this); }

std::string RegistryDocument::to_json() const {
  JsonWriter w;
  serialize(w);
  return w.take();
}

void RegistryDocument::merge(const RegistryDocument& other) {
  for (const auto& [key, entry] : other.entries) {
    // Standard identifiers cannot be redefined by a later document.
    if (is_standard_key(key) && entries.contains(key)) continue;
    entries.insert_or_assign(key, entry);
  }
}

}  // namespace vorn::model::registry
