#include "model/semantics.h"

#include "parser/record_io.h"

namespace vorn::model {

using parser::Event;
using parser::EventKind;
using parser::EventReader;

namespace {

constexpr std::string_view kModeNames[] = {"unordered", "explicit"};
constexpr parser::EnumSpec kMode{"enum ActionOrdering", kModeNames};
constexpr std::string_view kExplicitArity = "struct variant ActionOrdering::Explicit with 1 element";

bool read_mode(EventReader& r, ActionOrdering& out) {
  std::size_t index = 0;
  if (!parser::read_enum_index(r, kMode, index)) return false;
  out.mode = static_cast<ActionOrdering::Mode>(index);
  return true;
}

// The mapping form: `mode` may stand anywhere, so find it before the rest.
bool read_mapping(EventReader& r, ActionOrdering& out) {
  std::size_t mode_at = 0, order_at = 0;
  r.take();
  while (r.peek().kind != EventKind::MapEnd) {
    const Event& key = r.peek();
    r.skip_value();
    std::string_view name = key.kind == EventKind::Scalar ? r.text(key) : std::string_view();
    std::size_t* slot = name == "mode" ? &mode_at : name == "order" ? &order_at : nullptr;
    if (slot) {
      if (*slot) return r.fail(fmt::format("duplicate field `{}`", name), key);
      *slot = r.position();
    }
    r.skip_value();
  }
  const Event& end = r.take();
  std::size_t resume = r.position();
  if (!mode_at) return r.fail("missing field `mode`", end);
  r.seek(mode_at);
  if (!read_mode(r, out)) return false;
  if (out.mode == ActionOrdering::Mode::Explicit) {
    if (!order_at) return r.fail("missing field `order`", end);
    r.seek(order_at);
    if (!parser::List<parser::Text>::read(r, out.order)) return false;
  }
  r.seek(resume);
  return true;
}

// The sequence form: the mode, then the variant's values in key order.
bool read_sequence(EventReader& r, ActionOrdering& out) {
  r.take();
  if (r.peek().kind == EventKind::SeqEnd) return r.fail("missing field `mode`", r.peek());
  if (!read_mode(r, out)) return false;
  std::size_t values = 0;
  if (out.mode == ActionOrdering::Mode::Explicit && r.peek().kind != EventKind::SeqEnd) {
    if (!parser::List<parser::Text>::read(r, out.order)) return false;
    values = 1;
  }
  std::size_t extra = 0;
  while (r.peek().kind != EventKind::SeqEnd) {
    r.skip_value();
    ++extra;
  }
  const Event& end = r.take();
  if (out.mode == ActionOrdering::Mode::Unordered && extra > 0)
    return r.fail(fmt::format("invalid length {}, expected unit variant ActionOrdering::Unordered", extra),
                  end);
  if (out.mode == ActionOrdering::Mode::Explicit && (values == 0 || extra > 0))
    return r.fail(fmt::format("invalid length {}, expected {}", values + extra, kExplicitArity), end);
  return true;
}

struct OrderingCodec {
  static bool read(EventReader& r, std::optional<ActionOrdering>& v) {
    if (parser::is_null(r.peek())) {
      r.take();
      v.reset();
      return true;
    }
    return ActionOrdering::read(r, v.emplace());
  }
  static void write_field(JsonWriter& w, std::string_view k, const std::optional<ActionOrdering>& v) {
    if (!v) return;
    w.key(k);
    v->serialize(w);
  }
};

}  // namespace

bool ActionOrdering::read(EventReader& r, ActionOrdering& out) {
  const Event& e = r.peek();
  if (e.kind == EventKind::MapStart) return read_mapping(r, out);
  if (e.kind == EventKind::SeqStart) return read_sequence(r, out);
  return r.fail_invalid_type(e, "internally tagged enum ActionOrdering");
}

void ActionOrdering::serialize(JsonWriter& w) const {
  w.begin_object();
  w.key("mode");
  w.string(kModeNames[static_cast<std::size_t>(mode)]);
  if (mode == Mode::Explicit) parser::List<parser::Text>::write_field(w, "order", order);
  w.end_object();
}

const parser::RecordSpec<SideEffectDeclaration>& SideEffectDeclaration::spec() {
  using T = SideEffectDeclaration;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "id", id, parser::Text, true),
      VORN_FIELD(T, "kind", kind, parser::Text, true),
      VORN_FIELD(T, "description", description, parser::OptText, false),
  };
  static const parser::RecordSpec<T> spec{"struct SideEffectDeclaration", fields, nullptr,
                                          "struct SideEffectDeclaration with 3 elements"};
  return spec;
}

const parser::RecordSpec<TransformationSemantics>& TransformationSemantics::spec() {
  using T = TransformationSemantics;
  using SideEffects = parser::ListOmitEmpty<parser::Record<SideEffectDeclaration>>;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "deterministic", deterministic, parser::OptFlag, false),
      VORN_FIELD(T, "pure", pure, parser::OptFlag, false),
      VORN_FIELD(T, "ordering", ordering, OrderingCodec, false),
      VORN_FIELD(T, "sideEffects", side_effects, SideEffects, false),
  };
  static const parser::RecordSpec<T> spec{"struct TransformationSemantics", fields, nullptr,
                                          "struct TransformationSemantics with 4 elements"};
  return spec;
}

}  // namespace vorn::model
