#include "validation/com.h"

#include "support/unicode.h"

namespace vorn::validation::com {
namespace {

using context::DiagnosticRow;
using context::render;
using context::render_remediation;
using diagnostics::Code;
using diagnostics::DiagnosticCategory;

enum Row { kWhitespaceInIdentifier };

constexpr DiagnosticRow kRows[] = {
    {Code::InvalidIdentifier, DiagnosticCategory::Structure,
     "identifier '{}' should not contain whitespace", "{}", "Use a stable identifier without spaces"},
};

template <class Object>
void check_ids(ValidationContext& ctx, const std::vector<Object>& objects, std::string_view collection) {
  // The path is only built for an identifier that will be reported.
  for (const Object& object : objects)
    if (contains_white_space(object.id))
      check_identifier_whitespace(ctx, fmt::format("{}.{}.id", collection, object.id), object.id);
}

}  // namespace

void check_identifier_whitespace(ValidationContext& ctx, std::string_view object_path,
                                 std::string_view identifier) {
  if (!contains_white_space(identifier)) return;
  const DiagnosticRow& row = kRows[kWhitespaceInIdentifier];
  ctx.error_with_stage(diagnostics::code_id(row.code), row.category, render(row.message, identifier),
                       render(row.object_ref, object_path), render_remediation(row),
                       diagnostics::DiagnosticStage::CanonicalObjectModel);
}

void validate_com(ValidationContext& ctx, const model::TransformationContract& contract) {
  check_identifier_whitespace(ctx, "id", contract.id);
  check_ids(ctx, contract.inputs, "inputs");
  check_ids(ctx, contract.outputs, "outputs");
  check_ids(ctx, contract.semantic_actions, "semanticActions");
  check_ids(ctx, contract.expressions, "expressions");
  check_ids(ctx, contract.functions, "functions");
  check_ids(ctx, contract.rules, "rules");
}

}  // namespace vorn::validation::com
