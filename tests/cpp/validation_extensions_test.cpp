// Undeclared keys: the contract's own, checked against the registry's
// extension entries, then those of its inputs and outputs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/builtin.h"
#include "validation/extensions.h"
#include "validation/io_extensions.h"
#include "validation_test_support.h"

namespace vorn::validation {
namespace {

using model::registry::ExtensionCompatibility;
using model::registry::RegistryCategory;
using validation_test::error;
using validation_test::Expected;
using validation_test::json_of;

Expected unknown_key(const std::string& key, const std::string& remediation) {
  return error("vorn:unknown-field", "structure", "unknown top-level field '" + key + "'", key, remediation);
}
Expected typo(const std::string& key) {
  return unknown_key(key, "Check for typos in standard field names such as inputs or outputs");
}
Expected reserved(const std::string& key) {
  return error("vorn:invalid-extension", "structure", "extension key '" + key + "' must use a vendor namespace",
               key, "Use vendor:fieldName for contract-level extensions; vorn: is reserved");
}
Expected unsupported(const std::string& key) {
  return error("vorn:unsupported-extension", "extension", "unsupported mandatory extension '" + key + "'", key,
               "Use a supported extension or remove the mandatory requirement");
}

struct Entry {
  const char* id;
  RegistryCategory category;
  std::optional<ExtensionCompatibility> compatibility;
  bool supported;
};

struct ExtensionCase {
  const char* name;
  std::string body;
  std::vector<Entry> registry;
  std::vector<Expected> expected;
};

class ContractExtensions : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(ContractExtensions, ReportExactly) {
  model::registry::RegistryDocument registry;
  for (const Entry& e : GetParam().registry) {
    auto entry = registry::builtin::entry(e.id, "Entry", e.category, "");
    entry.compatibility = e.compatibility;
    entry.supported = e.supported;
    registry.entries.insert({e.id, entry});
  }
  ValidationContext ctx;
  extensions::validate_extensions(ctx, validation_test::contract_of(validation_test::kHeader + GetParam().body),
                                  registry);
  EXPECT_EQ(json_of(ctx.diagnostics), json_of(GetParam().expected));
}

constexpr auto kMandatory = ExtensionCompatibility::Mandatory;
constexpr auto kNamespace = RegistryCategory::ExtensionNamespace;

INSTANTIATE_TEST_SUITE_P(
    Stage6, ContractExtensions,
    ::testing::Values(
        ExtensionCase{"keys_in_document_order",
                      "input: [a]\noutput: []\nextensions: {vorn:a: 1}\n\":x\": 1\n\"x:\": 1\nx: 1\nvorn:x: 1\n"
                      "https:x: 1\nvendor:x: 1\n",
                      {},
                      {unknown_key("input", "Did you mean 'inputs'?"), unknown_key("output", "Did you mean 'outputs'?"),
                       error("vorn:invalid-extension", "structure",
                             "vendor keys must be flattened at the contract level, not nested under 'extensions'",
                             "extensions", "Use vendor:fieldName at the top level instead of an extensions wrapper"),
                       typo(":x"), typo("x:"), typo("x"), reserved("vorn:x"), reserved("https:x")}},
        ExtensionCase{"singular_key_without_a_list", "input: x\nextensions: 5\n", {}, {typo("input")}},
        ExtensionCase{"mandatory_unsupported_entries",
                      "vendor:x: 1\nvendor:y: 1\nother:a: 1\nthird:a: 1\nacme:z: 1\nacme:w: 1\n",
                      {{"vendor", kNamespace, kMandatory, false},
                       {"vendor:y", RegistryCategory::SemanticAction, std::nullopt, false},
                       {"other", kNamespace, kMandatory, true},
                       {"third", kNamespace, ExtensionCompatibility::Optional, false},
                       {"acme:z", RegistryCategory::Capability, kMandatory, false},
                       {"acme", RegistryCategory::Capability, kMandatory, false}},
                      {unsupported("vendor:x"), unsupported("acme:z")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InterfaceExtensions, ReportEachInterfaceInOrder) {
  std::string body =
      "inputs:\n  - {id: in, vendor:flag: 1, flag: 1, vorn:flag: 1, description: d, postconditions: [], "
      "extensions: {a: 1}}\n  - {id: in2, extensions: 3}\noutputs: [{id: out, preconditions: [], extensions: {}}]\n";
  auto misplaced = [](const std::string& path, const std::string& key, const std::string& under) {
    return error("vorn:invalid-interface", "structure", "'" + key + "' must be declared under " + under,
                 path + "." + key, "Move this field to " + under);
  };
  auto unnamespaced = [](const std::string& key) {
    return error("vorn:invalid-extension", "structure", "extension key '" + key + "' must use a vendor namespace",
                 "inputs.in." + key, "Use vendor:fieldName for input and output extensions");
  };
  auto nested = [](const std::string& path) {
    return error("vorn:invalid-extension", "structure",
                 "vendor keys must be flattened on " + path + ", not nested under 'extensions'",
                 path + ".extensions", "Use vendor:fieldName directly on the input or output object");
  };
  ValidationContext ctx;
  interfaces::validate_io_extensions(ctx, validation_test::contract_of(validation_test::kHeader + body));
  EXPECT_EQ(json_of(ctx.diagnostics),
            json_of({unnamespaced("flag"), unnamespaced("vorn:flag"),
                     misplaced("inputs.in", "description", "metadata.description"),
                     misplaced("inputs.in", "postconditions", "postconditions (outputs only)"), nested("inputs.in"),
                     misplaced("outputs.out", "preconditions", "preconditions (inputs only)"),
                     nested("outputs.out")}));
}

}  // namespace
}  // namespace vorn::validation
