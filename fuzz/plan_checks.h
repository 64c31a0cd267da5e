#pragma once
// What the plan fuzz target does with one input, shared with the test that
// replays fuzz/regressions/ and fuzz/corpus/ without libFuzzer. Returns an
// empty string, or the text of a broken invariant.

#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "analysis/expr/parse/parser.h"
#include "plan/equivalence/equivalent.h"
#include "plan/graph/build.h"
#include "plan/graph/topological_order.h"
#include "plan/lowering/lower.h"
#include "plan/model/plan.h"
#include "plan/optimize/optimize.h"
#include "plan/validate/plan_as_contract.h"
#include "plan/validate/validate.h"
#include "registry/default_registry.h"
#include "support/json_writer.h"

namespace vorn::fuzz {

// A plan written to JSON must read back equal and write the same text.
inline std::string check_plan_round_trip(const plan::model::TransformationPlan& plan) {
  std::string text = plan.to_json();
  auto again = plan::model::TransformationPlan::from_json(text);
  if (!again.ok()) return "written plan does not read back: " + again.error() + "\n" + text;
  if (!(again.value() == plan)) return "re-read plan differs from the original:\n" + text;
  if (again->to_json() != text) return "re-read plan writes differently:\n" + text;
  return "";
}

// A non-empty order holds every vertex once and puts each dependency
// between two vertices forwards.
inline std::string check_order(const std::vector<std::string>& order,
                               const std::vector<plan::model::PlanDependency>& dependencies) {
  std::unordered_map<std::string_view, std::size_t> position;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (!position.emplace(order[i], i).second) return "vertex '" + order[i] + "' ordered twice";
  }
  for (const auto& d : dependencies) {
    auto from = position.find(d.from), to = position.find(d.to);
    if (from != position.end() && to != position.end() && from->second >= to->second)
      return "dependency " + d.from + " -> " + d.to + " runs backwards in the order";
  }
  return "";
}

// Rebuilt dependencies are sorted, without self-edges or repeats.
inline std::string check_built(const std::vector<plan::model::PlanDependency>& edges) {
  for (std::size_t i = 0; i < edges.size(); ++i) {
    const auto& e = edges[i];
    if (e.from == e.to) return "built graph holds a self-edge on '" + e.from + "'";
    if (i == 0) continue;
    const auto& p = edges[i - 1];
    if (std::tie(p.from, p.to, p.reason) >= std::tie(e.from, e.to, e.reason))
      return "built graph is not strictly sorted at '" + e.from + "' -> '" + e.to + "'";
  }
  return "";
}

// Every text a rewrite stored reads back as an expression. A stored text
// is one that no expression of the input holds: node ids may repeat, so
// the records cannot say which node holds it.
inline std::string check_stored_texts(const plan::model::TransformationPlan& input,
                                      const plan::model::TransformationPlan& output) {
  std::unordered_set<std::string_view> given;
  for (const auto& node : input.nodes) {
    const auto* e = node.kind.get_if<vorn::model::Expression>();
    if (e && e->expr) given.insert(*e->expr);
  }
  for (const auto& node : output.nodes) {
    const auto* e = node.kind.get_if<vorn::model::Expression>();
    if (e && e->expr && !given.contains(*e->expr) && !analysis::expr::parse::parse_expression(*e->expr).ok())
      return "stored expression text does not parse: " + *e->expr;
  }
  return "";
}

// A plan is equivalent to itself. Optimized without validation, every text
// stored reads back and the plan round-trips; with validation, a plan that
// validates must not come out invalid.
inline std::string check_optimize(const plan::model::TransformationPlan& plan, bool valid,
                                  const vorn::model::registry::RegistryDocument& registry) {
  if (!plan::equivalence::equivalent(plan, plan)) return "plan is not equivalent to itself";
  for (bool validate : {false, true}) {
    plan::optimize::OptimizeOptions options;
    options.validate = validate;
    plan::optimize::OptimizeResult result = plan::optimize::optimize_with_registry(plan, registry, options);
    result.to_json();
    if (validate && valid && !result.diagnostics.empty() &&
        result.diagnostics.back().message == "optimized plan failed validation")
      return "a valid plan failed validation once optimized:\n" + result.to_json();
    if (!result.plan) continue;
    if (std::string problem = check_stored_texts(plan, *result.plan); !problem.empty()) return problem;
    if (std::string problem = check_plan_round_trip(*result.plan); !problem.empty()) return problem;
  }
  return "";
}

// Reads, round-trips, validates and orders the plan; rebuilds its graph,
// optimizes it and lowers its contract view, whose plan must round-trip too.
inline std::string check_plan(std::string_view bytes) {
  auto read = plan::model::TransformationPlan::from_json(bytes);
  if (!read.ok()) return "";
  const plan::model::TransformationPlan& plan = read.value();
  if (std::string problem = check_plan_round_trip(plan); !problem.empty()) return problem;
  const auto& registry = registry::default_registry();
  bool valid = !diagnostics::has_error(plan::validate::validate_with_registry(plan, registry));
  auto view = plan::validate::plan_as_contract(plan);
  auto order = plan::graph::topological_order(view, plan.nodes, plan.dependencies);
  if (std::string problem = check_order(order, plan.dependencies); !problem.empty()) return problem;
  if (std::string problem = check_built(plan::graph::build(view, plan.nodes, registry).dependencies);
      !problem.empty())
    return problem;
  if (std::string problem = check_optimize(plan, valid, registry); !problem.empty()) return problem;
  plan::lowering::PlanResult lowered = plan::lowering::lower(view, &registry);
  lowered.to_json();
  return lowered.plan ? check_plan_round_trip(*lowered.plan) : "";
}

}  // namespace vorn::fuzz
