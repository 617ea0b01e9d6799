#include "maintenance/ui/BRIXEraseProgress.h"

#include <QFile>
#include <QProgressBar>

#include "link/LinkContext.h"

namespace tolm {

namespace {

EraseKind kindOf(const SequenceStep& step) {
    return static_cast<EraseKind>(step.kind);
}

}  // namespace

BRIXEraseProgress::BRIXEraseProgress(LinkContext& link, const EraseSelections& selections,
                                     int normalFont, int midFont, UserPersist* reader,
                                     Reconnect reconnect)
    // The labels are 34 characters long: in a fixed-pitch face the outcome words line up.
    : StepDialog(QStringLiteral("EraseProgress"), reader, normalFont, midFont, 8),
      reconnect_(std::move(reconnect)),
      sequence_(link, eraseSteps(selections), static_cast<StepSequence::Owner&>(*this),
                1000 / kProgressTickMs) {
    passOtherKeys_ = false;  // F5 is the only key, and only once the erase has finished
    for (int engine = 0; engine < 2; ++engine) {
        for (int kind = 0; kind < kEraseKinds; ++kind) {
            ZafObject line = Line(engine, kind);
            line.SetFont(LineFont());
            line.SetText(QLatin1String(eraseCommand(static_cast<EraseKind>(kind)).label));
        }
    }
    done_ = Get(QStringLiteral("B_DONE"));
    done_.SetSendMessage(kDoneEvent);
    done_.SetDisabled(true);
    if (auto* bar = Gauge().as<QProgressBar>()) {
        bar->setValue(0);
    }
    sequence_.start();
    if (!Finished()) {
        StartTicks();
    }
}

BRIXEraseProgress::~BRIXEraseProgress() = default;

ZafEventType BRIXEraseProgress::Run(LinkContext& link, const EraseSelections& selections,
                                    int normalFont, int midFont, Reconnect reconnect) {
    ZafEventType result = S_DIALOG_OK;
    {
        BRIXEraseProgress dialog(link, selections, normalFont, midFont, nullptr,
                                 std::move(reconnect));
        dialog.Center();
        result = dialog.RunModal();
    }
    const QString answer = link.responseFileName();
    if (!answer.isEmpty()) {
        QFile::remove(answer);
    }
    return result;
}

ZafObject BRIXEraseProgress::Line(int engineIndex, int kind) const {
    return Get(QStringLiteral("G_ENGINE%1").arg(engineIndex + 1)).Child(kind);
}

QString BRIXEraseProgress::StepText(int engineIndex, int kind) const {
    return Line(engineIndex, kind).Text();
}

bool BRIXEraseProgress::DoneEnabled() const {
    return !done_.Disabled();
}

int BRIXEraseProgress::GaugeValue() const {
    const auto* bar = Gauge().as<QProgressBar>();
    return bar ? bar->value() : 0;
}

int BRIXEraseProgress::GaugeMaximum() const {
    const auto* bar = Gauge().as<QProgressBar>();
    return bar ? bar->maximum() : 0;
}

void BRIXEraseProgress::stepStarted(int index) {
    const SequenceStep& step = sequence_.step(index);
    SetStatus(eraseStatusText(kindOf(step), step.engine + 1));
    SetGauge(0, step.timeoutTicks * kProgressTickMs / 1000);
}

void BRIXEraseProgress::stepFinished(int index, StepOutcome outcome) {
    const SequenceStep& step = sequence_.step(index);
    Line(step.engine, step.kind)
        .SetText(QLatin1String(eraseCommand(kindOf(step)).label) + outcomeText(outcome));
}

void BRIXEraseProgress::progress(int value, int maximum) {
    SetGauge(value, maximum);
}

bool BRIXEraseProgress::reconnect() {
    return reconnect_ && reconnect_();
}

void BRIXEraseProgress::finished() {
    done_.SetDisabled(false);
    if (auto* bar = Gauge().as<QProgressBar>()) {
        bar->setFormat(QString());  // a plain bar at the end, no seconds
    }
    SetGauge(100, 100);
    SetStatus(QStringLiteral("Erase processing complete"));
    StopTicks();
}

void BRIXEraseProgress::ButtonPressed() {
    if (Finished()) {
        EndModal(S_DIALOG_OK);
    }
}

}  // namespace tolm
