#include "validation/field_index.h"

#include "support/unicode.h"

namespace vorn::validation::field_index {
namespace {

template <class Interface>
std::size_t count_fields(const std::vector<Interface>& interfaces) {
  std::size_t count = 0;
  for (const Interface& interface : interfaces) {
    if (interface.schema) count += interface.schema->fields.size();
  }
  return count;
}

}  // namespace

FieldIndex FieldIndex::from_contract(const model::TransformationContract& contract) {
  FieldIndex index;
  std::size_t field_count = count_fields(contract.inputs) + count_fields(contract.outputs);
  index.locations_.reserve(field_count);
  index.next_.reserve(field_count);
  index.by_interface_.reserve(contract.inputs.size() + contract.outputs.size());
  index.input_ids_.reserve(contract.inputs.size());
  index.output_ids_.reserve(contract.outputs.size());
  for (const model::Input& input : contract.inputs) {
    index.input_ids_.insert(input.id);
    if (input.schema) index.insert_fields(input.id, input.schema->fields, true);
  }
  for (const model::Output& output : contract.outputs) {
    index.output_ids_.insert(output.id);
    if (output.schema) index.insert_fields(output.id, output.schema->fields, false);
  }
  return index;
}

bool FieldIndex::claim_qualified(TextMap<std::uint32_t>* scope, std::string_view interface_id,
                                 std::string_view field_name, std::uint32_t position) {
  if (scope != nullptr && field_name.find('.') == std::string_view::npos)
    return scope->try_emplace(std::string(field_name), position).second;
  std::string key;
  key.reserve(interface_id.size() + 1 + field_name.size());
  key.append(interface_id).append(".").append(field_name);
  return dotted_.try_emplace(std::move(key), position).second;
}

void FieldIndex::insert_fields(std::string_view interface_id,
                               const std::vector<model::Field>& fields, bool is_input) {
  // The field names of an interface id without a dot; the table is sized
  // once for the whole schema.
  TextMap<std::uint32_t>* scope = nullptr;
  if (interface_id.find('.') == std::string_view::npos) {
    auto [it, created] = by_interface_.try_emplace(std::string(interface_id));
    scope = &it.value();
    if (created) scope->reserve(fields.size());
  }
  for (const model::Field& field : fields) {
    auto position = static_cast<std::uint32_t>(locations_.size());
    if (!claim_qualified(scope, interface_id, field.name, position)) continue;
    locations_.push_back(FieldLocation{std::string(interface_id), field.name, field.type, field.nullable, is_input});
    next_.push_back(position);  // a chain ends where it points to itself
    auto [chain, first] = bare_.try_emplace(field.name, Chain{position, position, 0});
    if (!first) next_[chain->second.last] = position;
    chain.value().last = position;
    ++chain.value().size;
  }
}

const FieldLocation* FieldIndex::find_qualified(std::string_view text) const {
  std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) return nullptr;
  if (text.find('.', dot + 1) != std::string_view::npos) {
    auto it = dotted_.find(text);
    return it == dotted_.end() ? nullptr : &locations_[it->second];
  }
  auto scope = by_interface_.find(text.substr(0, dot));
  if (scope == by_interface_.end()) return nullptr;
  auto it = scope->second.find(text.substr(dot + 1));
  return it == scope->second.end() ? nullptr : &locations_[it->second];
}

TargetResolution FieldIndex::resolve(std::string_view target) const {
  std::string_view text = trim_white_space(target);
  if (text.empty()) return {TargetResolution::Unresolved{}};
  if (const FieldLocation* location = find_qualified(text)) return {TargetResolution::Field{location}};
  // Splitting at the first dot and joining the parts again gives back the
  // same text, which has just been looked up as a qualified name.
  if (text.find('.') != std::string_view::npos) return {TargetResolution::Unresolved{}};
  if (auto it = bare_.find(text); it != bare_.end()) {
    const Chain& chain = it->second;
    if (chain.size == 1) return {TargetResolution::Field{&locations_[chain.first]}};
    return {TargetResolution::Ambiguous{this, chain.first}};
  }
  if (input_ids_.contains(text)) return {TargetResolution::Interface{std::string(text), true}};
  if (output_ids_.contains(text)) return {TargetResolution::Interface{std::string(text), false}};
  return {TargetResolution::Unresolved{}};
}

std::vector<const FieldLocation*> TargetResolution::Ambiguous::locations() const {
  std::vector<const FieldLocation*> found;
  // A chain ends at the location that points to itself.
  for (std::uint32_t p = first;; p = index->next_[p]) {
    found.push_back(&index->locations_[p]);
    if (index->next_[p] == p) break;
  }
  return found;
}

bool FieldIndex::has_io_id_collision() const {
  const TextSet& smaller = input_ids_.size() <= output_ids_.size() ? input_ids_ : output_ids_;
  const TextSet& larger = &smaller == &input_ids_ ? output_ids_ : input_ids_;
  for (const std::string& id : smaller) {
    if (larger.contains(id)) return true;
  }
  return false;
}

std::vector<std::string_view> FieldIndex::ambiguous_field_names() const {
  std::vector<std::string_view> names;
  for (const auto& [name, chain] : bare_) {
    if (chain.size > 1) names.push_back(name);
  }
  return names;
}

}  // namespace vorn::validation::field_index
