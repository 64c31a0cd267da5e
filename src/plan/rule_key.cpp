#include "plan/rule_key.h"

#include <fmt/format.h>

#include "support/json_writer.h"

namespace vorn::plan::rule_key {

std::string canonical_parameters(const vorn::model::JsonMap& parameters) {
  if (parameters.empty()) return "";
  // The writer neither throws nor fails: text that is not UTF-8 is replaced
  // and non-finite numbers become null, so there is no failure to map.
  JsonWriter w;
  w.begin_object();
  for (const auto& [key, value] : parameters) {
    w.key(key);
    w.json(value);
  }
  w.end_object();
  return w.take();
}

std::string rule_dedup_key(const vorn::model::Rule& rule) {
  return fmt::format("{}|{}|{}|{}", rule.rule, rule.target, vorn::model::to_string(rule.phase),
                     canonical_parameters(rule.parameters));
}

std::string rule_effect_identity(const vorn::model::Rule& rule) {
  return fmt::format("{}:{}", vorn::model::to_string(rule.phase), canonical_parameters(rule.parameters));
}

}  // namespace vorn::plan::rule_key
