#pragma once
// The check of one expression declaration: parse its text, note when it is
// constant, infer its type. The unit of work of the contract analysis; plan
// building and plan validation also read the tree and type it keeps.

#include <optional>
#include <vector>

#include "analysis/expr/ast.h"
#include "analysis/expr/infer/function_signatures.h"
#include "analysis/finding.h"
#include "diagnostics/diagnostic.h"
#include "model/contract.h"
#include "model/expression.h"
#include "model/registry/registry.h"
#include "model/types/logical_type.h"
#include "validation/field_index.h"

namespace vorn::analysis::expr {

// Owns all of its values; the declaration and the contract are only read.
struct ExpressionAnalysis {
  // At most one: the parse error or the type error.
  std::vector<diagnostics::Diagnostic> diagnostics;
  // At most one: the constant-expression finding.
  std::vector<AnalysisFinding> findings;
  // Absent when there is no text or it does not parse.
  std::optional<ast::Expr> expr;
  // Both absent unless inference succeeded.
  std::optional<model::types::LogicalType> logical_type;
  std::optional<bool> nullable;
};

// What the expressions of one contract are typed against. Built once per
// contract, so that checking all of its expressions stays linear.
struct ExpressionScope {
  validation::field_index::FieldIndex fields;
  types::FunctionTable functions;

  static ExpressionScope from_contract(const model::TransformationContract& contract);
};

ExpressionAnalysis check_expression(const ExpressionScope& scope, const model::Expression& expression,
                                    const model::registry::RegistryDocument& registry);

// A declaration without text, or with white space only, gives an empty
// analysis. The registry is the caller's choice (default or merged).
ExpressionAnalysis check_expression(const model::TransformationContract& contract,
                                    const model::Expression& expression,
                                    const model::registry::RegistryDocument& registry);

}  // namespace vorn::analysis::expr
