#pragma once
// A contract function against the standard signature of the registry
// function it declares: arity, parameter types, return type and return
// nullability.

#include "model/function.h"
#include "validation/context.h"
#include "validation/stdlib_definition.h"

namespace vorn::validation::registry_function_checks {

void check_against_definition(ValidationContext& ctx, const model::Function& function,
                              const stdlib_definition::StdlibDefinition::Function& definition);

}  // namespace vorn::validation::registry_function_checks
