#include "link/EraseCommands.h"

#include "link/CommandTable.h"

namespace tolm {

namespace {

constexpr EraseCommand kCommands[kEraseKinds] = {
    {CMD_ERASE_BEARING_DATA, kEraseBearingDataWaitMs, "Erase Bearing Data................",
     "Erasing bearing data for engine %1 (seconds spent performing erase function)"},
    {CMD_ERASE_BEARING_DEFECT_HISTORY, kEraseDefectHistoryWaitMs,
     "Erase Bearing Defect History......",
     "Erasing bearing defect history for engine %1 (seconds spent performing erase function)"},
    {CMD_ERASE_ACCEL_DEFECT_HISTORY, kEraseDefectHistoryWaitMs,
     "Erase Accel Line Defect History...",
     "Erasing accel line defect history for engine %1 (seconds spent performing erase "
     "function)"},
};
static_assert(sizeof("Erase Bearing Data................") == 35);
static_assert(sizeof("Erase Bearing Defect History......") == 35);
static_assert(sizeof("Erase Accel Line Defect History...") == 35);

}  // namespace

const EraseCommand& eraseCommand(EraseKind kind) {
    return kCommands[static_cast<int>(kind)];
}

QString eraseStatusText(EraseKind kind, int engineNumber) {
    return QString::fromLatin1(eraseCommand(kind).statusText).arg(engineNumber);
}

SequenceStep eraseStep(EraseKind kind, int engine, bool requested, int kindOffset) {
    const EraseCommand& command = eraseCommand(kind);
    SequenceStep step;
    step.kind = static_cast<int>(kind) + kindOffset;
    step.engine = engine;
    step.requested = requested;
    step.command = command.code;
    step.payload = {quint32(engine + 1)};
    step.timeoutTicks = command.waitMs / kProgressTickMs;
    step.guarded = true;
    return step;
}

}  // namespace tolm
