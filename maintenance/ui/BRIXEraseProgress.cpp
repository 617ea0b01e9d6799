#include "maintenance/ui/BRIXEraseProgress.h"

#include <QFile>
#include <QProgressBar>

#include "link/LinkContext.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafDisplay.h"
#include "toolkit/ZafEventManager.h"

namespace tolm {

namespace {

EraseKind kindOf(const SequenceStep& step) {
    return static_cast<EraseKind>(step.kind);
}

}  // namespace

BRIXEraseProgress::BRIXEraseProgress(LinkContext& link, const EraseSelections& selections,
                                     int normalFont, int midFont, UserPersist* reader,
                                     Reconnect reconnect)
    : ZafDialogWindow(QStringLiteral("EraseProgress"), reader),
      reconnect_(std::move(reconnect)),
      sequence_(link, eraseSteps(selections), static_cast<StepSequence::Owner&>(*this),
                1000 / kProgressTickMs) {
    Object().SetFont(normalFont);
    // The labels are 34 characters long: in a fixed-pitch face the outcome words line up.
    courierFont_ = zafDisplay()->RegisterFont(QStringLiteral("Courier New"), 8, 0, 0);
    for (int engine = 0; engine < 2; ++engine) {
        for (int kind = 0; kind < kEraseKinds; ++kind) {
            ZafObject line = Line(engine, kind);
            line.SetFont(courierFont_);
            line.SetText(QLatin1String(eraseCommand(static_cast<EraseKind>(kind)).label));
        }
    }
    done_ = Get(QStringLiteral("B_DONE"));
    done_.SetSendMessage(kDoneEvent);
    done_.SetDisabled(true);
    status_ = Get(QStringLiteral("P_STATUS"));
    status_.SetFont(midFont);
    status_.SetText(QString());
    gauge_ = Get(QStringLiteral("STATUS"));
    if (auto* bar = gauge_.as<QProgressBar>()) {
        bar->setValue(0);
    }

    timer_ = std::make_unique<ZafTimer>(kProgressTickMs, kTickEvent);
    timer_->Add(this);
    sequence_.start();
    if (!Finished()) {
        zafEventManager()->Add(timer_.get());
    }
}

BRIXEraseProgress::~BRIXEraseProgress() {
    zafEventManager()->Subtract(timer_.get());
    timer_.reset();
    zafDisplay()->DestroyFont(courierFont_);
}

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

QString BRIXEraseProgress::StatusText() const {
    return status_.Text();
}

bool BRIXEraseProgress::DoneEnabled() const {
    return !done_.Disabled();
}

int BRIXEraseProgress::GaugeValue() const {
    const auto* bar = gauge_.as<QProgressBar>();
    return bar ? bar->value() : 0;
}

int BRIXEraseProgress::GaugeMaximum() const {
    const auto* bar = gauge_.as<QProgressBar>();
    return bar ? bar->maximum() : 0;
}

void BRIXEraseProgress::stepStarted(int index) {
    const SequenceStep& step = sequence_.step(index);
    status_.SetText(eraseStatusText(kindOf(step), step.engine + 1));
    if (auto* bar = gauge_.as<QProgressBar>()) {
        bar->setRange(0, step.timeoutTicks * kProgressTickMs / 1000);
        bar->setValue(0);
    }
}

void BRIXEraseProgress::stepFinished(int index, StepOutcome outcome) {
    const SequenceStep& step = sequence_.step(index);
    Line(step.engine, step.kind)
        .SetText(QLatin1String(eraseCommand(kindOf(step)).label) + outcomeText(outcome));
}

void BRIXEraseProgress::progress(int value, int maximum) {
    if (auto* bar = gauge_.as<QProgressBar>()) {
        bar->setRange(0, maximum);
        bar->setValue(value);
    }
}

bool BRIXEraseProgress::reconnect() {
    return reconnect_ && reconnect_();
}

void BRIXEraseProgress::finished() {
    done_.SetDisabled(false);
    if (auto* bar = gauge_.as<QProgressBar>()) {
        bar->setFormat(QString());  // a plain bar at the end, no seconds
        bar->setRange(0, 100);
        bar->setValue(100);
    }
    status_.SetText(QStringLiteral("Erase processing complete"));
    if (timer_) {
        zafEventManager()->Subtract(timer_.get());
    }
}

void BRIXEraseProgress::Done() {
    // Nothing closes the dialog before every step has its outcome.
    if (Finished()) {
        EndModal(S_DIALOG_OK);
    }
}

ZafEventType BRIXEraseProgress::Event(const ZafEventStruct& event) {
    if (event.isRawKeyDown()) {
        // F5 is the only key, and only once the erase has finished.
        if (event.key == VK::F5) {
            Done();
        }
        return S_CONTINUE;
    }
    switch (event.type) {
        case kTickEvent:
            sequence_.tick();
            return S_CONTINUE;
        case kDoneEvent:
        case S_CLOSE:  // the window's close box
            Done();
            return S_CONTINUE;
        default:
            return ZafDialogWindow::Event(event);
    }
}

}  // namespace tolm
