#pragma once
// Answers what a target text (a qualified field name "interface.field", a
// bare field name or an interface id) refers to in one contract. Built per
// use and never changed afterwards.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include <tsl/ordered_map.h>
#include <tsl/ordered_set.h>

#include "model/contract.h"

namespace vorn::validation::field_index {

class FieldIndex;

// One declared field; every text as written.
struct FieldLocation {
  std::string interface_id;
  std::string field_name;
  std::string type;  // not parsed
  bool nullable = false;
  bool is_input = false;

  bool operator==(const FieldLocation&) const = default;
};

struct TargetResolution {
  // The one field meant; points into the index and lives as long as it.
  struct Field {
    const FieldLocation* location = nullptr;
  };
  // The trimmed target names an input (is_input) or an output.
  struct Interface {
    std::string id;
    bool is_input = false;
    bool operator==(const Interface&) const = default;
  };
  // A bare field name declared by several interfaces. A handle into the
  // index, so that asking for a name that many interfaces share costs
  // nothing per interface; the locations are walked only when asked for.
  struct Ambiguous {
    const FieldIndex* index = nullptr;
    std::uint32_t first = 0;
    // In declaration order.
    std::vector<const FieldLocation*> locations() const;
  };
  struct Unresolved {
    bool operator==(const Unresolved&) const = default;
  };

  std::variant<Field, Interface, Ambiguous, Unresolved> value;

  template <class V>
  const V* get_if() const { return std::get_if<V>(&value); }
};

class FieldIndex {
 public:
  // Inputs first, then outputs, each in declaration order.
  static FieldIndex from_contract(const model::TransformationContract& contract);

  // The first declaration of a qualified name wins; a later one is entered
  // nowhere, not even under its bare name.
  // For building only: it may move the locations that earlier Field answers
  // point to.
  void insert_fields(std::string_view interface_id, const std::vector<model::Field>& fields,
                     bool is_input);

  // Qualified names first, then bare field names, then interface ids (inputs
  // before outputs). A dotted target only ever matches a qualified name.
  TargetResolution resolve(std::string_view target) const;

  // Some id names both an input and an output.
  bool has_io_id_collision() const;

  // The bare field names that resolve to Ambiguous, in no fixed order; the
  // views live as long as the index.
  std::vector<std::string_view> ambiguous_field_names() const;

 private:
  // Lets string_view keys be looked up without building a std::string.
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  // Open addressing over one vector of entries in insertion order: no node
  // per entry, so a contract's hundred thousand fields stay a few arrays.
  template <class V>
  using TextMap = tsl::ordered_map<std::string, V, TextHash, std::equal_to<>,
                                   std::allocator<std::pair<std::string, V>>,
                                   std::vector<std::pair<std::string, V>>>;
  using TextSet = tsl::ordered_set<std::string, TextHash, std::equal_to<>, std::allocator<std::string>,
                                   std::vector<std::string>>;
  // The locations of one bare field name: a chain through next_, in
  // declaration order.
  struct Chain {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    std::uint32_t size = 0;
  };

  // Claims the qualified name of `interface_id` and `field_name` for the
  // location at `position`; false when an earlier field holds it. `scope`
  // holds the field names of the interface id, unless the id has a dot.
  bool claim_qualified(TextMap<std::uint32_t>* scope, std::string_view interface_id,
                       std::string_view field_name, std::uint32_t position);
  const FieldLocation* find_qualified(std::string_view text) const;
  friend struct TargetResolution;

  // Every entered field, in declaration order.
  std::vector<FieldLocation> locations_;
  // Qualified names with a single dot, looked up in two steps: the
  // interface id, then the field name among that interface's few fields.
  // Building touches one small table per interface instead of one large
  // table per field.
  TextMap<TextMap<std::uint32_t>> by_interface_;
  // Qualified names with more dots, whole: "a.b" + "c" and "a" + "b.c" are
  // one name.
  TextMap<std::uint32_t> dotted_;
  TextMap<Chain> bare_;
  std::vector<std::uint32_t> next_;
  TextSet input_ids_;
  TextSet output_ids_;
};

}  // namespace vorn::validation::field_index
