// Undeclared keys: the contract's own, checked against the registry's
// extension entries, then those of its inputs and outputs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "validation/extensions.h"
#include "validation/io_extensions.h"
#include "validation_test_support.h"

namespace vorn::validation {
namespace {

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

// Entries whose compatibility and support decide over vendor keys.
const model::registry::RegistryDocument& extension_registry() {
  static const auto registry = validation_test::registry_of(R"({
    "vendor": ["", "E", "extensionNamespace", "1.0.0", "standard", "mandatory", null, [], false],
    "vendor:y": ["", "E", "semanticAction", "1.0.0", "standard", null, null, [], false],
    "other": ["", "E", "extensionNamespace", "1.0.0", "standard", "mandatory", null, [], true],
    "third": ["", "E", "extensionNamespace", "1.0.0", "standard", "optional", null, [], false],
    "acme:z": ["", "E", "capability", "1.0.0", "standard", "mandatory", null, [], false]})");
  return registry;
}

class ContractExtensions : public ::testing::TestWithParam<validation_test::PassCase> {};

TEST_P(ContractExtensions, ReportExactly) {
  ValidationContext ctx;
  extensions::validate_extensions(ctx, validation_test::contract_of(validation_test::kHeader + GetParam().body),
                                  extension_registry());
  EXPECT_EQ(json_of(ctx.diagnostics), json_of(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Stage6, ContractExtensions,
    ::testing::Values(
        validation_test::PassCase{
            "keys_in_document_order",
            "input: [a]\noutput: []\nextensions: {vorn:a: 1}\n\":x\": 1\n\"x:\": 1\nx: 1\nvorn:x: 1\nhttps:x: 1\n"
            "free:x: 1\n",
            {unknown_key("input", "Did you mean 'inputs'?"), unknown_key("output", "Did you mean 'outputs'?"),
             error("vorn:invalid-extension", "structure",
                   "vendor keys must be flattened at the contract level, not nested under 'extensions'", "extensions",
                   "Use vendor:fieldName at the top level instead of an extensions wrapper"),
             typo(":x"), typo("x:"), typo("x"), reserved("vorn:x"), reserved("https:x")}},
        validation_test::PassCase{"singular_key_without_a_list", "input: x\nextensions: 5\n", {typo("input")}},
        validation_test::PassCase{"mandatory_unsupported_entries",
                                  "vendor:x: 1\nvendor:y: 1\nother:a: 1\nthird:a: 1\nacme:z: 1\nacme:w: 1\n",
                                  {unsupported("vendor:x"), unsupported("acme:z")}}),
    validation_test::case_name);

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
