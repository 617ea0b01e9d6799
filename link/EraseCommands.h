#pragma once
// The unit's three erasable stores of each engine, as the download and the erase dialog both
// send them: the command, the line that shows its outcome and the status text while it runs.
// Their waits are those of the command table.
#include <QString>

#include "link/StepSequence.h"

namespace tolm {

enum class EraseKind { BearingData = 0, BearingDefectHistory = 1, AccelDefectHistory = 2 };
inline constexpr int kEraseKinds = 3;

// The progress dialogs tick every 100 ms.
inline constexpr int kProgressTickMs = 100;

struct EraseCommand {
    quint32 code;
    int waitMs;
    // The line's label, 34 characters long so that the outcome words appended to it line up.
    const char* label;
    // The status text while the erase runs; %1 is the engine number.
    const char* statusText;
};

const EraseCommand& eraseCommand(EraseKind kind);
// The status text of an erase for engine number 1 or 2.
QString eraseStatusText(EraseKind kind, int engineNumber);
// One erase of engine index 0 or 1 as a step of a sequence ticking every kProgressTickMs; the
// step's kind is `kind`'s number plus kindOffset (the row of the dialog that runs it).
SequenceStep eraseStep(EraseKind kind, int engine, bool requested, int kindOffset = 0);

}  // namespace tolm
