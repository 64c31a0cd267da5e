#pragma once
// Shared by the optimization and equivalence tests: plans made by patching
// one valid plan, with nodes written by short helpers.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "plan/graph/build.h"
#include "plan/validate/plan_as_contract.h"
#include "registry/default_registry.h"
#include "validation_test_support.h"

namespace vorn::plan_test {

// Ordered, so that rule parameters keep the order they are written in.
using Json = nlohmann::ordered_json;

inline std::string node(const std::string& id, const std::string& section, const std::string& body) {
  return R"({"id":")" + id + R"(","objectRef":")" + section + "." + id + R"(","kind":{"id":")" + id + "\"," + body +
         "}}";
}
inline std::string action(const std::string& id, const std::string& name, const std::string& target) {
  return node(id, "semanticActions", R"("kind":"semanticAction","action":")" + name + R"(","target":")" + target + "\"");
}
// A vorn:range precondition on in.qty.
inline std::string rule(const std::string& id, const std::string& parameters = "{}") {
  return node(id, "rules",
              R"("kind":"rule","rule":"vorn:range","target":"in.qty","phase":"precondition","parameters":)" +
                  parameters);
}
inline std::string expression(const std::string& id, const std::string& expr, const std::string& type = "") {
  return node(id, "expressions",
              R"("kind":"expression","expr":)" + Json(expr).dump() + (type.empty() ? "" : R"(,"type":")" + type + "\""));
}

// The nodes, an explicit ordering when `order` is not empty, and input
// preconditions naming `conditions`.
inline std::string nodes(const std::vector<std::string>& list, const std::vector<std::string>& order = {},
                         const std::vector<std::string>& conditions = {}) {
  Json patch{{"nodes", Json::array()}};
  for (const auto& node : list) patch["nodes"].push_back(Json::parse(node));
  if (!order.empty()) patch["guarantees"]["semantics"]["ordering"] = {{"mode", "explicit"}, {"order", order}};
  for (const auto& id : conditions)
    patch["guarantees"]["inputPreconditions"].push_back({{"interfaceId", "in"}, {"isInput", true}, {"ruleId", id}});
  return patch.dump();
}

inline std::string with(const std::string& patch, const std::string& more) {
  Json merged = Json::parse(patch);
  merged.merge_patch(Json::parse(more));
  return merged.dump();
}

// The valid plan with `patch` merged over it; without a "dependencies" key
// in the patch, the dependencies are built from the nodes.
inline plan::model::TransformationPlan plan_of(const std::string& patch) {
  Json plan = Json::parse(R"({
    "identity": {"vornVersion": "1.0.0", "id": "p", "name": "P", "version": "1.0.0"},
    "inputs": [{"id": "in", "schema": {"fields": [{"name": "price", "type": "decimal", "nullable": false},
                                                  {"name": "qty", "type": "integer", "nullable": false},
                                                  {"name": "name", "type": "string", "nullable": false}]}}],
    "outputs": [{"id": "out", "schema": {"fields": [{"name": "total", "type": "decimal", "nullable": false}]}}],
    "nodes": [], "dependencies": [], "lineage": {"mappings": [{"output": "out", "inputs": ["in"]}]},
    "guarantees": {}})");
  Json changes = Json::parse(patch);
  plan.merge_patch(changes);
  auto read = plan::model::TransformationPlan::from_json(plan.dump());
  if (!read.ok()) {
    ADD_FAILURE() << read.error();
    return {};
  }
  plan::model::TransformationPlan out = std::move(read).value();
  if (!changes.contains("dependencies"))
    out.dependencies = plan::graph::build(plan::validate::plan_interfaces_as_contract(out), out.nodes,
                                          registry::default_registry())
                           .dependencies;
  return out;
}

}  // namespace vorn::plan_test
