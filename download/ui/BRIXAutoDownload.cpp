#include "download/ui/BRIXAutoDownload.h"

#include <QProgressBar>

#include "core/Config.h"
#include "link/EraseCommands.h"
#include "toolkit/PumpEvents.h"
#include "toolkit/UserDialogs.h"

namespace tolm {

namespace {

const QString kCancelText = QStringLiteral("Cancel (F5)");
const QString kDoneText = QStringLiteral("Done (F5)");
const QString kPercentFormat = QStringLiteral("%p%");
const QString kSecondsFormat = QStringLiteral("%v s");

}  // namespace

BRIXAutoDownload::BRIXAutoDownload(LinkContext& link, const PartNumberRecord& partNumbers,
                                   const AircraftRecord& aircraft, int normalFont, int midFont,
                                   UserPersist* reader, Reconnect reconnect, FiledSummary summary)
    : StepDialog(QStringLiteral("AutoDownloadDialog"), reader, normalFont, midFont, 9),
      reconnect_(std::move(reconnect)),
      summary_(std::move(summary)),
      sequence_(std::make_unique<DownloadSequence>(link, partNumbers, aircraft, dataDirectory(),
                                                   static_cast<DownloadSequence::View&>(*this))) {
    for (int engine = 0; engine < 2; ++engine) {
        ZafObject group = Get(QStringLiteral("G_ENGINE%1").arg(engine + 1));
        for (int kind = 0; kind < kDownloadStepKinds; ++kind) {
            ZafObject prompt = group.Child(kind);
            prompt.SetFont(LineFont());
            prompt.SetText(downloadStepLabel(kind));
        }
    }
    cancel_ = Get(QStringLiteral("B_CANCEL"));
    cancel_.SetText(kCancelText);
    cancel_.SetSendMessage(kCancelOrDoneEvent);
    sequence_->start();
    if (!Finished()) {
        StartTicks();
    }
}

BRIXAutoDownload::~BRIXAutoDownload() = default;

ZafObject BRIXAutoDownload::Prompt(const SequenceStep& step) const {
    return Get(QStringLiteral("G_ENGINE%1").arg(step.engine + 1)).Child(step.kind);
}

QString BRIXAutoDownload::StepText(int engineIndex, int kind) const {
    return Get(QStringLiteral("G_ENGINE%1").arg(engineIndex + 1)).Child(kind).Text();
}

QString BRIXAutoDownload::ButtonText() const {
    return cancel_.Text();
}

void BRIXAutoDownload::stepStarted(int index) {
    const SequenceStep& step = Sequence().step(index);
    SetStatus(downloadStatusText(step.kind, step.engine + 1));
    if (step.kind == kDownloadBearingData) {
        SetGauge(0, 100, kPercentFormat);
    } else if (step.timeoutTicks > 0) {
        SetGauge(0, step.timeoutTicks * kProgressTickMs / 1000, kSecondsFormat);
    }
}

void BRIXAutoDownload::stepFinished(int index, StepOutcome outcome) {
    const SequenceStep& step = Sequence().step(index);
    Prompt(step).SetText(downloadStepLabel(step.kind) + outcomeText(outcome));
}

void BRIXAutoDownload::progress(int value, int maximum) {
    if (auto* bar = Gauge().as<QProgressBar>(); bar && bar->value() != value) {
        SetGauge(value, maximum);
    }
}

void BRIXAutoDownload::notify(const Notices& notices) {
    showNotices(notices);
}

void BRIXAutoDownload::refresh() {
    RefreshScreen();
}

bool BRIXAutoDownload::reconnect() {
    return reconnect_ && reconnect_();
}

void BRIXAutoDownload::finished() {
    cancel_.SetText(kDoneText);
    SetGauge(100, 100);
    QString status = QStringLiteral("Processing complete");
    if (summary_ && !sequence_->filedRawFiles().isEmpty()) {
        if (const QString filed = summary_(sequence_->filedRawFiles()); !filed.isEmpty()) {
            status += QStringLiteral(": ") + filed;
        }
    }
    SetStatus(status);
    StopTicks();
}

void BRIXAutoDownload::ButtonPressed() {
    if (ButtonText() == kCancelText) {
        sequence_->cancel();
        StopTicks();
        EndModal(S_CLOSE);
    } else {
        EndModal(S_DIALOG_OK);
    }
}

}  // namespace tolm
