#pragma once
// The erase dialog's steps, in their fixed order: engine 1's bearing data, bearing defect
// history and accel line defect history, then engine 2's. A step is sent when its box was
// ticked; the dialog runs them on a StepSequence ticking every kProgressTickMs.
#include <array>
#include <vector>

#include "link/EraseCommands.h"
#include "link/StepSequence.h"

namespace tolm {

// The six boxes: engine 1's three stores, then engine 2's, each in the order of EraseKind.
using EraseSelections = std::array<bool, 2 * kEraseKinds>;
// Every box ticked (the erase that follows a configuration-table upload).
inline constexpr EraseSelections kEraseEverything{true, true, true, true, true, true};

// The steps; each step's kind is its EraseKind, its engine the engine index.
std::vector<SequenceStep> eraseSteps(const EraseSelections& selections);

}  // namespace tolm
