#include "analysis/expr/infer/infer.h"

#include <cstddef>
#include <optional>
#include <utility>
#include <variant>

#include "analysis/expr/infer/call_rules.h"
#include "analysis/expr/infer/operator_rules.h"

namespace vorn::analysis::expr::types {
namespace {

using ast::Expr;
using ast::ExprKind;
using model::registry::RegistryDocument;

enum class CallKind : bool { Contract, Registry };

// Post-order walk on heap stacks. Each frame is a node with the number of
// steps it has taken; a node that needs a child's type pushes the child and
// picks up its result from `last_` when it is on top again. Open calls keep
// their state in `calls_`, left operands waiting for their right sibling in
// `lefts_`.
class Walk {
 public:
  Walk(const FieldIndex& fields, const FunctionTable& functions, const RegistryDocument& registry)
      : fields_(fields), functions_(functions), registry_(registry) {}

  InferResult run(const Expr& root) { return run_from({&root, 0}); }

  // A call that is not a node of any tree: the frame without a node.
  InferResult run_call(CallKind kind, std::string_view name, const std::vector<ast::ExprPtr>& args) {
    root_kind_ = kind;
    root_name_ = name;
    root_args_ = &args;
    return run_from({nullptr, 0});
  }

 private:
  struct Frame {
    const Expr* node;  // null: the root call given to run_call
    std::size_t step;
  };
  enum class Next { Descend, Complete, Fail };
  using CallState = std::variant<ContractCall, RegistryCall>;

  InferResult run_from(Frame root) {
    frames_.push_back(root);
    while (!frames_.empty()) {
      Frame& frame = frames_.back();
      bool is_call = frame.node == nullptr || frame.node->kind() == ExprKind::Call;
      Next next = is_call ? call_step(frame) : node_step(frame);
      if (next == Next::Fail) return std::move(*error_);
      if (next == Next::Complete) frames_.pop_back();
    }
    return std::move(last_);
  }

  void descend(const Expr& child) { frames_.push_back({&child, 0}); }

  Next complete(InferResult result) {
    if (!result) return fail(std::move(result).error());
    last_ = std::move(result).value();
    return Next::Complete;
  }

  Next fail(TypeError error) {
    error_ = std::move(error);
    return Next::Fail;
  }

  Next node_step(Frame& frame) {
    const Expr& node = *frame.node;
    if (const auto* literal = node.as<Expr::Literal>()) return complete(literal_type(literal->value));
    if (const auto* ref = node.as<Expr::FieldRef>()) return complete(field_type(ref->name, fields_));
    if (const auto* unary = node.as<Expr::Unary>()) {
      if (frame.step++ > 0) return complete(unary_type(unary->op, std::move(last_)));
      descend(*unary->operand);
      return Next::Descend;
    }
    const auto& binary = *node.as<Expr::Binary>();
    switch (frame.step++) {
      case 0:
        descend(*binary.left);
        return Next::Descend;
      case 1:
        lefts_.push_back(std::move(last_));
        descend(*binary.right);
        return Next::Descend;
      default: {
        InferredExprType left = std::move(lefts_.back());
        lefts_.pop_back();
        return complete(binary_type(binary.op, left, last_));
      }
    }
  }

  // Step 0 begins the call; step k >= 1 takes the result of argument k - 1.
  Next call_step(Frame& frame) {
    const Expr::Call* call = frame.node == nullptr ? nullptr : frame.node->as<Expr::Call>();
    std::string_view name = call != nullptr ? std::string_view(call->name) : root_name_;
    const std::vector<ast::ExprPtr>& args = call != nullptr ? call->args : *root_args_;
    CallKind kind = call != nullptr ? (is_registry_call_name(name) ? CallKind::Registry : CallKind::Contract)
                                    : root_kind_;
    std::size_t step = frame.step++;
    if (step == 0) {
      if (auto problem = begin_call(kind, name, args.size())) return fail(std::move(*problem));
    } else if (auto problem = accept_argument(step - 1)) {
      return fail(std::move(*problem));
    }
    if (step < args.size()) {
      descend(*args[step]);
      return Next::Descend;
    }
    InferResult result = finish_call();
    calls_.pop_back();
    return complete(std::move(result));
  }

  std::optional<TypeError> begin_call(CallKind kind, std::string_view name, std::size_t arg_count) {
    if (kind == CallKind::Contract) {
      auto begun = ContractCall::begin(name, arg_count, functions_);
      if (!begun) return std::move(begun).error();
      calls_.emplace_back(std::move(begun).value());
    } else {
      auto begun = RegistryCall::begin(name, arg_count, registry_);
      if (!begun) return std::move(begun).error();
      calls_.emplace_back(std::move(begun).value());
    }
    return std::nullopt;
  }

  std::optional<TypeError> accept_argument(std::size_t index) {
    if (auto* contract = std::get_if<ContractCall>(&calls_.back())) return contract->accept(index, last_);
    std::get<RegistryCall>(calls_.back()).accept(std::move(last_));
    return std::nullopt;
  }

  InferResult finish_call() {
    if (auto* contract = std::get_if<ContractCall>(&calls_.back())) return contract->finish(registry_);
    return std::get<RegistryCall>(calls_.back()).finish();
  }

  const FieldIndex& fields_;
  const FunctionTable& functions_;
  const RegistryDocument& registry_;

  CallKind root_kind_ = CallKind::Contract;
  std::string_view root_name_;
  const std::vector<ast::ExprPtr>* root_args_ = nullptr;

  std::vector<Frame> frames_;
  std::vector<InferredExprType> lefts_;
  std::vector<CallState> calls_;
  InferredExprType last_;
  std::optional<TypeError> error_;
};

}  // namespace

ExprTypeResult infer_expression_type(const ast::Expr& expr, const model::TransformationContract& contract,
                                     const RegistryDocument& registry) {
  return infer_expression_type(expr, FieldIndex::from_contract(contract), FunctionTable::from_contract(contract),
                               registry);
}

ExprTypeResult infer_expression_type(const ast::Expr& expr, const FieldIndex& fields,
                                     const FunctionTable& functions, const RegistryDocument& registry) {
  InferResult result = infer_expr(expr, fields, functions, registry);
  if (result) return std::move(result).value();
  TypeError error = std::move(result).error();
  return diagnostics::Diagnostic::make(error.code, diagnostics::DiagnosticSeverity::Error,
                                       diagnostics::DiagnosticStage::Analysis, error.category,
                                       std::move(error.message));
}

InferResult infer_expr(const ast::Expr& expr, const FieldIndex& fields, const FunctionTable& functions,
                       const RegistryDocument& registry) {
  return Walk(fields, functions, registry).run(expr);
}

InferResult infer_contract_call_type(std::string_view name, const std::vector<ast::ExprPtr>& args,
                                     const FieldIndex& fields, const FunctionTable& functions,
                                     const RegistryDocument& registry) {
  return Walk(fields, functions, registry).run_call(CallKind::Contract, name, args);
}

InferResult infer_registry_call_type(std::string_view name, const std::vector<ast::ExprPtr>& args,
                                     const FieldIndex& fields, const FunctionTable& functions,
                                     const RegistryDocument& registry) {
  return Walk(fields, functions, registry).run_call(CallKind::Registry, name, args);
}

}  // namespace vorn::analysis::expr::types
