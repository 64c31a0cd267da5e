// Registry documents: reading through both front ends, writing, merging.
#include <gtest/gtest.h>

#include <string>

#include "model/registry/registry.h"
#include "parser/json_events.h"
#include "parser/yaml_events.h"

namespace vorn::model::registry {
namespace {

enum class Format { Yaml, Json };

Result<RegistryDocument> read(Format format, const std::string& text) {
  auto events = format == Format::Json ? parser::json::read_events(text) : parser::yaml::read_events(text);
  if (!events) return Error{"events: " + events.error()};
  return RegistryDocument::deserialize(events.value());
}

// The written document, or "error: <message>".
std::string outcome(Format format, const std::string& text) {
  auto doc = read(format, text);
  return doc ? doc->to_json() : "error: " + doc.error();
}

constexpr const char* kHeaderYaml =
    "id: r\nversion: '1'\ngoverningSpecification: 1.0.0-draft\npublicationStatus: draft\n";
constexpr const char* kHeaderJson =
    R"("id":"r","version":"1","governingSpecification":"1.0.0-draft","publicationStatus":"draft")";

std::string yaml_entries(const std::string& body) { return std::string(kHeaderYaml) + "entries:\n" + body; }
std::string json_entries(const std::string& body) {
  return std::string("{") + kHeaderJson + R"(,"entries":{)" + body + "}}";
}
std::string written(const std::string& entries) {
  return std::string("{") + kHeaderJson + R"(,"entries":{)" + entries + "}}";
}

constexpr const char* kMinimalYaml = "    name: N\n    category: function\n    version: '1'\n    status: draft\n";
constexpr const char* kMinimalJson = R"("name":"N","category":"function","version":"1","status":"draft")";
constexpr const char* kMinimalWritten =
    R"("name":"N","category":"function","version":"1","status":"draft","supported":true)";

struct Case {
  const char* name;
  Format format;
  std::string text;
  std::string expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class RegistryReading : public ::testing::TestWithParam<Case> {};

TEST_P(RegistryReading, ReadsOrFailsExactly) {
  const Case& c = GetParam();
  EXPECT_EQ(outcome(c.format, c.text), c.expected);
}

constexpr auto Y = Format::Yaml;
constexpr auto J = Format::Json;

INSTANTIATE_TEST_SUITE_P(
    Shapes, RegistryReading,
    ::testing::Values(
        Case{"no_entries_key", Y, kHeaderYaml, written("")},
        Case{"yaml_empty_entries", Y, yaml_entries(""), written("")},
        Case{"json_null_entries", J, std::string("{") + kHeaderJson + R"(,"entries":null})",
             "error: invalid type: null, expected a map at line 1 column 105"},
        Case{"defaults_of_an_entry", Y, yaml_entries("  a:b:\n" + std::string(kMinimalYaml)),
             written(std::string(R"("a:b":{"id":"",)") + kMinimalWritten + "}")},
        Case{"all_fields_written_in_order", J,
             json_entries(R"("k":{"supported":false,"references":["x","y"],"definition":"{\"kind\":\"rule\"}",)"
                          R"("compatibility":"mandatory","id":"k",)" +
                          std::string(kMinimalJson) + "}"),
             written(R"("k":{"id":"k","name":"N","category":"function","version":"1","status":"draft",)"
                     R"("compatibility":"mandatory","definition":"{\"kind\":\"rule\"}",)"
                     R"("references":["x","y"],"supported":false})")},
        Case{"yaml_null_compatibility_and_definition_are_absent", Y,
             yaml_entries("  k:\n" + std::string(kMinimalYaml) + "    compatibility: ~\n    definition: null\n"),
             written(std::string(R"("k":{"id":"",)") + kMinimalWritten + "}")},
        Case{"json_null_compatibility_is_absent", J,
             json_entries(std::string(R"("k":{"compatibility":null,)") + kMinimalJson + "}"),
             written(std::string(R"("k":{"id":"",)") + kMinimalWritten + "}")},
        Case{"yaml_literal_definition_keeps_its_line_feed", Y,
             yaml_entries("  k:\n" + std::string(kMinimalYaml) + "    definition: |\n      {\"a\":1}\n"),
             written(std::string(R"("k":{"id":"","name":"N","category":"function","version":"1",)") +
                     R"("status":"draft","definition":"{\"a\":1}\n","supported":true})")},
        Case{"yaml_mapping_definition_is_wrong_shape", Y,
             yaml_entries("  k:\n" + std::string(kMinimalYaml) + "    definition:\n      kind: rule\n"),
             "error: invalid type: map, expected a string at line 12 column 7"},
        Case{"json_object_definition_is_wrong_shape", J,
             json_entries(std::string(R"("k":{"definition":{"kind":"rule"},)") + kMinimalJson + "}"),
             "error: invalid type: map, expected a string at line 1 column 121"},
        Case{"category_is_case_sensitive", Y,
             yaml_entries("  k:\n    name: N\n    category: Function\n"),
             "error: unknown variant `Function`, expected one of `semanticAction`, `function`, `rule`, "
             "`logicalType`, `diagnostic`, `extensionNamespace`, `profile`, `capability` at line 8 column 15"},
        Case{"unknown_status", J, json_entries(R"("k":{"name":"N","category":"rule","version":"1","status":"final"})"),
             "error: unknown variant `final`, expected one of `draft`, `experimental`, `standard`, "
             "`deprecated`, `obsolete` at line 1 column 166"},
        Case{"unknown_compatibility", Y, yaml_entries("  k:\n" + std::string(kMinimalYaml) + "    compatibility: yes\n"),
             "error: unknown variant `yes`, expected `mandatory` or `optional` at line 11 column 20"},
        Case{"unknown_publication_status", Y,
             "id: r\nversion: '1'\ngoverningSpecification: g\npublicationStatus: Standard\n",
             "error: unknown variant `Standard`, expected one of `draft`, `experimental`, `standard`, "
             "`deprecated`, `obsolete` at line 4 column 20"},
        Case{"json_enum_as_unit_object", J,
             std::string(R"({"id":"r","version":"1","governingSpecification":"1.0.0-draft",)") +
                 R"("publicationStatus":{"draft":null},"entries":{"k":{"name":"N","category":{"function":null},)"
                 R"("version":"1","status":"draft"}}})",
             written(std::string(R"("k":{"id":"",)") + kMinimalWritten + "}")},
        Case{"missing_required_entry_key_in_order", Y, yaml_entries("  k:\n    version: '1'\n"),
             "error: missing field `name` at line 8 column 1"},
        Case{"missing_header_key_in_order", Y, "id: r\nversion: '1'\npublicationStatus: draft\n",
             "error: missing field `governingSpecification` at line 4 column 1"},
        Case{"duplicate_entry_field", Y, yaml_entries("  k:\n" + std::string(kMinimalYaml) + "    name: M\n"),
             "error: duplicate field `name` at line 11 column 5"},
        Case{"duplicate_header_field", J, std::string("{") + kHeaderJson + R"(,"id":"s"})",
             "error: duplicate field `id` at line 1 column 95"},
        Case{"undeclared_keys_are_ignored", Y,
             "x: [1, {a: b}]\n" + yaml_entries("  k:\n" + std::string(kMinimalYaml) + "    extra: {a: 1}\n"),
             written(std::string(R"("k":{"id":"",)") + kMinimalWritten + "}")},
        Case{"repeated_entry_key_keeps_first_position_and_last_value", Y,
             yaml_entries("  b:\n" + std::string(kMinimalYaml) + "  a:\n" + kMinimalYaml +
                          "  b:\n    id: second\n" + kMinimalYaml),
             written(std::string(R"("b":{"id":"second",)") + kMinimalWritten + R"(},"a":{"id":"",)" +
                     kMinimalWritten + "}")},
        Case{"yaml_scalar_keys_are_texts", Y, yaml_entries("  1.0:\n" + std::string(kMinimalYaml)),
             written(std::string(R"("1.0":{"id":"",)") + kMinimalWritten + "}")},
        Case{"supported_null_is_wrong_shape", J,
             json_entries(std::string(R"("k":{"supported":null,)") + kMinimalJson + "}"),
             "error: invalid type: null, expected a boolean at line 1 column 123"},
        Case{"json_entry_as_array", J, json_entries(R"("k":["k","N","rule","1","standard",null,"d"])"),
             written(R"("k":{"id":"k","name":"N","category":"rule","version":"1","status":"standard",)"
                     R"("definition":"d","supported":true})")},
        Case{"json_short_entry_array", J, json_entries(R"("k":["k","N"])"),
             "error: invalid length 2, expected struct RegistryEntry with 9 elements at line 1 column 115"},
        Case{"json_long_entry_array", J,
             json_entries(R"("k":["k","N","rule","1","standard",null,null,[],true,1])"),
             "error: trailing characters at line 1 column 156"},
        Case{"json_document_as_array", J, R"(["r","1","g","standard"])",
             R"({"id":"r","version":"1","governingSpecification":"g","publicationStatus":"standard","entries":{}})"},
        Case{"json_short_document_array", J, R"(["r","1"])",
             "error: invalid length 2, expected struct RegistryDocument with 5 elements at line 1 column 9"},
        Case{"yaml_sequence_for_document", Y, "- r\n- '1'\n",
             "error: invalid type: sequence, expected struct RegistryDocument at line 1 column 1"},
        Case{"scalar_for_entry", Y, yaml_entries("  k: 5\n"),
             "error: invalid type: integer `5`, expected struct RegistryEntry at line 6 column 6"},
        Case{"yaml_empty_entry_is_a_record_without_keys", Y, yaml_entries("  k:\n"),
             "error: missing field `name` at line 6 column 5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegistryEnums, EveryValueIsWrittenAsItsName) {
  const char* categories[] = {"semanticAction", "function",           "rule",    "logicalType",
                              "diagnostic",     "extensionNamespace", "profile", "capability"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(to_string(static_cast<RegistryCategory>(i)), categories[i]);
  const char* statuses[] = {"draft", "experimental", "standard", "deprecated", "obsolete"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(to_string(static_cast<RegistryEntryStatus>(i)), statuses[i]);
    EXPECT_EQ(to_string(static_cast<RegistryPublicationStatus>(i)), statuses[i]);
  }
  EXPECT_EQ(to_string(ExtensionCompatibility::Mandatory), "mandatory");
  EXPECT_EQ(to_string(ExtensionCompatibility::Optional), "optional");
}

TEST(RegistryWriting, TextsAreEscaped) {
  RegistryEntry e;
  e.id = "v:\"q\"";
  e.name = "tab\there \\ é";
  e.version = "1";
  e.definition = "{\"kind\":\"function\"}\n";
  EXPECT_EQ(e.to_json(),
            R"({"id":"v:\"q\"","name":"tab\there \\ é","category":"semanticAction","version":"1",)"
            R"("status":"draft","definition":"{\"kind\":\"function\"}\n","supported":true})");
}

RegistryEntry named(const std::string& id, const std::string& definition) {
  RegistryEntry e;
  e.id = id;
  e.name = id;
  e.version = "1.0.0";
  e.definition = definition;
  return e;
}

RegistryDocument document(const std::string& id, std::initializer_list<RegistryEntry> entries) {
  RegistryDocument d;
  d.id = id;
  d.version = id + "-version";
  d.governing_specification = "g";
  for (const RegistryEntry& e : entries) d.entries.insert_or_assign(e.id, e);
  return d;
}

std::string keys_and_definitions(const RegistryDocument& d) {
  std::string out;
  for (const auto& [key, e] : d.entries) out += key + "=" + e.definition.value_or("-") + " ";
  return out;
}

TEST(RegistryMerge, StandardKeysAreNotRedefinedOthersReplaceInPlace) {
  RegistryDocument target = document("t", {named("vorn:lower", "std"), named("vendor:a", "a1")});
  target.merge(document("o", {named("vorn:lower", "changed"), named("vendor:lower", "v1"),
                              named("vendor:a", "a2"), named("vorn:new", "n")}));
  EXPECT_EQ(keys_and_definitions(target), "vorn:lower=std vendor:a=a2 vendor:lower=v1 vorn:new=n ");
  target.merge(document("o2", {named("vendor:lower", "v2")}));
  EXPECT_EQ(keys_and_definitions(target), "vorn:lower=std vendor:a=a2 vendor:lower=v2 vorn:new=n ");
  EXPECT_EQ(target.id, "t");
  EXPECT_EQ(target.version, "t-version");
}

TEST(RegistryMerge, KeysNotEntryIdsDecide) {
  // A standard prefix on the entry's id does not protect a key without it.
  RegistryEntry odd = named("vorn:lower", "x");
  RegistryDocument other = document("o", {});
  other.entries.insert_or_assign("lower", odd);
  RegistryDocument target = document("t", {named("vorn:lower", "std")});
  target.merge(other);
  EXPECT_EQ(keys_and_definitions(target), "vorn:lower=std lower=x ");
}

TEST(RegistryClone, CopiesAreIndependent) {
  RegistryDocument original = document("t", {named("vendor:a", "a")});
  RegistryDocument copy = original.clone();
  copy.entries["vendor:a"].name = "changed";
  copy.entries.insert_or_assign("vendor:b", named("vendor:b", "b"));
  EXPECT_EQ(original.entries.size(), 1u);
  EXPECT_EQ(original.entries.at("vendor:a").name, "vendor:a");
  EXPECT_FALSE(original == copy);
  EXPECT_TRUE(original == original.clone());
}

}  // namespace
}  // namespace vorn::model::registry
