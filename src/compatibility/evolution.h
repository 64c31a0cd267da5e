#pragma once
// Evolution analysis: what changed between an older and a newer revision of
// one contract, how compatible they are, and what to do about it.

#include "compatibility/report.h"
#include "model/contract.h"

namespace vorn::compatibility::evolution {

report::EvolutionReport analyze_evolution(const model::TransformationContract& older,
                                          const model::TransformationContract& newer);

}  // namespace vorn::compatibility::evolution
