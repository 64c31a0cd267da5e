#pragma once
// The expression syntax tree: what the parser builds and every analysis walks.
//
// Ownership: a tree owns its children exclusively through ExprPtr; a child
// pointer inside a well-formed tree is never null. Copying a tree copies it
// deeply (spans included); moving is cheap. Trees can be as deep as their text
// is long (a left-associative chain of a million operators is a million levels
// deep), so copying and destroying never recurse: both walk with an explicit
// stack. Code that walks a tree should do the same, for instance through
// fold_post_order in analysis/expr/walk.h.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vorn::analysis::expr::ast {

// Byte offsets into the expression text: start inclusive, end exclusive.
// Offsets count UTF-8 bytes, not characters.
struct Span {
  std::size_t start = 0;
  std::size_t end = 0;

  bool operator==(const Span&) const = default;
};

enum class LiteralKind : std::uint8_t { Boolean, String, Integer, Decimal };

// A constant value: a literal of the text or the result of evaluation.
// Integers and decimals are distinct kinds; 1 and 1.0 are different values.
struct LiteralValue {
  // Alternatives in LiteralKind order.
  using Data = std::variant<bool, std::string, std::int64_t, double>;
  Data data;

  static LiteralValue boolean(bool v) { return {Data(std::in_place_index<0>, v)}; }
  static LiteralValue string(std::string v) { return {Data(std::in_place_index<1>, std::move(v))}; }
  static LiteralValue integer(std::int64_t v) { return {Data(std::in_place_index<2>, v)}; }
  static LiteralValue decimal(double v) { return {Data(std::in_place_index<3>, v)}; }

  LiteralKind kind() const { return static_cast<LiteralKind>(data.index()); }
  bool is_boolean() const { return kind() == LiteralKind::Boolean; }
  bool is_string() const { return kind() == LiteralKind::String; }
  bool is_integer() const { return kind() == LiteralKind::Integer; }
  bool is_decimal() const { return kind() == LiteralKind::Decimal; }

  // Each accessor requires the matching kind.
  bool as_boolean() const { return std::get<0>(data); }
  const std::string& as_string() const { return std::get<1>(data); }
  std::int64_t as_integer() const { return std::get<2>(data); }
  double as_decimal() const { return std::get<3>(data); }

  // Same kind and equal payload; decimals compare by IEEE equality, so a
  // not-a-number value never equals anything and 0.0 equals -0.0.
  bool operator==(const LiteralValue&) const = default;
};

enum class UnaryOp : std::uint8_t { Neg, Not };

enum class BinaryOp : std::uint8_t { Add, Sub, Mul, Div, Eq, Ne, Lt, Le, Gt, Ge, And, Or };

// "-" / "!" and "+", "==", "&&", ...: the text the operator is written with.
std::string_view symbol(UnaryOp op);
std::string_view symbol(BinaryOp op);

enum class ExprKind : std::uint8_t { Literal, FieldRef, Unary, Binary, Call };

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
  struct Literal {
    LiteralValue value;
  };
  // A field as written, such as in.amount.
  struct FieldRef {
    std::string name;
  };
  struct Unary {
    UnaryOp op;
    ExprPtr operand;
  };
  struct Binary {
    BinaryOp op;
    ExprPtr left;
    ExprPtr right;
  };
  // A function call by its name as written (vorn:upper, a contract function
  // id, ...) with its arguments in order.
  struct Call {
    std::string name;
    std::vector<ExprPtr> args;
  };

  // Alternatives in ExprKind order.
  using Node = std::variant<Literal, FieldRef, Unary, Binary, Call>;

  Span span;
  Node node;

  Expr(Span s, Node n) : span(s), node(std::move(n)) {}
  Expr(const Expr& other);
  Expr(Expr&& other) noexcept = default;
  Expr& operator=(const Expr& other);
  // Safe also when `other` is a descendant of this tree.
  Expr& operator=(Expr&& other) noexcept;
  ~Expr();

  static Expr literal(LiteralValue value, Span s);
  static Expr field_ref(std::string name, Span s);
  static Expr unary(UnaryOp op, Expr operand, Span s);
  static Expr binary(BinaryOp op, Expr left, Expr right, Span s);
  static Expr call(std::string name, std::vector<Expr> args, Span s);

  ExprKind kind() const { return static_cast<ExprKind>(node.index()); }

  // The node's alternative when it is a T, else null.
  template <class T>
  const T* as() const {
    return std::get_if<T>(&node);
  }
  template <class T>
  T* as() {
    return std::get_if<T>(&node);
  }
};

}  // namespace vorn::analysis::expr::ast
