// The shipped registry, the process-wide default, and the operations that
// merge a registry file into a private copy of it.
#include <gtest/gtest.h>

#include "temp_dir.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "diagnostics/codes.h"
#include "registry/builtin.h"
#include "registry/default_registry.h"
#include "registry/embedded.h"
#include "registry/operations.h"

namespace vorn::registry {
namespace {

using model::registry::RegistryCategory;
using model::registry::RegistryDocument;

const char* const kStdlibKeys[] = {
    "vorn:lowercase", "vorn:capitalize",  "vorn:uppercase", "vorn:trim",       "vorn:hash_sha256",
    "vorn:normalize_whitespace", "vorn:lower", "vorn:upper", "vorn:concat", "vorn:substr",
    "vorn:replace",   "vorn:coalesce",    "vorn:length",    "vorn:to_string",  "vorn:to_integer",
    "vorn:to_decimal", "vorn:not_null",   "vorn:min_length", "vorn:max_length", "vorn:regex_match",
    "vorn:range"};

std::vector<std::string> keys_of(const RegistryDocument& d) {
  std::vector<std::string> keys;
  for (const auto& [key, e] : d.entries) keys.push_back(key);
  return keys;
}

TEST(BuiltinRegistry, DerivedNamesMatchThePublishedCodeTable) {
  for (const auto& info : diagnostics::all_codes())
    EXPECT_EQ(builtin::diagnostic_entry_name(info.id), info.title) << info.id;
}

TEST(BuiltinRegistry, NameDerivationEdgeCases) {
  const std::pair<const char*, const char*> cases[] = {
      {"vorn:non-deterministic-semantics", "Non Deterministic Semantics"},
      {"parse-error", "Parse Error"},           // no prefix to remove
      {"vorn:--a---b-", "A B"},                 // empty pieces dropped
      {"vorn:\xc3\x9f" "ad-\xc3\xa9t\xc3\xa9", "SSad \xc3\x89t\xc3\xa9"},  // full upper-casing of one character
      {"vorn:a\xe2\x80\x83" "b", "A B"},        // Unicode White_Space splits too
      {"vorn:mIXed", "MIXed"},
      {"vorn:", ""},
      {"x:vorn:y", "X:vorn:y"},
  };
  for (const auto& [code, name] : cases) EXPECT_EQ(builtin::diagnostic_entry_name(code), name) << code;
}

TEST(BuiltinRegistry, SixtyEntriesInPublishedOrder) {
  const RegistryDocument& r = default_registry();
  std::vector<std::string> expected = {"vorn"};
  for (const auto& info : diagnostics::all_codes()) expected.emplace_back(info.id);
  expected.insert(expected.end(), std::begin(kStdlibKeys), std::end(kStdlibKeys));
  ASSERT_EQ(expected.size(), 60u);
  EXPECT_EQ(keys_of(r), expected);
  EXPECT_EQ(expected[1], "vorn:parse-error");
  EXPECT_EQ(expected[38], "vorn:optimization-skipped");
  EXPECT_EQ(expected[39], "vorn:lowercase");
  for (const auto& [key, e] : r.entries) EXPECT_EQ(e.id, key);
  const std::string header =
      R"({"id":"vorn:builtin","version":"0.8.0","governingSpecification":"1.0.0-draft",)"
      R"("publicationStatus":"standard","entries":{"vorn":{)";
  EXPECT_EQ(r.to_json().substr(0, header.size()), header);
}

TEST(BuiltinRegistry, EntriesMadeInCode) {
  const auto& e = default_registry().entries;
  EXPECT_EQ(e.at("vorn").to_json(),
            R"({"id":"vorn","name":"VORN Namespace","category":"extensionNamespace","version":"1.0.0",)"
            R"("status":"standard","compatibility":"optional",)"
            R"("definition":"Reserved namespace for standardized VORN identifiers","supported":true})");
  EXPECT_EQ(e.at("vorn:parse-error").to_json(),
            R"({"id":"vorn:parse-error","name":"Parse Error","category":"diagnostic","version":"1.0.0",)"
            R"("status":"standard","definition":"vorn:parse-error","supported":true})");
  EXPECT_EQ(e.at("vorn:non-deterministic-semantics").name, "Non Deterministic Semantics");
}

TEST(BuiltinRegistry, EmbeddedDefinitionsAreOneLineOfCompactJson) {
  const auto& e = default_registry().entries;
  EXPECT_EQ(e.at("vorn:lower").definition,
            "{\"kind\":\"function\",\"minArgs\":1,\"maxArgs\":1,\"argTypes\":[\"string\"],"
            "\"returnType\":\"string\",\"returnNullable\":true,\"deterministic\":true}\n");
  EXPECT_EQ(e.at("vorn:concat").definition,
            "{\"kind\":\"function\",\"minArgs\":2,\"maxArgs\":null,\"argTypes\":[\"string\"],"
            "\"returnType\":\"string\",\"returnNullable\":false,\"deterministic\":true}\n");
  EXPECT_EQ(e.at("vorn:not_null").definition,
            "{\"kind\":\"rule\",\"phases\":[\"precondition\",\"execution\",\"postcondition\"],"
            "\"targetNullableAllowed\":false}\n");
  EXPECT_EQ(e.at("vorn:range").definition,
            "{\"kind\":\"rule\",\"phases\":[\"precondition\",\"execution\",\"postcondition\"],"
            "\"targetType\":\"integer\",\"targetNullableAllowed\":true,\"parameters\":["
            "{\"name\":\"min\",\"type\":\"integer\",\"optional\":true},"
            "{\"name\":\"max\",\"type\":\"integer\",\"optional\":true}]}\n");
  EXPECT_EQ(e.at("vorn:hash_sha256").name, "Hash SHA-256");
  const char* const kinds[] = {"semanticAction", "function", "rule"};
  for (const char* key : kStdlibKeys) {
    const auto& entry = e.at(key);
    std::string def = entry.definition.value_or("");
    ASSERT_EQ(def.find('\n'), def.size() - 1) << key;
    EXPECT_EQ(def.find(' '), std::string::npos) << key;
    auto json = nlohmann::json::parse(def, nullptr, false);
    ASSERT_TRUE(json.is_object()) << key;
    EXPECT_EQ(json["kind"], kinds[static_cast<int>(entry.category)]) << key;
    EXPECT_EQ(entry.version, "1.0.0");
    EXPECT_EQ(entry.status, model::registry::RegistryEntryStatus::Standard);
    EXPECT_FALSE(entry.compatibility);
    EXPECT_TRUE(entry.references.empty());
    EXPECT_TRUE(entry.supported);
    if (entry.category == RegistryCategory::Function) EXPECT_TRUE(json["deterministic"].get<bool>()) << key;
  }
}

TEST(BuiltinRegistry, EachBuildIsFreshAndEqualToTheDefault) {
  auto a = builtin::builtin_registry();
  ASSERT_TRUE(a.ok()) << a.error();
  EXPECT_TRUE(a.value() == default_registry());
  a->entries.clear();
  auto b = builtin::builtin_registry();
  ASSERT_TRUE(b.ok());
  EXPECT_EQ(b->entries.size(), 60u);
}

TEST(BuiltinRegistry, BrokenEmbeddedDocumentNamesEveryProblem) {
  RegistryDocument r;
  auto merged = builtin::merge_builtin_doc(
      r, "id: ''\nversion: ''\ngoverningSpecification: g\npublicationStatus: draft\n", "builtin/x.yaml");
  ASSERT_FALSE(merged.ok());
  EXPECT_EQ(merged.error(),
            "invalid embedded registry doc 'builtin/x.yaml': vorn:invalid-registry: registry id is required; "
            "vorn:invalid-registry: registry version is required");
  auto undecodable = builtin::merge_builtin_doc(r, "", "builtin/y.yaml");
  EXPECT_EQ(undecodable.error(),
            "invalid embedded registry doc 'builtin/y.yaml': vorn:invalid-registry: "
            "invalid registry YAML: EOF while parsing a value");
  EXPECT_TRUE(r.entries.empty());
  EXPECT_FALSE(embedded::find("builtin/absent.yaml"));
  EXPECT_TRUE(embedded::find("builtin/rules.yaml"));
}

TEST(DefaultRegistry, ConcurrentFirstReadersShareOneValue) {
  std::vector<const RegistryDocument*> seen(8);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < seen.size(); ++i) threads.emplace_back([&seen, i] { seen[i] = &default_registry(); });
  for (auto& t : threads) t.join();
  for (const auto* p : seen) EXPECT_EQ(p, &default_registry());
}

class RegistryOperations : public vorn::testing::TempDirTest {
 protected:
  // Tries to redefine a standard function, adds a vendor one, and replaces
  // the namespace entry, whose key "vorn" lacks the protected "vorn:" prefix.
  std::string vendor_file() {
    return write("vendor.json",
                 R"({"id":"vendor:reg","version":"9","governingSpecification":"x","publicationStatus":"draft",)"
                 R"("entries":{"vorn:lower":{"name":"Mine","category":"function","version":"2","status":"draft",)"
                 R"("definition":"{}"},"vendor:fn":{"name":"Fn","category":"function","version":"1",)"
                 R"("status":"experimental"},"vorn":{"name":"Mine","category":"extensionNamespace",)"
                 R"("version":"2","status":"draft"}}})");
  }
};

TEST_F(RegistryOperations, MergedFileCannotRedefineStandardKeys) {
  auto merged = load_merged(vendor_file());
  ASSERT_TRUE(merged.ok());
  const RegistryDocument& r = merged.value();
  EXPECT_EQ(r.id, "vorn:builtin");
  EXPECT_EQ(r.version, "0.8.0");
  EXPECT_EQ(r.entries.size(), 61u);
  EXPECT_EQ(r.entries.at("vorn:lower"), default_registry().entries.at("vorn:lower"));
  EXPECT_EQ(r.entries.at("vorn").name, "Mine");  // no "vorn:" prefix: replaced in place
  EXPECT_EQ(keys_of(r).front(), "vorn");
  EXPECT_EQ(keys_of(r)[59], "vorn:range");
  EXPECT_EQ(keys_of(r)[60], "vendor:fn");
  EXPECT_EQ(r.entries.at("vendor:fn").id, "vendor:fn");
  // The shared value never changes.
  EXPECT_EQ(default_registry().entries.size(), 60u);
  EXPECT_EQ(default_registry().entries.at("vorn").name, "VORN Namespace");
}

TEST_F(RegistryOperations, ListAndResolve) {
  auto all = list(std::nullopt);
  ASSERT_TRUE(all.ok());
  EXPECT_EQ(all->size(), 60u);
  EXPECT_EQ(all->back().id, "vorn:range");
  auto merged = list(vendor_file());
  ASSERT_TRUE(merged.ok());
  EXPECT_EQ(merged->size(), 61u);
  EXPECT_EQ(merged->back().id, "vendor:fn");

  EXPECT_EQ(resolve_with_path("vorn:lower", std::nullopt).value(), default_registry().entries.at("vorn:lower"));
  EXPECT_FALSE(resolve_with_path("vorn:lower ", std::nullopt).value());
  EXPECT_FALSE(resolve_with_path("VORN:lower", std::nullopt).value());
  EXPECT_FALSE(resolve_with_path("vendor:fn", std::nullopt).value());
  auto found = resolve_with_path("vendor:fn", vendor_file());
  ASSERT_TRUE(found.ok() && found.value());
  EXPECT_EQ(found.value()->name, "Fn");
}

TEST_F(RegistryOperations, LoadProblemsPassThroughUnchanged) {
  std::string bad = write("bad.yaml", "id: ''\nversion: '1'\ngoverningSpecification: g\npublicationStatus: draft\n");
  std::string missing = (dir_ / "none.yaml").string();
  for (const std::string& path : {bad, missing}) {
    auto direct = load::load(path);
    ASSERT_FALSE(direct.ok());
    std::string expected = direct.diagnostics().at(0).message;
    auto merged = load_merged(path);
    auto listed = list(path);
    auto resolved = resolve_with_path("vorn", path);
    ASSERT_FALSE(merged.ok() || listed.ok() || resolved.ok()) << path;
    EXPECT_EQ(merged.diagnostics().size(), 1u);
    EXPECT_EQ(merged.diagnostics()[0].message, expected);
    EXPECT_EQ(listed.diagnostics()[0].message, expected);
    EXPECT_EQ(resolved.diagnostics()[0].message, expected);
  }
  EXPECT_EQ(default_registry().entries.size(), 60u);
}

}  // namespace
}  // namespace vorn::registry
