#pragma once
// The fields an expression reads.

#include <string>
#include <vector>

#include "analysis/expr/ast.h"

namespace vorn::analysis::expr {

// The names of the field references in the tree, as written, ascending in
// byte order and without repeats. A call's own name is not a field.
std::vector<std::string> collect_field_refs(const ast::Expr& expr);

}  // namespace vorn::analysis::expr
