// Stage 1: white space in identifiers, every metadata row, the reference
// rule and the timestamp grammar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "metadata/validate.h"
#include "validation/com.h"
#include "validation_test_support.h"

namespace vorn::metadata::validate {
namespace {

using validation_test::contract_of;
using validation_test::Expected;
using validation_test::json_of;

// --- Identifiers -----------------------------------------------------------

Expected whitespace_in(const std::string& id, const std::string& ref) {
  return {"vorn:invalid-identifier", "canonicalObjectModel", "structure",
          "identifier '" + id + "' should not contain whitespace", ref,
          "Use a stable identifier without spaces"};
}

// One object in each collection but rules; every id starts with `n`.
std::string objects_named(const std::string& n) {
  return "inputs: [{id: \"" + n + "in\"}]\noutputs: [{id: \"" + n + "out\"}]\n" +
         "semanticActions: [{id: \"" + n + "act\", action: a, target: t}]\n" +
         "expressions: [{id: \"" + n + "expr\"}]\n" + "functions: [{id: \"" + n + "fn\", function: f}]\n";
}

std::vector<diagnostics::Diagnostic> run_com(const std::string& document) {
  validation::ValidationContext ctx;
  validation::com::validate_com(ctx, contract_of(document));
  return std::move(ctx.diagnostics);
}

TEST(IdentifierPass, WalksEveryCollectionInOrder) {
  // Keys written in reverse of the checking order.
  std::string doc = "rules: [{id: \"r 1\", rule: r, target: t, phase: execution}, {id: r2, rule: r, target: t, "
                    "phase: execution}, {id: \"r 3\", rule: r, target: t, phase: execution}]\n" +
                    objects_named("x ") + "vornVersion: 1.0.0\nid: \"c c\"\nname: n\nversion: 1.0.0\n";
  EXPECT_EQ(json_of(run_com(doc)),
            json_of({whitespace_in("c c", "id"), whitespace_in("x in", "inputs.x in.id"),
                     whitespace_in("x out", "outputs.x out.id"),
                     whitespace_in("x act", "semanticActions.x act.id"),
                     whitespace_in("x expr", "expressions.x expr.id"),
                     whitespace_in("x fn", "functions.x fn.id"),
                     whitespace_in("r 1", "rules.r 1.id"), whitespace_in("r 3", "rules.r 3.id")}));
}

struct IdCase {
  const char* name;
  std::string id;
  bool reported;
};

class IdentifierWhitespace : public ::testing::TestWithParam<IdCase> {};

TEST_P(IdentifierWhitespace, IsReportedOnceAtMost) {
  const IdCase& c = GetParam();
  validation::ValidationContext ctx;
  validation::com::check_identifier_whitespace(ctx, "inputs.p.id", c.id);
  std::vector<Expected> expected;
  if (c.reported) expected.push_back(whitespace_in(c.id, "inputs.p.id"));
  EXPECT_EQ(json_of(ctx.diagnostics), json_of(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Stage1, IdentifierWhitespace,
    ::testing::Values(IdCase{"plain", "orders", false}, IdCase{"empty", "", false},
                      IdCase{"one_space", "order lines", true}, IdCase{"three_spaces", "a b c d", true},
                      IdCase{"leading_space", " a", true}, IdCase{"trailing_tab", "a\t", true},
                      IdCase{"no_break_space", "a\u00a0b", true}, IdCase{"line_separator", "a\u2028b", true},
                      IdCase{"ideographic_space", "a\u3000", true}, IdCase{"next_line", "a\u0085", true},
                      IdCase{"zero_width_space_is_not_white", "a\u200bb", false},
                      IdCase{"mongolian_separator_is_not_white", "a\u180eb", false},
                      IdCase{"ill_formed_utf8", "a\xff", false},
                      IdCase{"ill_formed_then_space", "\xe2\x80 x", true},
                      IdCase{"truncated_sequence_at_end", "a\xe2\x80", false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Metadata rows -----------------------------------------------------------

Expected row(const char* code, const char* category, const std::string& message, const std::string& ref,
             std::optional<std::string> remediation = std::nullopt) {
  return {code, "canonicalObjectModel", category, message, ref, std::move(remediation)};
}
Expected meta(const std::string& message, const std::string& ref, std::optional<std::string> remediation = {}) {
  return row("vorn:invalid-metadata", "structure", message, ref, std::move(remediation));
}
Expected meta_ref(const std::string& message, const std::string& ref,
                  std::optional<std::string> remediation = {}) {
  return row("vorn:invalid-metadata", "reference", message, ref, std::move(remediation));
}

Expected conflict(const std::string& what, const std::string& value, const std::string& object_what,
                  const std::string& expected, const std::string& prefix) {
  return meta("metadata identity " + what + " '" + value + "' conflicts with object " + object_what + " '" +
                  expected + "'",
              prefix + ".identity." + what,
              "Remove identity." + what + " or align it with the object " + object_what);
}
Expected blank_identity(const std::string& what, const std::string& prefix) {
  return meta("metadata identity " + what + " must not be empty", prefix + ".identity." + what);
}
Expected bad_policy(const std::string& text, const std::string& prefix, int i) {
  return meta_ref("governance policyRef '" + text + "' must be a URI or namespaced identifier",
                  prefix + ".governance.policyRefs[" + std::to_string(i) + "]",
                  "Use https://... or vendor:policy-id");
}
Expected blank_policy(const std::string& prefix, int i) {
  return meta_ref("governance policyRefs entry must not be empty",
                  prefix + ".governance.policyRefs[" + std::to_string(i) + "]");
}
Expected bad_reference(const std::string& text, const std::string& prefix, int i) {
  return meta_ref("documentation reference '" + text + "' must be a URI or namespaced identifier",
                  prefix + ".documentation.references[" + std::to_string(i) + "]",
                  "Use https://... or vendor:reference-id");
}
Expected blank_reference(const std::string& prefix, int i) {
  return meta_ref("documentation references entry must not be empty",
                  prefix + ".documentation.references[" + std::to_string(i) + "]");
}
Expected blank_owner(const std::string& prefix) {
  return meta("governance owner must not be empty when declared", prefix + ".governance.owner");
}
Expected blank_steward(const std::string& prefix) {
  return meta("governance steward must not be empty when declared", prefix + ".governance.steward");
}
Expected bad_review_date(const std::string& text, const std::string& prefix) {
  return meta("governance reviewDate '" + text + "' is not a valid ISO-8601 timestamp",
              prefix + ".governance.reviewDate",
              "Use an ISO-8601 date or datetime such as 2026-01-15 or 2026-01-15T10:00:00Z");
}
Expected bad_provenance(const std::string& key, const std::string& text, const std::string& prefix) {
  return meta("provenance " + key + " '" + text + "' is not a valid ISO-8601 timestamp",
              prefix + ".provenance." + key,
              "Use an ISO-8601 date or datetime such as 2026-01-15T10:00:00Z");
}
Expected restricted(const std::string& prefix) {
  return meta("restricted classification requires governance.owner or governance.steward", prefix,
              "Add governance.owner or governance.steward for restricted objects");
}
Expected nested_extensions(const std::string& prefix) {
  return row("vorn:invalid-extension", "structure",
             "vendor metadata keys must be flattened, not nested under 'extensions'", prefix + ".extensions",
             "Use vendor:fieldName directly in the metadata block");
}
Expected custom_key(const std::string& key, const std::string& prefix) {
  return meta("custom metadata key '" + key + "' must be namespaced", prefix + "." + key,
              "Use vendor:fieldName for custom metadata keys");
}

// A contract with id "orders", name "Orders", version "1.0.0", the given
// contract metadata (YAML flow mapping, or empty) and one input "raw" with
// the given metadata.
std::string with_metadata(const std::string& contract_meta, const std::string& input_meta = "",
                          const std::string& id = "orders") {
  std::string doc = "vornVersion: 1.0.0\nid: \"" + id + "\"\nname: Orders\nversion: 1.0.0\n";
  if (!contract_meta.empty()) doc += "metadata: " + contract_meta + "\n";
  doc += "inputs:\n  - id: raw\n";
  if (!input_meta.empty()) doc += "    metadata: " + input_meta + "\n";
  return doc;
}

struct MetadataCase {
  const char* name;
  std::string document;
  std::vector<Expected> expected;
};

class MetadataBlocks : public ::testing::TestWithParam<MetadataCase> {};

TEST_P(MetadataBlocks, ReportsExactly) {
  validation::ValidationContext ctx;
  validate_metadata(ctx, contract_of(GetParam().document));
  EXPECT_EQ(json_of(ctx.diagnostics), json_of(GetParam().expected));
}

const std::string kIn = "inputs.raw.metadata";
const std::string kPolicies =
    "[\"https://x\", \"http://x\", \"acme:policy-1\", \"vorn:p\", \"http:x\", \"https:x\", \"https://\", "
    "\"http:///x\", \"policy\", \":x\", \"x:\", \" \", \"\", \"https:///a\", \"ftp://host\", \" acme:p\"]";

INSTANTIATE_TEST_SUITE_P(
    Stage1, MetadataBlocks,
    ::testing::Values(
        MetadataCase{"no_metadata", with_metadata(""), {}},
        MetadataCase{"identity_trimmed_matches",
                     with_metadata("{identity: {identifier: \" orders \", name: \" Orders\", "
                                   "version: \"1.0.0 \"}}"),
                     {}},
        MetadataCase{"object_id_not_trimmed", with_metadata("{identity: {identifier: orders}}", "", " orders"),
                     {conflict("identifier", "orders", "id", " orders", "metadata")}},
        MetadataCase{"identity_conflicts_quote_trimmed_value",
                     with_metadata("{identity: {identifier: \" x \", name: \" y\", version: \"2.0.0 \"}}"),
                     {conflict("identifier", "x", "id", "orders", "metadata"),
                      conflict("name", "y", "name", "Orders", "metadata"),
                      conflict("version", "2.0.0", "version", "1.0.0", "metadata")}},
        MetadataCase{"identity_blank",
                     with_metadata("{identity: {identifier: \"\", name: \" \", version: \"\\t\"}}"),
                     {blank_identity("identifier", "metadata"), blank_identity("name", "metadata"),
                      blank_identity("version", "metadata")}},
        MetadataCase{"object_name_and_version_never_compared",
                     with_metadata("", "{identity: {identifier: raw, name: x, version: \"9\"}}"), {}},
        MetadataCase{"object_blank_name_still_reported", with_metadata("", "{identity: {name: \"  \"}}"),
                     {blank_identity("name", kIn)}},
        MetadataCase{"object_identifier_compared_with_its_id",
                     with_metadata("", "{identity: {identifier: orders}}"),
                     {conflict("identifier", "orders", "id", "raw", kIn)}},
        MetadataCase{"governance_absent_fields", with_metadata("{governance: {approvalStatus: approved}}"), {}},
        MetadataCase{"governance_blank_owner_and_steward",
                     with_metadata("{governance: {owner: \"\", steward: \" \"}}"),
                     {blank_owner("metadata"), blank_steward("metadata")}},
        MetadataCase{"review_date", with_metadata("{governance: {reviewDate: \"2026-01-15\"}}"), {}},
        MetadataCase{"review_date_invalid", with_metadata("", "{governance: {reviewDate: \"2026-02-29\"}}"),
                     {bad_review_date("2026-02-29", kIn)}},
        MetadataCase{"policy_refs", with_metadata("{governance: {policyRefs: " + kPolicies + "}}"),
                     {bad_policy("https://", "metadata", 6), bad_policy("http:///x", "metadata", 7),
                      bad_policy("policy", "metadata", 8), bad_policy(":x", "metadata", 9),
                      bad_policy("x:", "metadata", 10), blank_policy("metadata", 11),
                      blank_policy("metadata", 12), bad_policy("https:///a", "metadata", 13)}},
        MetadataCase{"documentation_references",
                     with_metadata("", "{documentation: {references: " + kPolicies + "}}"),
                     {bad_reference("https://", kIn, 6), bad_reference("http:///x", kIn, 7),
                      bad_reference("policy", kIn, 8), bad_reference(":x", kIn, 9),
                      bad_reference("x:", kIn, 10), blank_reference(kIn, 11), blank_reference(kIn, 12),
                      bad_reference("https:///a", kIn, 13)}},
        MetadataCase{"provenance", with_metadata("{provenance: {modifiedAt: \"2026-01-15T10:00Z\", "
                                                 "createdAt: \"20260115\", author: \" \"}}"),
                     {bad_provenance("createdAt", "20260115", "metadata"),
                      bad_provenance("modifiedAt", "2026-01-15T10:00Z", "metadata")}},
        MetadataCase{"provenance_valid",
                     with_metadata("{provenance: {createdAt: \" 2026-01-15T10:00:00Z \"}}"), {}},
        MetadataCase{"restricted_blank_owner",
                     with_metadata("{classification: restricted, governance: {owner: \"\"}}"),
                     {blank_owner("metadata"), restricted("metadata")}},
        MetadataCase{"restricted_without_governance", with_metadata("{classification: restricted}"),
                     {restricted("metadata")}},
        MetadataCase{"restricted_blank_owner_and_steward",
                     with_metadata("", "{classification: restricted, "
                                       "governance: {owner: \" \", steward: \"\"}}"),
                     {blank_owner(kIn), blank_steward(kIn), restricted(kIn)}},
        MetadataCase{"restricted_with_steward",
                     with_metadata("{classification: restricted, governance: {owner: \" \", steward: s}}"),
                     {blank_owner("metadata")}},
        MetadataCase{"restricted_with_owner",
                     with_metadata("{classification: restricted, governance: {owner: o}}"), {}},
        MetadataCase{"confidential_needs_no_owner", with_metadata("{classification: confidential}"), {}},
        MetadataCase{"custom_keys",
                     with_metadata("{team: core, \"acme:team\": core, extensions: {x: 1}, \"http:k\": 1, "
                                   "\":k\": 1, \"vorn:k\": 1, \"k:\": 1}"),
                     {custom_key("team", "metadata"), nested_extensions("metadata"),
                      custom_key("http:k", "metadata"), custom_key(":k", "metadata"),
                      custom_key("vorn:k", "metadata"), custom_key("k:", "metadata")}},
        MetadataCase{"extensions_not_an_object", with_metadata("", "{extensions: text}"), {}},
        MetadataCase{"extensions_list", with_metadata("", "{extensions: [1]}"), {}},
        MetadataCase{"steps_in_order",
                     with_metadata("{custom: 1, classification: restricted, provenance: {createdAt: x}, "
                                   "documentation: {references: [y]}, "
                                   "governance: {policyRefs: [z], owner: \"\"}, "
                                   "identity: {identifier: other}}"),
                     {conflict("identifier", "other", "id", "orders", "metadata"), blank_owner("metadata"),
                      bad_policy("z", "metadata", 0), bad_reference("y", "metadata", 0),
                      bad_provenance("createdAt", "x", "metadata"), restricted("metadata"),
                      custom_key("custom", "metadata")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MetadataPass, WalksBlocksInCollectionOrder) {
  std::string m = "\n    metadata: {k: 1}";
  std::string doc =
      "rules:\n  - {id: r1, rule: r, target: t, phase: execution}\n  - id: r2\n    rule: r\n    target: t\n"
      "    phase: execution" + m + "\n"
      "functions:\n  - id: f\n    function: f" + m + "\n"
      "expressions:\n  - id: e" + m + "\n"
      "semanticActions:\n  - id: a\n    action: a\n    target: t" + m + "\n"
      "outputs:\n  - id: o" + m + "\n"
      "inputs:\n  - id: i1" + m + "\n  - id: i2\n  - id: i3" + m + "\n"
      "metadata: {k: 1}\n" + validation_test::kHeader;
  validation::ValidationContext ctx;
  validate_metadata(ctx, contract_of(doc));
  EXPECT_EQ(json_of(ctx.diagnostics),
            json_of({custom_key("k", "metadata"), custom_key("k", "inputs.i1.metadata"),
                     custom_key("k", "inputs.i3.metadata"), custom_key("k", "outputs.o.metadata"),
                     custom_key("k", "semanticActions.a.metadata"), custom_key("k", "expressions.e.metadata"),
                     custom_key("k", "functions.f.metadata"), custom_key("k", "rules.r2.metadata")}));
}

TEST(MetadataPass, ObjectMetadataUsesCollectionKeyAndId) {
  model::Metadata block;
  block.identity = model::IdentityMetadata{"x", std::nullopt, std::nullopt};
  validation::ValidationContext ctx;
  validate_object_metadata(ctx, std::nullopt, "a b", "rules");
  validate_object_metadata(ctx, block, "a b", "rules");
  EXPECT_EQ(json_of(ctx.diagnostics),
            json_of({conflict("identifier", "x", "id", "a b", "rules.a b.metadata")}));
}

// --- Timestamps -------------------------------------------------------------

class TimestampAccepted : public ::testing::TestWithParam<const char*> {};
class TimestampRejected : public ::testing::TestWithParam<const char*> {};

TEST_P(TimestampAccepted, Reads) { EXPECT_TRUE(is_iso8601_timestamp(GetParam())) << "'" << GetParam() << "'"; }
TEST_P(TimestampRejected, Fails) { EXPECT_FALSE(is_iso8601_timestamp(GetParam())) << "'" << GetParam() << "'"; }

INSTANTIATE_TEST_SUITE_P(
    Grammar, TimestampAccepted,
    ::testing::Values("2026-01-15", "2024-02-29", "2000-02-29", "0000-02-29", "2026-12-31",
                      "2026-01-15T10:00:00Z", "2026-01-15T10:00:00+01:00", "2026-01-15T10:00:00.123-05:30",
                      "2026-01-15T10:00:00", "2026-01-15T10:00:00+14:00", "2026-01-15T10:00:00-14:59",
                      "  2026-01-15  ", " 2026-01-15T10:00:00Z\n", "2026-01-15\u00a0",
                      "\u00a02026-01-15T10:00:00+01:00\u3000", "2026-01-15T23:59:59.999999Z",
                      // Digit counts are free and fractions go unread.
                      "2026-01-15T1:2:3.x-00:00", "2026-01-15T0000000000000000000000023:00:00",
                      "2026-01-15T10.5:00.x:00Z", "2026-01-15T10:00:00.\u00fc"));

INSTANTIATE_TEST_SUITE_P(
    Grammar, TimestampRejected,
    ::testing::Values("2026-02-29", "1900-02-29", "2026-13-01", "2026-00-10", "2026-01-00", "2026-04-31",
                      "2026-01-32", "2026-01-15 10:00:00", "2026-01-15t10:00:00Z", "2026-01-15T24:00:00Z",
                      "2026-01-15T10:60:00Z", "2026-01-15T10:00:60Z", "2026-01-15T10:00:00+15:00",
                      "2026-01-15T10:00:00+01:60", "2026-01-15T10:00:00+01", "2026-01-15T10:00:00-0530",
                      "2026-01-15T10:00:00+Z", "2026-01-15T10:00:00ZZ", "2026-01-15T10:00:00-",
                      "2026-01-15T10:00Z", "2026-01-15T10:00:00:00", "2026-01-15T10::00:00",
                      "2026-01-15T 10:00:00", "2026-01-15T-1:00:00Z", "2026-01-15T99999999999999999999:00:00",
                      "2026-01-15T10:00:00\u00a0Z", "20260115", "", "   ", "2026-1-15", "2026/01/15",
                      "+026-01-15", "2026-01-15Z", "\uff12026-01-15", "2026-01-1\u0665",
                      "2026-01-15T1:2:3.\u20ac"));

}  // namespace
}  // namespace vorn::metadata::validate
