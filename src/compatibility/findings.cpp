#include "compatibility/findings.h"

namespace vorn::compatibility::findings {
namespace {

using compare::DiffKind;
using types::ChangeCategory;

struct FindingRow {
  std::string_view message;
  std::string_view object_ref;
  DiffKind kind;
  ChangeCategory category;
};

constexpr auto kInfo = DiffKind::Informational;
constexpr auto kSafe = DiffKind::NonBreaking;
constexpr auto kBreaking = DiffKind::Breaking;
constexpr auto kConditional = DiffKind::Conditional;

constexpr FindingRow kRows[] = {
    {"vornVersion differs ('{}' vs '{}'); spec version alone does not determine compatibility", "vornVersion",
     kInfo, ChangeCategory::Metadata},
    {"optional input '{}' removed in target (backward-incompatible for source consumers)", "inputs.{}",
     kBreaking, ChangeCategory::Interface},
    {"required input '{}' removed in target", "inputs.{}", kBreaking, ChangeCategory::Interface},
    {"input '{}' changed from required to optional", "inputs.{}.optional", kSafe, ChangeCategory::Interface},
    {"input '{}' changed from optional to required", "inputs.{}.optional", kBreaking, ChangeCategory::Interface},
    {"input '{}' added in target", "inputs.{}", kBreaking, ChangeCategory::Interface},
    {"input '{}' added in target", "inputs.{}", kSafe, ChangeCategory::Interface},
    {"output '{}' removed in target", "outputs.{}", kBreaking, ChangeCategory::Interface},
    {"output '{}' added in target", "outputs.{}", kSafe, ChangeCategory::Interface},
    {"{} entry '{}' removed in target", "{}.{}", kBreaking, ChangeCategory::Semantic},
    {"{} entry '{}' removed in target", "{}.{}", kBreaking, ChangeCategory::Rule},
    {"{} entry '{}' added in target", "{}.{}", kSafe, ChangeCategory::Semantic},
    {"{} entry '{}' added in target", "{}.{}", kSafe, ChangeCategory::Rule},
    {"{} entry '{}' changed", "{}.{}", kBreaking, ChangeCategory::Semantic},
    {"{} entry '{}' changed", "{}.{}", kBreaking, ChangeCategory::Rule},
    {"lineage mapping for output '{}' removed", "lineage.mappings.{}", kBreaking, ChangeCategory::Lineage},
    {"lineage inputs changed for output '{}'", "lineage.mappings.{}.inputs", kBreaking, ChangeCategory::Lineage},
    {"lineage mapping for output '{}' added", "lineage.mappings.{}", kSafe, ChangeCategory::Lineage},
    {"governance owner differs", "metadata.governance.owner", kInfo, ChangeCategory::Metadata},
    {"documentation description differs (non-breaking)", "metadata.documentation.description", kInfo,
     ChangeCategory::Metadata},
    {"extension key '{}' removed in target", "{}", kConditional, ChangeCategory::Extension},
    {"extension key '{}' added in target", "{}", kSafe, ChangeCategory::Extension},
    {"streaming mode changed from {} to {} at {}", "{}", kBreaking, ChangeCategory::Interface},
    {"streaming declaration changed at {}", "{}", kBreaking, ChangeCategory::Interface},
    {"{} set changed at {}", "{}", kBreaking, ChangeCategory::Interface},
    {"schema presence changed at {}", "{}", kBreaking, ChangeCategory::Type},
    {"field '{}' removed from {}", "{}.fields.{}", kSafe, ChangeCategory::Type},
    {"field '{}' removed from {}", "{}.fields.{}", kBreaking, ChangeCategory::Type},
    {"field '{}' added to {}", "{}.fields.{}", kSafe, ChangeCategory::Type},
    {"field '{}' type widened from '{}' to '{}'", "{}.fields.{}.type", kSafe, ChangeCategory::Type},
    {"field '{}' type narrowed from '{}' to '{}'", "{}.fields.{}.type", kBreaking, ChangeCategory::Type},
    {"field '{}' type changed from '{}' to '{}'", "{}.fields.{}.type", kBreaking, ChangeCategory::Type},
    {"field '{}' changed from non-nullable to nullable", "{}.fields.{}.nullable", kSafe, ChangeCategory::Type},
    {"field '{}' changed from nullable to non-nullable", "{}.fields.{}.nullable", kBreaking,
     ChangeCategory::Type},
};

static_assert(std::size(kRows) == kNowNonNullable + 1, "one row per finding");

}  // namespace

std::string fill(std::string_view pattern, Args args) {
  std::string out;
  out.reserve(pattern.size() + 32);
  const std::string_view* next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '{' && i + 1 < pattern.size() && pattern[i + 1] == '}') {
      if (next != args.end()) out.append(*next++);
      ++i;
    } else {
      out.push_back(pattern[i]);
    }
  }
  return out;
}

void emit(compare::ComparisonOutcome& outcome, Finding finding, Args message_args, Args object_ref_args) {
  const FindingRow& row = kRows[finding];
  outcome.push({fill(row.message, message_args), fill(row.object_ref, object_ref_args), row.kind, row.category});
}

}  // namespace vorn::compatibility::findings
