#pragma once
// Type inference: the logical type and nullability of an expression tree,
// or the first type error in it. Fields are typed through the contract's
// schemas, calls through the contract's functions or the registry's
// function definitions. Inference reads its inputs only and keeps nothing
// between calls.
//
// Trees can be as deep as their text is long, so the walk keeps its pending
// nodes and partial results on the heap; no rule recurses per tree level.

#include <string_view>
#include <vector>

#include "analysis/expr/ast.h"
#include "analysis/expr/infer/function_signatures.h"
#include "analysis/expr/infer/inferred_type.h"
#include "model/contract.h"
#include "model/registry/registry.h"
#include "validation/field_index.h"

namespace vorn::analysis::expr::types {

using validation::field_index::FieldIndex;

// Builds the field index and the function table once, then infers. A type
// error comes back as an error Diagnostic of stage analysis with the
// error's code, category and message, without objectRef or remediation.
ExprTypeResult infer_expression_type(const ast::Expr& expr, const model::TransformationContract& contract,
                                     const model::registry::RegistryDocument& registry);

// The same with the index and table already built, for callers that infer
// many expressions of one contract.
ExprTypeResult infer_expression_type(const ast::Expr& expr, const FieldIndex& fields,
                                     const FunctionTable& functions,
                                     const model::registry::RegistryDocument& registry);

// Errors are found left operand before right, arguments in order, and the
// checks of a call in their fixed order; the first one ends the walk.
InferResult infer_expr(const ast::Expr& expr, const FieldIndex& fields, const FunctionTable& functions,
                       const model::registry::RegistryDocument& registry);

// A call of the named contract function, whatever the name looks like.
InferResult infer_contract_call_type(std::string_view name, const std::vector<ast::ExprPtr>& args,
                                     const FieldIndex& fields, const FunctionTable& functions,
                                     const model::registry::RegistryDocument& registry);

// A call of the named registry function, whatever the name looks like.
InferResult infer_registry_call_type(std::string_view name, const std::vector<ast::ExprPtr>& args,
                                     const FieldIndex& fields, const FunctionTable& functions,
                                     const model::registry::RegistryDocument& registry);

}  // namespace vorn::analysis::expr::types
