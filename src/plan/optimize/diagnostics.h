#pragma once
// The diagnostics optimization reports itself, one table row each.

#include <string>
#include <string_view>

#include "diagnostics/diagnostic.h"

namespace vorn::plan::optimize {

enum class Problem {
  kInputInvalid,
  kExpressionSkipped,  // the type guard kept an expression rewrite out
  kFunctionSkipped,    // the type guard kept a call folding out
  kRebuildFailed,
  kOutputInvalid,
};

// The row of `problem`, its message filled with `node_id` where it names a
// node; `object_ref` serves the rows whose path depends on the node.
diagnostics::Diagnostic report(Problem problem, std::string_view node_id = {}, std::string object_ref = {});

}  // namespace vorn::plan::optimize
