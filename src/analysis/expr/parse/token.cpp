#include "analysis/expr/parse/token.h"

namespace vorn::analysis::expr::parse {

std::string_view token_kind_name(TokenKind kind) {
  switch (kind) {
    case TokenKind::Identifier: return "identifier";
    case TokenKind::StringLiteral: return "string literal";
    case TokenKind::Integer: return "integer";
    case TokenKind::Decimal: return "decimal";
    case TokenKind::BooleanTrue:
    case TokenKind::BooleanFalse: return "boolean";
    case TokenKind::LeftParen: return "(";
    case TokenKind::RightParen: return ")";
    case TokenKind::Comma: return ",";
    case TokenKind::Operator: return "operator";
    case TokenKind::EndOfInput: return "end of input";
  }
  return "token";
}

}  // namespace vorn::analysis::expr::parse
