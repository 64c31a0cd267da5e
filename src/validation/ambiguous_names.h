#pragma once
// The one warning of contract validation: a bare field name that several
// interfaces declare, so that a reference by that name alone is ambiguous.

#include "validation/context.h"
#include "validation/field_index.h"

namespace vorn::validation::lineage {

// One warning per such name, sorted by name (byte order), so that two runs
// over one contract report the same list.
void warn_ambiguous_field_names(ValidationContext& ctx, const field_index::FieldIndex& index);

}  // namespace vorn::validation::lineage
