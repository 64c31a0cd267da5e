#include "model/json_value.h"

#include <utility>
#include <vector>

namespace vorn::model {
namespace {

bool is_integer(const JsonValue& v) { return v.is_number_integer(); }

bool scalar_equal(const JsonValue& a, const JsonValue& b) {
  if (a.is_number() && b.is_number()) {
    if (is_integer(a) != is_integer(b)) return false;
    if (a.is_number_float()) return a.get<double>() == b.get<double>();
    // Signed and unsigned integers compare by value.
    if (a.is_number_unsigned() || b.is_number_unsigned()) {
      if (a.is_number_unsigned() && b.is_number_unsigned())
        return a.get<std::uint64_t>() == b.get<std::uint64_t>();
      const JsonValue& s = a.is_number_unsigned() ? b : a;
      const JsonValue& u = a.is_number_unsigned() ? a : b;
      return s.get<std::int64_t>() >= 0 &&
             static_cast<std::uint64_t>(s.get<std::int64_t>()) == u.get<std::uint64_t>();
    }
    return a.get<std::int64_t>() == b.get<std::int64_t>();
  }
  return a == b;
}

}  // namespace

bool json_equal(const JsonValue& a, const JsonValue& b) {
  // Iterative: values can nest as deep as their documents allow.
  std::vector<std::pair<const JsonValue*, const JsonValue*>> work{{&a, &b}};
  while (!work.empty()) {
    auto [x, y] = work.back();
    work.pop_back();
    if (x->is_structured() || y->is_structured()) {
      if (x->type() != y->type() || x->size() != y->size()) return false;
      if (x->is_array()) {
        for (std::size_t i = 0; i < x->size(); ++i) work.emplace_back(&(*x)[i], &(*y)[i]);
      } else {
        auto xi = x->begin();
        auto yi = y->begin();
        for (; xi != x->end(); ++xi, ++yi) {
          if (xi.key() != yi.key()) return false;
          work.emplace_back(&xi.value(), &yi.value());
        }
      }
    } else if (!scalar_equal(*x, *y)) {
      return false;
    }
  }
  return true;
}

bool json_map_equal(const JsonMap& a, const JsonMap& b) {
  if (a.size() != b.size()) return false;
  for (const auto& [key, value] : a) {
    auto it = b.find(key);
    if (it == b.end() || !json_equal(value, it->second)) return false;
  }
  return true;
}

JsonValue parse_json_text(std::string_view text, const JsonValue::parser_callback_t& callback) {
  if (text.find('\0') != std::string_view::npos) return JsonValue(JsonValue::value_t::discarded);
  return JsonValue::parse(text.begin(), text.end(), callback, /*allow_exceptions=*/false);
}

}  // namespace vorn::model
