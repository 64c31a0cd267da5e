#include "analysis/expr/format.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

namespace vorn::analysis::expr::format {
namespace {

using ast::Expr;

// The shortest digits that read back as `v`, laid out positionally. Fixed
// notation of to_chars would print the exact binary value of large doubles
// (1e300 has 301 significant digits), so the digits come from the shortest
// scientific form and are placed by its exponent.
std::string format_decimal(double v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  if (v == 0.0) return std::signbit(v) ? "-0" : "0";
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific);
  if (ec != std::errc()) return "NaN";  // not reachable: 64 bytes hold any double
  std::string_view sci(buf, static_cast<std::size_t>(end - buf));  // d[.ddd]e(+|-)XX
  std::size_t e = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, e)) {
    if (c != '.') digits += c;
  }
  std::string_view exp_text = sci.substr(e + 1);
  if (!exp_text.empty() && exp_text[0] == '+') exp_text.remove_prefix(1);
  int exponent = 0;
  std::from_chars(exp_text.data(), exp_text.data() + exp_text.size(), exponent);

  // Digits before the decimal point: the value is 0.<digits> x 10^point.
  long point = exponent + 1L;
  long count = static_cast<long>(digits.size());
  std::string out = v < 0 ? "-" : "";
  if (point <= 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-point), '0');
    out += digits;
  } else if (point >= count) {
    out += digits;
    out.append(static_cast<std::size_t>(point - count), '0');
  } else {
    out.append(digits, 0, static_cast<std::size_t>(point));
    out += '.';
    out.append(digits, static_cast<std::size_t>(point));
  }
  return out;
}

std::string quote(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  out += '"';
  return out;
}

// A unit of pending output: literal text, or a subtree still to be written.
struct Piece {
  std::string_view text;
  const Expr* node = nullptr;
  bool nested = false;
};

// Writes one node; its children and separators go onto `todo` in reverse
// order of appearance, so that the stack pops them left to right.
void write_node(const Expr& e, bool nested, std::string& out, std::vector<Piece>& todo) {
  if (const auto* literal = e.as<Expr::Literal>()) {
    out += format_literal(literal->value);
  } else if (const auto* field = e.as<Expr::FieldRef>()) {
    out += field->name;
  } else if (const auto* unary = e.as<Expr::Unary>()) {
    out += symbol(unary->op);
    const Expr& operand = *unary->operand;
    // A binary operand written nested = true is the same text as written
    // nested = false and then wrapped.
    todo.push_back({{}, &operand, operand.kind() == ast::ExprKind::Binary});
  } else if (const auto* binary = e.as<Expr::Binary>()) {
    if (nested) todo.push_back({")"});
    todo.push_back({{}, binary->right.get(), true});
    todo.push_back({" "});
    todo.push_back({symbol(binary->op)});
    todo.push_back({" "});
    todo.push_back({{}, binary->left.get(), true});
    if (nested) out += '(';
  } else if (const auto* call = e.as<Expr::Call>()) {
    out += call->name;
    out += '(';
    todo.push_back({")"});
    for (std::size_t i = call->args.size(); i-- > 0;) {
      todo.push_back({{}, call->args[i].get(), false});
      if (i > 0) todo.push_back({", "});
    }
  }
}

}  // namespace

std::string format_literal(const ast::LiteralValue& v) {
  switch (v.kind()) {
    case ast::LiteralKind::Boolean: return v.as_boolean() ? "true" : "false";
    case ast::LiteralKind::String: return quote(v.as_string());
    case ast::LiteralKind::Integer: return std::to_string(v.as_integer());
    case ast::LiteralKind::Decimal: return format_decimal(v.as_decimal());
  }
  return {};
}

std::string format_expr(const Expr& e, bool nested) {
  std::string out;
  std::vector<Piece> todo{{{}, &e, nested}};
  while (!todo.empty()) {
    Piece piece = todo.back();
    todo.pop_back();
    if (piece.node == nullptr) {
      out += piece.text;
    } else {
      write_node(*piece.node, piece.nested, out, todo);
    }
  }
  return out;
}

}  // namespace vorn::analysis::expr::format
