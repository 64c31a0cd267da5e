// Registry files: decoding, the header and entry checks, reading files.
#include <gtest/gtest.h>

#include "temp_dir.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "registry/load.h"
#include "support/json_writer.h"

namespace vorn::registry::load {
namespace {

using model::registry::RegistryDocument;

// The diagnostics as one JSON array, or "ok" with the written document.
std::string outcome(const RegistryResult<RegistryDocument>& r) {
  if (r.ok()) return "ok " + r->to_json();
  JsonWriter w;
  w.begin_array();
  for (const auto& d : r.diagnostics()) d.serialize(w);
  w.end_array();
  return w.take();
}

// One "vorn:invalid-registry" check problem as written.
std::string check(const std::string& message, const std::string& ref, const std::string& remediation) {
  return R"({"id":"vorn:invalid-registry","severity":"error","stage":"validation","category":"structure",)"
         R"("message":")" + message + R"(","objectRef":")" + ref + R"(","remediation":")" + remediation + "\"}";
}
std::string parse_problem(const std::string& message, const std::string& remediation) {
  return R"([{"id":"vorn:invalid-registry","severity":"error","stage":"parse","category":"syntax",)"
         R"("message":")" + message + R"(","remediation":")" + remediation + "\"}]";
}

const std::string kH1 = check("registry id is required", "id", "Provide a stable registry identifier");
const std::string kH2 = check("registry version is required", "version", "Provide a registry version");
const std::string kH3 = check("governingSpecification is required", "governingSpecification",
                              "Provide the governing VORN specification version");
const std::string kE3 = check("registry entry id is required", "entries", "Provide a stable entry identifier");
std::string e1(const std::string& key, const std::string& id) {
  return check("entry key '" + key + "' does not match entry id '" + id + "'", "entries." + key,
               "Use the entry id as the map key");
}
std::string e2(const std::string& id) {
  return check("duplicate registry entry id '" + id + "'", "entries." + id,
               "Registry entry identifiers must be unique");
}
std::string e4(const std::string& id) {
  return check("extension namespace '" + id + "' must not include a colon", "entries." + id,
               "Use a bare namespace prefix such as 'vorn' or 'vendor'");
}
std::string e5(const std::string& id) {
  return check("registry entry id '" + id + "' must be a namespaced identifier", "entries." + id,
               "Use a namespaced identifier such as vorn:lowercase");
}
std::string e6(const std::string& id) {
  return check("registry entry '" + id + "' is missing a name", "entries." + id + ".name",
               "Provide a human-readable name");
}
std::string e7(const std::string& id) {
  return check("registry entry '" + id + "' is missing a version", "entries." + id + ".version",
               "Provide an entry version");
}
std::string list(std::initializer_list<std::string> items) {
  std::string out = "[";
  for (const auto& item : items) out += (out.size() > 1 ? "," : "") + item;
  return out + "]";
}

constexpr const char* kHeader = "id: r\nversion: '1'\ngoverningSpecification: g\npublicationStatus: draft\n";

// One YAML entry under `key`; `fields` are the lines after the common ones.
std::string entry(const std::string& key, const std::string& category = "semanticAction",
                  const std::string& fields = "    name: N\n    version: '1'\n") {
  return "  '" + key + "':\n    category: " + category + "\n    status: draft\n" + fields;
}
std::string with_entries(const std::string& entries) { return std::string(kHeader) + "entries:\n" + entries; }

struct Case {
  const char* name;
  std::string yaml;
  std::string expected;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class RegistryChecks : public ::testing::TestWithParam<Case> {};

TEST_P(RegistryChecks, ReportEveryProblemInOrder) {
  EXPECT_EQ(outcome(load_bytes(GetParam().yaml, false)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RegistryChecks,
    ::testing::Values(
        Case{"clean_header_no_entries", kHeader,
             R"(ok {"id":"r","version":"1","governingSpecification":"g","publicationStatus":"draft","entries":{}})"},
        Case{"blank_header_fields_in_order", "id: ' '\nversion: ''\ngoverningSpecification: \"\\t\"\npublicationStatus: draft\n",
             list({kH1, kH2, kH3})},
        Case{"blank_id_and_version_only", "id: ''\nversion: \"\\u3000\"\ngoverningSpecification: g\npublicationStatus: draft\n",
             list({kH1, kH2})},
        Case{"header_is_not_trimmed_when_not_blank", "id: ' r '\nversion: 1\ngoverningSpecification: g\npublicationStatus: draft\n",
             R"(ok {"id":" r ","version":"1","governingSpecification":"g","publicationStatus":"draft","entries":{}})"},
        Case{"key_id_mismatch_then_duplicate_from_filled_id", with_entries(entry("vendor:a", "rule", "    id: vendor:b\n    name: N\n    version: '1'\n") + entry("vendor:b")),
             list({e1("vendor:a", "vendor:b"), e2("vendor:b")})},
        Case{"bare_id_of_a_semantic_action", with_entries(entry("lowercase")), list({e5("lowercase")})},
        Case{"bare_namespace_passes", with_entries(entry("lowercase", "extensionNamespace")),
             R"(ok {"id":"r","version":"1","governingSpecification":"g","publicationStatus":"draft","entries":{"lowercase":)"
             R"({"id":"lowercase","name":"N","category":"extensionNamespace","version":"1","status":"draft","supported":true}}})"},
        Case{"namespace_with_a_colon", with_entries(entry("vendor:ns", "extensionNamespace") + entry("ns:", "extensionNamespace")),
             list({e4("vendor:ns"), e4("ns:")})},
        Case{"colon_first_or_last", with_entries(entry(":x", "function") + entry("x:", "rule") + entry("a:b:", "rule") + entry("vorn:lower", "function")),
             list({e5(":x"), e5("x:")})},
        Case{"blank_key_and_id_is_e3_alone", with_entries(entry(" ", "function", "    id: ''\n    name: ''\n    version: ''\n")),
             list({kE3})},
        Case{"blank_name_and_version", with_entries(entry("vendor:x", "function", "    name: ' '\n    version: \"\\u00a0\"\n")),
             list({e6("vendor:x"), e7("vendor:x")})},
        Case{"white_space_id_is_filled_from_key", with_entries(entry("vendor:x", "function", "    id: \"\\u2003\"\n    name: N\n    version: '1'\n")),
             R"(ok {"id":"r","version":"1","governingSpecification":"g","publicationStatus":"draft","entries":{"vendor:x":)"
             R"({"id":"vendor:x","name":"N","category":"function","version":"1","status":"draft","supported":true}}})"},
        Case{"duplicate_ids_by_id_field", with_entries(entry("vendor:a") + entry("vendor:b", "semanticAction", "    id: vendor:a\n    name: N\n    version: '1'\n")),
             list({e1("vendor:b", "vendor:a"), e2("vendor:a")})},
        Case{"each_blank_key_is_its_own_e3", with_entries(entry(" ", "function") + entry("  ", "function")),
             list({kE3, kE3})},
        Case{"one_entry_several_rows_then_header_first", "id: ''\nversion: '1'\ngoverningSpecification: g\npublicationStatus: draft\nentries:\n" + entry("k", "rule", "    id: bare\n    name: ''\n    version: ''\n"),
             list({kH1, e1("k", "bare"), e5("bare"), e6("bare"), e7("bare")})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegistryDecoding, FailuresAreOneParseDiagnostic) {
  EXPECT_EQ(outcome(load_bytes("", false)),
            parse_problem("invalid registry YAML: EOF while parsing a value", "Provide a valid registry document"));
  EXPECT_EQ(outcome(load_bytes("", true)),
            parse_problem("invalid registry JSON: syntax error while parsing value - unexpected end of input; "
                          "expected '[', '{', or a literal at line 1 column 1",
                          "Provide a valid registry document"));
  // Check rows never run after a decoding failure, even with a blank id.
  EXPECT_EQ(outcome(load_bytes("id: ''\nversion: ''\n", false)),
            parse_problem("invalid registry YAML: missing field `governingSpecification` at line 3 column 1",
                          "Provide a valid registry document"));
}

TEST(RegistryDecoding, HostileInputsNeverCrash) {
  std::string dup_keys = "id: r\nversion: '1'\ngoverningSpecification: g\npublicationStatus: draft\nentries:\n";
  for (int i = 0; i < 20000; ++i) dup_keys += "  v:k: {name: N, category: rule, version: '1', status: draft}\n";
  std::string dup_fields = "{\"id\":\"r\"";
  for (int i = 0; i < 20000; ++i) dup_fields += ",\"x\":1";
  dup_fields += "}";
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919) & 0xff));
  const std::pair<std::string, bool> inputs[] = {
      {"", false},
      {"", true},
      {binary, false},
      {binary, true},
      {std::string(10000, '['), true},
      {std::string(10000, '['), false},
      {[] {
         std::string s;
         for (int i = 0; i < 10000; ++i) s += "{\"a\":";
         return s;
       }(),
       true},
      {std::string(10 << 20, 'x'), false},
      {"{\"id\":\"" + std::string(10 << 20, 'y') + "\"}", true},
      {dup_fields, true},
  };
  for (const auto& [text, json] : inputs) {
    auto r = load_bytes(text, json);
    ASSERT_FALSE(r.ok()) << text.substr(0, 30);
    ASSERT_EQ(r.diagnostics().size(), 1u);
    EXPECT_EQ(r.diagnostics()[0].stage, diagnostics::DiagnosticStage::Parse);
  }
  auto many = load_bytes(dup_keys, false);
  ASSERT_TRUE(many.ok()) << outcome(many);
  EXPECT_EQ(many->entries.size(), 1u);
}

TEST(RegistryPaths, ExtensionJsonInAnyAsciiCase) {
  for (const char* path : {"a.json", "a.JSON", "dir/a.Json", "a.b.jSoN", "..json", "a.json/"})
    EXPECT_TRUE(is_json_path(path)) << path;
  for (const char* path : {"a.yaml", "a.yml", "a.txt", "a", ".json", "dir/.json", "a.json.yaml", "a.jsonl",
                           "a.", "dir.json/a", "a.\xc4\xb1son", ""})
    EXPECT_FALSE(is_json_path(path)) << path;
}

class RegistryFiles : public vorn::testing::TempDirTest {};

TEST_F(RegistryFiles, FormatFollowsTheExtension) {
  // Block YAML is no JSON, so only a YAML read of it succeeds.
  for (const char* name : {"r.yml", "r.yaml", "r.txt", "noext", ".json"})
    EXPECT_TRUE(load(write(name, kHeader)).ok()) << name;
  auto as_json = load(write("r.JSON", kHeader));
  ASSERT_FALSE(as_json.ok());
  EXPECT_EQ(as_json.diagnostics()[0].message.substr(0, 22), "invalid registry JSON:");
  EXPECT_TRUE(load(write("r2.Json", R"({"id":"r","version":"1","governingSpecification":"g","publicationStatus":"draft"})")).ok());
}

TEST_F(RegistryFiles, UnreadableFilesNameThePathAndTheSystemError) {
  std::string missing = (dir_ / "missing.json").string();
  EXPECT_EQ(outcome(load(missing)),
            parse_problem("failed to read registry '" + missing + "': No such file or directory",
                          "Provide a readable registry file path"));
  EXPECT_EQ(outcome(load(dir_.string())),
            parse_problem("failed to read registry '" + dir_.string() + "': Is a directory",
                          "Provide a readable registry file path"));
}

TEST_F(RegistryFiles, LargeFilesHaveNoSizeLimit) {
  std::string big = with_entries(entry("vendor:big", "function",
                                       "    name: N\n    version: '1'\n    definition: '" +
                                           std::string(12 << 20, 'd') + "'\n"));
  auto r = load(write("big.yaml", big));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->entries.at("vendor:big").definition->size(), std::size_t{12} << 20);
}

}  // namespace
}  // namespace vorn::registry::load
