#include "download/DownloadSequence.h"

#include "download/ReformatData.h"
#include "link/CommandTable.h"
#include "link/EraseCommands.h"
#include "link/LinkContext.h"

namespace tolm {

namespace {

constexpr const char* kDownloadLabel = "Download Bearing Data.............";
constexpr const char* kPostProcessLabel = "Post-process Bearing Data.........";
static_assert(sizeof("Download Bearing Data.............") == 35);
static_assert(sizeof("Post-process Bearing Data.........") == 35);

EraseKind eraseKindOf(int kind) {
    return static_cast<EraseKind>(kind - kEraseBearingDataStep);
}

EngineOption optionOf(int kind) {
    switch (kind) {
        case kEraseBearingDataStep:
            return EngineOption::EraseBearingData;
        case kEraseBearingDefectHistoryStep:
            return EngineOption::EraseBearingDefectHistory;
        case kEraseAccelDefectHistoryStep:
            return EngineOption::EraseAccelDefectHistory;
        default:
            return EngineOption::DownloadBearingData;
    }
}

}  // namespace

std::vector<SequenceStep> downloadSteps(const AircraftRecord& aircraft) {
    std::vector<SequenceStep> steps;
    for (int engine = 0; engine < 2; ++engine) {
        const EngineRecord record = aircraft.engine(engine);
        for (int kind = 0; kind < kDownloadStepKinds; ++kind) {
            const bool requested = record.option(optionOf(kind));
            if (kind >= kEraseBearingDataStep) {
                steps.push_back(
                    eraseStep(eraseKindOf(kind), engine, requested, kEraseBearingDataStep));
                continue;
            }
            SequenceStep step;
            step.kind = kind;
            step.engine = engine;
            step.requested = requested;
            if (kind == kDownloadBearingData) {
                step.command = CMD_DOWNLOAD_BEARING_DATA;
                step.payload = {quint32(engine + 1), 0};
                step.readsResponse = true;
            }
            steps.push_back(step);
        }
    }
    return steps;
}

QString downloadStepLabel(int kind) {
    switch (kind) {
        case kDownloadBearingData:
            return QLatin1String(kDownloadLabel);
        case kPostProcessBearingData:
            return QLatin1String(kPostProcessLabel);
        case kEraseBearingDataStep:
        case kEraseBearingDefectHistoryStep:
        case kEraseAccelDefectHistoryStep:
            return QLatin1String(eraseCommand(eraseKindOf(kind)).label);
        default:
            return QString();
    }
}

QString downloadStatusText(int kind, int engineNumber) {
    switch (kind) {
        case kDownloadBearingData:
            return QStringLiteral("Downloading bearing data for engine %1").arg(engineNumber);
        case kPostProcessBearingData:
            return QStringLiteral("Post-processing bearing data for engine %1").arg(engineNumber);
        default:
            return eraseStatusText(eraseKindOf(kind), engineNumber);
    }
}

DownloadSequence::DownloadSequence(LinkContext& link, const PartNumberRecord& partNumbers,
                                   const AircraftRecord& aircraft, QString dataDirectory,
                                   View& view)
    : link_(link),
      partNumbers_(partNumbers),
      aircraft_(aircraft),
      dataDirectory_(std::move(dataDirectory)),
      view_(view),
      sequence_(link, downloadSteps(aircraft), *this) {}

void DownloadSequence::stepFinished(int index, StepOutcome outcome) {
    view_.stepFinished(index, outcome);
}

StepOutcome DownloadSequence::runLocalStep(int index) {
    const SequenceStep& step = sequence_.step(index);
    view_.progress(0, 100);
    const ReformatResult result = ReformatData(
        link_.responseFileName(), step.engine, aircraft_, partNumbers_, dataDirectory_,
        [this](int value, int maximum) { view_.progress(value, maximum); },
        [this] { view_.refresh(); });
    if (result.rawWritten) {
        filed_ << result.rawPath;
    }
    if (!result.notices.isEmpty()) {
        view_.notify(result.notices);
    }
    return result.rawWritten ? StepOutcome::Completed : StepOutcome::Failed;
}

}  // namespace tolm
