#include "plan/model/node_kind.h"

#include <fmt/format.h>

#include "parser/record_io.h"

namespace vorn::plan::model {
namespace {

using parser::Event;
using parser::EventKind;
using parser::EventReader;

// In variant order.
constexpr std::string_view kTags[] = {"semanticAction", "expression", "rule"};
constexpr parser::EnumSpec kTag{"variant identifier", kTags};

bool read_tag(EventReader& r, std::size_t& index) {
  const Event& e = r.peek();
  if (e.kind != EventKind::Scalar) return r.fail_invalid_type(e, kTag.expected);
  return parser::read_enum_index(r, kTag, index);
}

// The position of the tag's value, found before anything else is read.
bool find_tag(EventReader& r, std::size_t& tag_at) {
  tag_at = 0;
  r.take();
  while (r.peek().kind != EventKind::MapEnd) {
    const Event& key = r.peek();
    r.skip_value();
    if (key.kind == EventKind::Scalar && r.text(key) == "kind") {
      if (tag_at) return r.fail("duplicate field `kind`", key);
      tag_at = r.position();
    }
    r.skip_value();
  }
  if (!tag_at) return r.fail("missing field `kind`", r.peek());
  return true;
}

template <class V>
bool read_body(EventReader& r, PlanNodeKind& out) {
  return parser::read_record(r, out.value.emplace<V>());
}

}  // namespace

std::string_view PlanNodeKind::tag() const { return kTags[value.index()]; }

bool PlanNodeKind::read(EventReader& r, PlanNodeKind& out) {
  const Event& e = r.peek();
  if (e.kind != EventKind::MapStart) return r.fail_invalid_type(e, "internally tagged enum PlanNodeKind");
  std::size_t start = r.position();
  std::size_t tag_at = 0;
  if (!find_tag(r, tag_at)) return false;
  r.seek(tag_at);
  std::size_t index = 0;
  if (!read_tag(r, index)) return false;
  // The record's reader skips the tag as a key it does not declare.
  r.seek(start);
  switch (index) {
    case 0: return read_body<vorn::model::SemanticAction>(r, out);
    case 1: return read_body<vorn::model::Expression>(r, out);
    default: return read_body<vorn::model::Rule>(r, out);
  }
}

void PlanNodeKind::serialize(JsonWriter& w) const {
  std::visit([&](const auto& record) { parser::write_tagged_record(w, tag(), record); }, value);
}

}  // namespace vorn::plan::model
