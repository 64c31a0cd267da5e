// Stage 0 (document header, contract version, compatibility policy) and the
// order in which the driver runs its stages, including its own check that
// some input is required.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/default_registry.h"
#include "validation/context.h"
#include "validation/document.h"
#include "validation/driver.h"
#include "validation/parse_result.h"
#include "validation_test_support.h"
#include "versioning/validate.h"

namespace vorn::validation {
namespace {

using validation_test::contract_of;
using validation_test::Expected;
using validation_test::json_of;

constexpr const char* kValidBody =
    "inputs:\n"
    "  - id: raw\n"
    "    schema:\n"
    "      fields:\n"
    "        - {name: amount, type: integer, nullable: false}\n"
    "outputs:\n"
    "  - id: clean\n"
    "    schema:\n"
    "      fields:\n"
    "        - {name: total, type: integer, nullable: false}\n"
    "lineage:\n"
    "  mappings:\n"
    "    - output: clean\n"
    "      inputs: [raw]\n";

std::string header(const std::string& vorn_version, const std::string& id = "c", const std::string& name = "n",
                   const std::string& version = "1.0.0") {
  return "vornVersion: \"" + vorn_version + "\"\nid: \"" + id + "\"\nname: \"" + name + "\"\nversion: \"" +
         version + "\"\n";
}

Expected missing_vorn_version() {
  return {"vorn:missing-required-field", "validation", "structure", "vornVersion is required", "vornVersion",
          "Set vornVersion to a supported VORN specification version"};
}
Expected unsupported(const std::string& text) {
  return {"vorn:unsupported-version", "validation", "compatibility",
          "unsupported vornVersion '" + text + "'; supported versions: 1.0.0, 1.0.0-draft", "vornVersion",
          "Use a supported VORN specification version"};
}
Expected missing(const std::string& key) {
  return {"vorn:missing-required-field", "validation", "structure", key + " is required", key,
          "Provide a non-empty " + key};
}
Expected invalid_version(const std::string& text) {
  return {"vorn:invalid-version", "validation", "compatibility",
          "contract version '" + text + "' is not a valid semver identifier", "version",
          "Use semver format such as 1.0.0 or 0.2.0"};
}
Expected blank_policy() {
  return {"vorn:invalid-version", "validation", "compatibility",
          "versioning.compatibility policy must be non-empty when declared", "versioning.compatibility",
          std::nullopt};
}
Expected unnamespaced_policy(const std::string& text) {
  return {"vorn:invalid-version", "validation", "compatibility",
          "versioning.compatibility policy '" + text + "' must be namespaced", "versioning.compatibility",
          "Use a vorn: or vendor: compatibility policy identifier"};
}

std::string with_policy(const std::string& policy) {
  return header("1.0.0") + "versioning:\n  compatibility: \"" + policy + "\"\n";
}

struct HeaderCase {
  const char* name;
  std::string document;
  std::vector<Expected> expected;
};

// Both stage 0 passes, as the driver runs them.
std::vector<diagnostics::Diagnostic> stage_zero(const model::TransformationContract& contract) {
  ValidationContext ctx;
  document::validate_document(ctx, contract);
  for (auto& d : versioning::validate::validate(contract)) ctx.push(std::move(d));
  return std::move(ctx.diagnostics);
}

class HeaderChecks : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderChecks, ReportsExactly) {
  EXPECT_EQ(json_of(stage_zero(contract_of(GetParam().document))), json_of(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Stage0, HeaderChecks,
    ::testing::Values(
        HeaderCase{"released", header("1.0.0"), {}},
        HeaderCase{"draft", header("1.0.0-draft"), {}},
        HeaderCase{"draft_upper_case", header("1.0.0-DRAFT"), {unsupported("1.0.0-DRAFT")}},
        HeaderCase{"two_parts", header("1.0"), {unsupported("1.0")}},
        HeaderCase{"v_prefix", header("v1.0.0"), {unsupported("v1.0.0")}},
        HeaderCase{"other_major", header("2.0.0"), {unsupported("2.0.0")}},
        HeaderCase{"other_minor", header("1.1.0"), {unsupported("1.1.0")}},
        HeaderCase{"other_patch", header("1.0.1"), {unsupported("1.0.1")}},
        HeaderCase{"build_metadata", header("1.0.0+build"), {unsupported("1.0.0+build")}},
        HeaderCase{"leading_space", header(" 1.0.0"), {unsupported(" 1.0.0")}},
        HeaderCase{"only_spaces", header("   "), {missing_vorn_version()}},
        HeaderCase{"unicode_blank", header("\\u00a0\\u3000"), {missing_vorn_version()}},
        HeaderCase{"all_header_fields_blank",
                   header("", " ", "", ""),
                   {missing_vorn_version(), missing("id"), missing("name"), missing("version"),
                    invalid_version("")}},
        HeaderCase{"blank_version_is_quoted_as_written", header("1.0.0", "c", "n", " "),
                   {missing("version"), invalid_version(" ")}},
        HeaderCase{"full_semver", header("1.0.0", "c", "n", "1.2.3-rc.1+build.5"), {}},
        HeaderCase{"short_version", header("1.0.0", "c", "n", "1.2"), {invalid_version("1.2")}},
        HeaderCase{"leading_zero", header("1.0.0", "c", "n", "01.2.3"), {invalid_version("01.2.3")}},
        HeaderCase{"trailing_space", header("1.0.0", "c", "n", "1.2.3 "), {invalid_version("1.2.3 ")}},
        HeaderCase{"header_and_version_together", header("9", "c", "n", "x"),
                   {unsupported("9"), invalid_version("x")}},
        HeaderCase{"standard_policy", with_policy("vorn:backward"), {}},
        HeaderCase{"bare_standard_prefix", with_policy("vorn:"), {}},
        HeaderCase{"vendor_policy", with_policy("acme:strict"), {}},
        HeaderCase{"policy_without_colon", with_policy("strict"), {unnamespaced_policy("strict")}},
        HeaderCase{"policy_in_http_namespace", with_policy("http:strict"),
                   {unnamespaced_policy("http:strict")}},
        HeaderCase{"policy_starting_with_colon", with_policy(":strict"), {unnamespaced_policy(":strict")}},
        HeaderCase{"policy_ending_with_colon", with_policy("acme:"), {unnamespaced_policy("acme:")}},
        HeaderCase{"policy_not_trimmed", with_policy(" acme:strict"), {}},
        HeaderCase{"empty_policy", with_policy(""), {blank_policy()}},
        HeaderCase{"blank_policy", with_policy("  "), {blank_policy()}},
        HeaderCase{"version_and_policy", header("1.0.0", "c", "n", "1") + "versioning:\n  compatibility: x\n",
                   {invalid_version("1"), unnamespaced_policy("x")}},
        HeaderCase{"versioning_without_policy", header("1.0.0") + "versioning: {}\n", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VersionPass, ValidVersionWithoutVersioningGivesNothing) {
  EXPECT_TRUE(versioning::validate::validate(contract_of(validation_test::kHeader)).empty());
}

// --- The driver ---------------------------------------------------------

const model::registry::RegistryDocument& registry() { return registry::default_registry(); }

std::string inputs_with_flags(const std::vector<bool>& optional_flags) {
  std::string out = "inputs:\n";
  int n = 0;
  for (bool optional : optional_flags) {
    out += "  - id: in" + std::to_string(n++) + "\n    optional: " + (optional ? "true" : "false") +
           "\n    schema:\n      fields:\n        - {name: f" + std::to_string(n) +
           ", type: integer, nullable: false}\n";
  }
  return out;
}

std::string outputs_fed_by(int inputs) {
  std::string list;
  for (int i = 0; i < inputs; ++i) list += (i ? ", in" : "in") + std::to_string(i);
  return "outputs:\n  - id: out\n    schema:\n      fields:\n        - {name: total, type: integer, "
         "nullable: false}\nlineage:\n  mappings:\n    - output: out\n      inputs: [" + list + "]\n";
}

Expected no_required_input() {
  return {"vorn:invalid-interface", "validation", "structure", "at least one input must be required", "inputs",
          "Set optional: false on at least one input or remove optional: true"};
}

TEST(Driver, ValidContractGivesNothing) {
  EXPECT_EQ(json_of(validate_with_registry(contract_of(validation_test::kHeader + std::string(kValidBody)),
                                           registry())),
            "[]");
}

TEST(Driver, RunsStagesInOrder) {
  // One finding per early stage, written in the document in reverse order.
  std::string doc = "vornVersion: 1.0.0\nid: \"my contract\"\nname: n\nversion: \"1.0\"\n" +
                    std::string("metadata:\n  team: core\n") + inputs_with_flags({true, true}) +
                    outputs_fed_by(2) + "versioning: {compatibility: loose}\n";
  std::vector<Expected> expected = {
      invalid_version("1.0"),
      unnamespaced_policy("loose"),
      {"vorn:invalid-identifier", "canonicalObjectModel", "structure",
       "identifier 'my contract' should not contain whitespace", "id",
       "Use a stable identifier without spaces"},
      {"vorn:invalid-metadata", "canonicalObjectModel", "structure",
       "custom metadata key 'team' must be namespaced", "metadata.team",
       "Use vendor:fieldName for custom metadata keys"},
      no_required_input(),
  };
  EXPECT_EQ(json_of(validate_with_registry(contract_of(doc), registry())), json_of(expected));
}

struct InputCase {
  const char* name;
  std::vector<bool> optional_flags;
  bool reported;
};

class RequiredInput : public ::testing::TestWithParam<InputCase> {};

TEST_P(RequiredInput, IsReportedOnlyWhenEveryInputIsOptional) {
  const InputCase& c = GetParam();
  std::string doc = validation_test::kHeader + inputs_with_flags(c.optional_flags) +
                    outputs_fed_by(static_cast<int>(c.optional_flags.size()));
  auto expected = c.reported ? std::vector<Expected>{no_required_input()} : std::vector<Expected>{};
  EXPECT_EQ(json_of(validate_with_registry(contract_of(doc), registry())), json_of(expected));
}

INSTANTIATE_TEST_SUITE_P(Stage2, RequiredInput,
                         ::testing::Values(InputCase{"one_optional", {true}, true},
                                           InputCase{"three_optional", {true, true, true}, true},
                                           InputCase{"one_required", {false}, false},
                                           InputCase{"optional_then_required", {true, false}, false},
                                           InputCase{"required_then_optional", {false, true}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Driver, NoInputsIsLeftToTheStructuralPass) {
  std::string doc = validation_test::kHeader + outputs_fed_by(0);
  for (const auto& d : validate_with_registry(contract_of(doc), registry()))
    EXPECT_NE(d.message, "at least one input must be required");
}

// --- Parsing and validation in one step -------------------------------

TEST(ValidateParseResult, FailedParseKeepsOnlyParseDiagnostics) {
  auto parsed = parser::parse("vornVersion: [", parser::DocumentFormat::Yaml);
  ASSERT_FALSE(parsed.contract.has_value());
  std::string parse_report = parsed.report.to_json();
  EXPECT_EQ(validate_parse_result(std::move(parsed)).to_json(), parse_report);
}

TEST(ValidateParseResult, AppendsValidationAfterParseDiagnostics) {
  auto parsed = parser::parse(header("2.0.0") + kValidBody, parser::DocumentFormat::Yaml);
  ASSERT_TRUE(parsed.contract.has_value());
  using namespace diagnostics;
  parsed.report.push(Diagnostic::make(Code::ParseError, DiagnosticSeverity::Warning, DiagnosticStage::Parse,
                                      DiagnosticCategory::Syntax, "earlier"));
  auto report = validate_parse_result(std::move(parsed));
  ASSERT_EQ(report.diagnostics.size(), 2u);
  EXPECT_EQ(report.diagnostics[0].message, "earlier");
  EXPECT_EQ(json_of({report.diagnostics[1]}), json_of({unsupported("2.0.0")}));
}

TEST(ValidateParseResult, ValidDocumentGivesEmptyReport) {
  auto parsed = parser::parse(validation_test::kHeader + std::string(kValidBody), parser::DocumentFormat::Yaml);
  EXPECT_EQ(validate_parse_result(std::move(parsed)).to_json(), R"({"diagnostics":[]})");
}

}  // namespace
}  // namespace vorn::validation
