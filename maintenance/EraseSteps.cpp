#include "maintenance/EraseSteps.h"

namespace tolm {

std::vector<SequenceStep> eraseSteps(const EraseSelections& selections) {
    std::vector<SequenceStep> steps;
    for (int engine = 0; engine < 2; ++engine) {
        for (int kind = 0; kind < kEraseKinds; ++kind) {
            steps.push_back(eraseStep(static_cast<EraseKind>(kind), engine,
                                      selections[engine * kEraseKinds + kind]));
        }
    }
    return steps;
}

}  // namespace tolm
