#pragma once
// The findings a contract comparison can make: one row each, with the
// message and object-reference templates that the comparison fills.

#include <initializer_list>
#include <string>
#include <string_view>

#include "compatibility/compare.h"

namespace vorn::compatibility::findings {

enum Finding {
  kVornVersion,
  kOptionalInputRemoved,
  kRequiredInputRemoved,
  kInputNowOptional,
  kInputNowRequired,
  kRequiredInputAdded,
  kOptionalInputAdded,
  kOutputRemoved,
  kOutputAdded,
  kEntryRemoved,
  kRuleRemoved,
  kEntryAdded,
  kRuleAdded,
  kEntryChanged,
  kRuleChanged,
  kMappingRemoved,
  kMappingInputsChanged,
  kMappingAdded,
  kGovernanceOwner,
  kDocumentationDescription,
  kExtensionKeyRemoved,
  kExtensionKeyAdded,
  kStreamingModeChanged,
  kStreamingDeclarationChanged,
  kConditionsChanged,
  kSchemaPresence,
  kNullableFieldRemoved,
  kRequiredFieldRemoved,
  kFieldAdded,
  kTypeWidened,
  kTypeNarrowed,
  kTypeChanged,
  kNowNullable,
  kNowNonNullable,
};

using Args = std::initializer_list<std::string_view>;

// Fills the row's templates ("{}" placeholders, in order) and pushes the
// finding into the outcome.
void emit(compare::ComparisonOutcome& outcome, Finding finding, Args message_args, Args object_ref_args);

// The "{}" placeholders of `pattern` replaced by `args` in order. Arguments
// are data from the contracts, so they are never read as templates.
std::string fill(std::string_view pattern, Args args);

}  // namespace vorn::compatibility::findings
