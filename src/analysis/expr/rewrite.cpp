#include "analysis/expr/rewrite.h"

#include "analysis/expr/eval/evaluate.h"
#include "analysis/expr/format.h"
#include "analysis/expr/parse/parser.h"
#include "analysis/expr/simplify.h"
#include "support/unicode.h"

namespace vorn::analysis::expr::rewrite {

std::string normalize_expression_body(std::string_view text) {
  auto parsed = parse::parse_expression(text);
  if (!parsed) return std::string(vorn::trim_white_space(text));
  ast::Expr simplified = simplify_expression(parsed.value());
  if (auto value = eval::evaluate(simplified)) return format::format_literal(*value);
  return format::format_expr(simplified, false);
}

}  // namespace vorn::analysis::expr::rewrite
