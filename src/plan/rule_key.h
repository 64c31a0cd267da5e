#pragma once
// What makes two rules the same check: the keys by which the optimizer finds
// duplicate rules and plan equivalence compares rules as a set.

#include <string>

#include "model/json_value.h"
#include "model/rule.h"

namespace vorn::plan::rule_key {

// Empty for no parameters; otherwise one compact JSON object with the keys in
// the map's own order (so a different key order gives a different text),
// nested objects key-sorted, non-finite numbers as null.
std::string canonical_parameters(const vorn::model::JsonMap& parameters);

// "rule|target|phase|parameters"; the rule's own id takes no part.
std::string rule_dedup_key(const vorn::model::Rule& rule);

// "phase:parameters": what the rule demands, wherever it applies.
std::string rule_effect_identity(const vorn::model::Rule& rule);

}  // namespace vorn::plan::rule_key
