#include "model/types/logical_type.h"

#include <algorithm>
#include <array>

#include "model/identifiers.h"
#include "support/unicode.h"

namespace vorn::model::types {
namespace {

constexpr std::array<std::string_view, 9> kPrimitiveNames = {
    "string", "binary", "boolean", "integer", "decimal", "date", "time", "datetime", "duration"};
constexpr std::array<std::string_view, 4> kCompositeNames = {"list", "map", "tuple", "object"};

constexpr std::size_t kNone = std::string_view::npos;

// Half-open byte range into the declaration being parsed.
struct Range {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool empty() const { return begin == end; }
};

// What one declaration turned out to be, short of parsing its parameters.
struct Shape {
  enum Kind { Primitive, Extension, Composite } kind = Primitive;
  std::string_view base;
  Range parameters;
};

// Parses one trimmed declaration without recursion. The closing ">" of
// every "<" is found once, up front, with a stack; that is the same ">" that
// counting levels from the "<" would reach, and it does not depend on where
// the enclosing range ends. Each nested range is then scanned only at its
// own level, jumping over bracket groups, so the total work stays linear.
class DeclarationParser {
 public:
  explicit DeclarationParser(std::string_view text) : text_(text) { match_brackets(); }

  std::variant<Shape, TypeParseError> classify(Range range) const;
  std::optional<TypeParseError> split(Range parameters, std::vector<Range>& pieces) const;
  bool parses(Range declaration) const;
  std::string_view text_of(Range r) const { return text_.substr(r.begin, r.end - r.begin); }

 private:
  void match_brackets();
  Range trimmed(Range r) const;
  // The ">" closing the "<" at open, or kNone when it lies at or past end.
  std::size_t closing_of(std::size_t open, std::size_t end) const {
    std::size_t close = closing_[open];
    return close < end ? close : kNone;
  }

  std::string_view text_;
  std::vector<std::size_t> closing_;
};

void DeclarationParser::match_brackets() {
  if (text_.find('<') == kNone) return;
  closing_.assign(text_.size(), kNone);
  std::vector<std::size_t> open;
  for (std::size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] == '<') {
      open.push_back(i);
    } else if (text_[i] == '>' && !open.empty()) {
      closing_[open.back()] = i;
      open.pop_back();
    }
  }
}

Range DeclarationParser::trimmed(Range r) const {
  std::string_view t = trim_white_space(text_of(r));
  std::size_t begin = static_cast<std::size_t>(t.data() - text_.data());
  return {begin, begin + t.size()};
}

std::variant<Shape, TypeParseError> DeclarationParser::classify(Range range) const {
  using E = TypeParseError;
  Range whole = trimmed(range);
  std::string_view s = text_of(whole);
  if (s.empty()) return E{E::Malformed{"type is empty"}};
  if (is_primitive_type_name(s)) return Shape{Shape::Primitive, {}, {}};
  if (is_composite_type_name(s)) return E{E::MissingTypeParameters{std::string(s)}};
  std::size_t open = s.find('<');
  if (open == kNone) {
    if (is_extension_type_identifier(s)) return Shape{Shape::Extension, {}, {}};
    return E{E::UnknownType{std::string(s)}};
  }
  std::string_view base = trim_white_space(s.substr(0, open));
  if (!is_composite_type_name(base)) {
    if (is_extension_type_identifier(s)) return Shape{Shape::Extension, {}, {}};
    return E{E::UnknownType{std::string(base)}};
  }
  open += whole.begin;
  std::size_t close = closing_of(open, whole.end);
  if (close == kNone || !is_blank(text_of({close + 1, whole.end}))) {
    return E{E::Malformed{std::string(s)}};
  }
  Range parameters = trimmed({open + 1, close});
  if (parameters.empty()) return E{E::Malformed{std::string(s)}};
  return Shape{Shape::Composite, base, parameters};
}

std::optional<TypeParseError> DeclarationParser::split(Range parameters,
                                                       std::vector<Range>& pieces) const {
  // Within a bracket pair every "<" closes before the pair does and no ">"
  // is left over, so the level never drops below the starting one here.
  auto add_piece = [&](Range piece) {
    Range t = trimmed(piece);
    if (!t.empty()) pieces.push_back(t);
  };
  std::size_t start = parameters.begin;
  std::size_t i = parameters.begin;
  while (i < parameters.end) {
    if (text_[i] == '<') {
      std::size_t close = closing_of(i, parameters.end);
      if (close == kNone) break;  // never back at the top level
      i = close + 1;
      continue;
    }
    if (text_[i] == ',') {
      add_piece({start, i});
      start = i + 1;
    }
    ++i;
  }
  add_piece({start, parameters.end});
  if (pieces.empty()) {
    return TypeParseError{TypeParseError::Malformed{std::string(text_of(parameters))}};
  }
  return std::nullopt;
}

// Whether a declaration parses, with a work list in place of recursion. Which
// nested step fails does not matter to the caller, only whether one does.
bool DeclarationParser::parses(Range declaration) const {
  std::vector<Range> pending{declaration};
  std::vector<Range> pieces;
  while (!pending.empty()) {
    Range r = pending.back();
    pending.pop_back();
    auto classified = classify(r);
    const Shape* shape = std::get_if<Shape>(&classified);
    if (shape == nullptr) return false;
    if (shape->kind != Shape::Composite) continue;
    pieces.clear();
    if (split(shape->parameters, pieces)) return false;
    if (validate_composite_arity(shape->base, pieces.size())) return false;
    pending.insert(pending.end(), pieces.rbegin(), pieces.rend());
  }
  return true;
}

template <std::size_t N>
bool contains(const std::array<std::string_view, N>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

bool is_primitive_type_name(std::string_view name) { return contains(kPrimitiveNames, name); }
bool is_composite_type_name(std::string_view name) { return contains(kCompositeNames, name); }

TypeResult<LogicalType> parse_logical_type(std::string_view text) {
  std::string_view trimmed = trim_white_space(text);
  DeclarationParser parser(trimmed);
  auto classified = parser.classify({0, trimmed.size()});
  if (auto* error = std::get_if<TypeParseError>(&classified)) return std::move(*error);
  const Shape& shape = std::get<Shape>(classified);
  std::string whole(trimmed);
  if (shape.kind == Shape::Primitive) return LogicalType{LogicalType::Primitive{std::move(whole)}};
  if (shape.kind == Shape::Extension) return LogicalType{LogicalType::Extension{std::move(whole)}};

  std::vector<Range> pieces;
  if (auto error = parser.split(shape.parameters, pieces)) return std::move(*error);
  for (Range piece : pieces) {
    if (!parser.parses(piece)) {
      std::string parameter(parser.text_of(piece));
      return TypeParseError{TypeParseError::UnknownNestedParameter{std::move(parameter)}};
    }
  }
  if (auto error = validate_composite_arity(shape.base, pieces.size())) return std::move(*error);
  LogicalType::Composite composite{std::string(shape.base), {}};
  composite.parameters.reserve(pieces.size());
  for (Range piece : pieces) composite.parameters.emplace_back(parser.text_of(piece));
  return LogicalType{std::move(composite)};
}

TypeResult<std::vector<std::string>> split_type_parameters(std::string_view parameter_text) {
  std::vector<std::string> pieces;
  auto add_piece = [&](std::string_view piece) {
    std::string_view t = trim_white_space(piece);
    if (!t.empty()) pieces.emplace_back(t);
  };
  // Signed: a stray ">" takes the level below zero, and commas count only
  // once it is back at zero.
  std::ptrdiff_t level = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < parameter_text.size(); ++i) {
    char c = parameter_text[i];
    if (c == '<') {
      ++level;
    } else if (c == '>') {
      --level;
    } else if (c == ',' && level == 0) {
      add_piece(parameter_text.substr(start, i - start));
      start = i + 1;
    }
  }
  add_piece(parameter_text.substr(start));
  if (pieces.empty()) return TypeParseError{TypeParseError::Malformed{std::string(parameter_text)}};
  return pieces;
}

std::optional<TypeParseError> validate_composite_arity(std::string_view name, std::size_t count) {
  const char* expected = nullptr;
  if (name == "list" && count != 1) expected = "exactly 1";
  if (name == "map" && count != 2) expected = "exactly 2";
  if ((name == "tuple" || name == "object") && count < 1) expected = "at least 1";
  if (expected == nullptr) return std::nullopt;
  return TypeParseError{TypeParseError::ArityMismatch{std::string(name), expected, count}};
}

bool is_extension_type_identifier(std::string_view text) {
  std::string_view trimmed = trim_white_space(text);
  if (!identifiers::is_vendor_namespaced_identifier(trimmed)) return false;
  std::string_view ns = trimmed.substr(0, trimmed.find(':'));
  return !is_primitive_type_name(ns) && !is_composite_type_name(ns);
}

TypeCompatibility type_compatible(const LogicalType& from, const LogicalType& to) {
  using L = LogicalType;
  if (from.value.index() != to.value.index()) return TypeCompatibility::Incompatible;
  if (const auto* a = from.get_if<L::Primitive>()) {
    const auto& b = std::get<L::Primitive>(to.value);
    if (a->name == b.name) return TypeCompatibility::Compatible;
    bool integer_decimal = (a->name == "integer" && b.name == "decimal") ||
                    (a->name == "decimal" && b.name == "integer");
    return integer_decimal ? TypeCompatibility::Lossy : TypeCompatibility::Incompatible;
  }
  // Composites and extension types have no lossy answer: equal or not.
  return from == to ? TypeCompatibility::Compatible : TypeCompatibility::Incompatible;
}

}  // namespace vorn::model::types
