// The two passes that rewrite expression texts: algebraic simplification
// with call folding and constant evaluation, and call folding alone.

#include <optional>
#include <string>
#include <unordered_set>

#include <fmt/format.h>

#include "analysis/expr/eval/evaluate.h"
#include "analysis/expr/format.h"
#include "analysis/expr/parse/parser.h"
#include "analysis/expr/simplify.h"
#include "plan/optimize/diagnostics.h"
#include "plan/optimize/fold_calls.h"
#include "plan/optimize/passes.h"
#include "plan/optimize/type_guard.h"

namespace vorn::plan::optimize {
namespace {

using analysis::expr::ast::Expr;
using vorn::model::registry::RegistryDocument;

struct PassRow {
  std::string_view name;
  std::string_view description;
  Problem skipped;
};

constexpr PassRow kPassRows[] = {
    {"expression", "rewrote expression '{}' to '{}'", Problem::kExpressionSkipped},
    {"function", "evaluated function expression '{}' to '{}'", Problem::kFunctionSkipped},
};

// A whole tree with a value becomes the literal of that value, in place of
// the tree and with its span.
Expr evaluated(Expr tree) {
  if (auto value = analysis::expr::eval::evaluate(tree)) return Expr::literal(std::move(*value), tree.span);
  return tree;
}

Expr transform(RewritePass pass, const Expr& parsed, const RegistryDocument& registry) {
  using analysis::expr::rewrite::simplify_expression;
  if (pass == RewritePass::kFunction) return evaluated(fold_expression_calls(parsed, registry));
  Expr folded = fold_expression_calls(simplify_expression(parsed), registry);
  return evaluated(simplify_expression(folded));
}

}  // namespace

void rewrite_expressions(RewritePass pass, model::TransformationPlan& plan,
                         const analysis::expr::ExpressionScope& scope, const RegistryDocument& registry,
                         OptimizeResult& out) {
  const PassRow& row = kPassRows[static_cast<int>(pass)];
  std::unordered_set<std::string> rewritten;  // object paths of the rewritten nodes
  for (model::PlanNode& node : plan.nodes) {
    auto* declaration = std::get_if<vorn::model::Expression>(&node.kind.value);
    if (!declaration || !declaration->expr) continue;
    // Blank text does not parse either.
    auto parsed = analysis::expr::parse::parse_expression(*declaration->expr);
    if (!parsed) continue;
    std::string before = analysis::expr::format::format_expr(parsed.value(), false);
    std::string after = analysis::expr::format::format_expr(transform(pass, parsed.value(), registry), false);
    if (after == before) continue;
    if (!expression_rewrite_accepted(parsed.value(), after, *declaration, scope, registry)) {
      out.diagnostics.push_back(report(row.skipped, node.id, node.object_ref));
      continue;
    }
    out.transforms.push_back(
        {std::string(row.name), node.id, fmt::format(fmt::runtime(row.description), before, after)});
    declaration->expr = std::move(after);
    rewritten.insert(node.object_ref);
  }
  // Findings about the old texts, dropped in one sweep.
  if (!rewritten.empty())
    std::erase_if(plan.findings, [&](const auto& finding) { return rewritten.contains(finding.object_ref); });
}

}  // namespace vorn::plan::optimize
