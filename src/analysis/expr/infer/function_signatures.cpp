#include "analysis/expr/infer/function_signatures.h"

#include <algorithm>
#include <array>

#include <nlohmann/json.hpp>

#include "model/json_value.h"
#include "support/unicode.h"

namespace vorn::analysis::expr::types {
namespace {

using nlohmann::json;

// The object of a JSON text, or none when the text does not parse, is not
// an object, or names one of `watched` twice at the top level (the record
// reader refuses a repeated declared key, so typing does not take the last).
template <std::size_t N>
std::optional<json> decode_object(std::string_view text, const std::array<std::string_view, N>& watched) {
  std::vector<std::string> seen;
  bool repeated = false;
  auto note_keys = [&](int depth, json::parse_event_t event, json& parsed) {
    if (event != json::parse_event_t::key || depth != 1) return true;
    const auto& key = parsed.get_ref<const std::string&>();
    if (std::find(watched.begin(), watched.end(), key) == watched.end()) return true;
    if (std::find(seen.begin(), seen.end(), key) != seen.end()) repeated = true;
    seen.push_back(key);
    return true;
  };
  try {
    json value = model::parse_json_text(text, note_keys);
    if (repeated || !value.is_object()) return std::nullopt;
    return value;
  } catch (const json::exception&) {
    return std::nullopt;
  }
}

bool is_unsigned(const json& v) {
  return v.is_number_unsigned() || (v.is_number_integer() && v.get<std::int64_t>() >= 0);
}

std::uint64_t as_unsigned(const json& v) {
  return v.is_number_unsigned() ? v.get<std::uint64_t>() : static_cast<std::uint64_t>(v.get<std::int64_t>());
}

bool read_arg_types(const json& v, std::vector<std::string>& out) {
  if (!v.is_array()) return false;
  for (const json& item : v) {
    if (!item.is_string()) return false;
    out.push_back(item.get<std::string>());
  }
  return true;
}

constexpr std::array<std::string_view, 5> kDefinitionKeys = {"minArgs", "maxArgs", "argTypes",
                                                             "returnType", "returnNullable"};
constexpr std::array<std::string_view, 1> kReturnNullableKey = {"returnNullable"};

}  // namespace

FunctionTable FunctionTable::from_contract(const model::TransformationContract& contract) {
  FunctionTable table;
  table.by_id_.reserve(contract.functions.size());
  for (const model::Function& f : contract.functions) table.by_id_[f.id] = &f;
  return table;
}

const model::Function* FunctionTable::find(std::string_view id) const {
  auto it = by_id_.find(id);
  return it == by_id_.end() ? nullptr : it->second;
}

bool looks_like_json_object(std::string_view definition) {
  std::string_view trimmed = trim_white_space(definition);
  return !trimmed.empty() && trimmed.front() == '{';
}

std::optional<RegistryFunctionDef> decode_function_definition(std::string_view definition) {
  if (!looks_like_json_object(definition)) return std::nullopt;
  std::optional<json> object = decode_object(trim_white_space(definition), kDefinitionKeys);
  if (!object) return std::nullopt;

  RegistryFunctionDef def;
  if (auto it = object->find("minArgs"); it != object->end()) {
    if (!is_unsigned(*it)) return std::nullopt;
    def.min_args = as_unsigned(*it);
  }
  if (auto it = object->find("maxArgs"); it != object->end() && !it->is_null()) {
    if (!is_unsigned(*it)) return std::nullopt;
    def.max_args = as_unsigned(*it);
  }
  if (auto it = object->find("argTypes"); it != object->end()) {
    if (!read_arg_types(*it, def.arg_types)) return std::nullopt;
  }
  auto return_type = object->find("returnType");
  if (return_type == object->end() || !return_type->is_string()) return std::nullopt;
  def.return_type = return_type->get<std::string>();
  if (auto it = object->find("returnNullable"); it != object->end()) {
    if (!it->is_boolean()) return std::nullopt;
    def.return_nullable = it->get<bool>();
  }
  return def;
}

bool function_return_nullable(const model::Function& function,
                              const model::registry::RegistryDocument& registry) {
  if (function.nullable) return true;
  if (!function.function.starts_with("vorn:")) return false;
  auto entry = registry.entries.find(function.function);
  if (entry == registry.entries.end()) return false;
  const std::optional<std::string>& definition = entry->second.definition;
  if (!definition || !looks_like_json_object(*definition)) return false;
  // Only returnNullable is read here: a definition that is wrong in any
  // other key still answers.
  std::optional<json> object = decode_object(trim_white_space(*definition), kReturnNullableKey);
  if (!object) return false;
  auto it = object->find("returnNullable");
  return it != object->end() && it->is_boolean() && it->get<bool>();
}

}  // namespace vorn::analysis::expr::types
