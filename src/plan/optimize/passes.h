#pragma once
// The optimization passes. Each works on the plan in place, appends its
// records and diagnostics to the result, and keeps no state beyond its run.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "analysis/expr/check.h"
#include "model/registry/registry.h"
#include "plan/model/plan.h"
#include "plan/optimize/result.h"

namespace vorn::plan::optimize {

// Lets a piece of a longer text be looked up without copying it.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// Owned texts: the nodes they come from are about to be erased.
using RemovedIds = std::unordered_set<std::string, TextHash, std::equal_to<>>;
// Borrowed from the plan's guarantees, which no pass changes.
using ProtectedIds = std::unordered_set<std::string_view>;

// The rules the interface conditions name: a node holding one of these ids
// is never removed, or the plan would lose a guarantee it states.
ProtectedIds condition_rule_ids(const model::TransformationPlan& plan);

// Erases every node whose id is in `removed`; the others keep their order.
void drop_nodes(model::TransformationPlan& plan, const RemovedIds& removed);

enum class RewritePass {
  kExpression,  // simplify, fold calls, simplify, evaluate
  kFunction,    // fold calls, evaluate
};

// Rewrites each expression node's text to the canonical text of its
// transformed tree when that differs from the canonical text of what is
// written and the type guard accepts it; the findings about a rewritten
// node are dropped with its old text. `scope` types the guard's inference.
void rewrite_expressions(RewritePass pass, model::TransformationPlan& plan,
                         const analysis::expr::ExpressionScope& scope,
                         const vorn::model::registry::RegistryDocument& registry, OptimizeResult& out);

// In execution order, an idempotent action repeating the last kept action
// on the same target is removed, and from an explicit ordering too.
void remove_idempotent_actions(model::TransformationPlan& plan, const ProtectedIds& kept, OptimizeResult& out);

// A rule node whose rule, target, phase and parameters repeat an earlier
// rule node's is removed.
void remove_duplicate_rules(model::TransformationPlan& plan, const ProtectedIds& kept, OptimizeResult& out);

// Expression nodes at which no dependency ends are removed, with the
// findings about them. True when anything was removed.
bool remove_dead_expressions(model::TransformationPlan& plan, const ProtectedIds& kept, OptimizeResult& out);

}  // namespace vorn::plan::optimize
