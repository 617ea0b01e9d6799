#include "download/ui/BRIXAutoDownload.h"

#include <QProgressBar>

#include "core/Config.h"
#include "link/EraseCommands.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/PumpEvents.h"
#include "toolkit/UserDialogs.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafDisplay.h"
#include "toolkit/ZafEventManager.h"

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
    : ZafDialogWindow(QStringLiteral("AutoDownloadDialog"), reader),
      reconnect_(std::move(reconnect)),
      summary_(std::move(summary)),
      sequence_(std::make_unique<DownloadSequence>(link, partNumbers, aircraft, dataDirectory(),
                                                   static_cast<DownloadSequence::View&>(*this))) {
    Object().SetFont(normalFont);
    courierFont_ = zafDisplay()->RegisterFont(QStringLiteral("Courier New"), 9, 0, 0);
    for (int engine = 0; engine < 2; ++engine) {
        ZafObject group = Get(QStringLiteral("G_ENGINE%1").arg(engine + 1));
        for (int kind = 0; kind < kDownloadStepKinds; ++kind) {
            ZafObject prompt = group.Child(kind);
            prompt.SetFont(courierFont_);
            prompt.SetText(downloadStepLabel(kind));
        }
    }
    cancel_ = Get(QStringLiteral("B_CANCEL"));
    cancel_.SetText(kCancelText);
    cancel_.SetSendMessage(kCancelOrDoneEvent);
    status_ = Get(QStringLiteral("P_STATUS"));
    status_.SetFont(midFont);
    status_.SetText(QString());
    progress_ = Get(QStringLiteral("STATUS"));

    timer_ = std::make_unique<ZafTimer>(kProgressTickMs, kTickEvent);
    timer_->Add(this);
    sequence_->start();
    if (!Finished()) {
        zafEventManager()->Add(timer_.get());
    }
}

BRIXAutoDownload::~BRIXAutoDownload() {
    zafEventManager()->Subtract(timer_.get());
    timer_.reset();
    zafDisplay()->DestroyFont(courierFont_);
}

ZafObject BRIXAutoDownload::Prompt(const SequenceStep& step) const {
    return Get(QStringLiteral("G_ENGINE%1").arg(step.engine + 1)).Child(step.kind);
}

QString BRIXAutoDownload::StepText(int engineIndex, int kind) const {
    return Get(QStringLiteral("G_ENGINE%1").arg(engineIndex + 1)).Child(kind).Text();
}

QString BRIXAutoDownload::StatusText() const {
    return status_.Text();
}

QString BRIXAutoDownload::ButtonText() const {
    return cancel_.Text();
}

void BRIXAutoDownload::SetProgress(int value, int maximum, const QString& format) {
    if (auto* bar = progress_.as<QProgressBar>()) {
        if (!format.isEmpty()) {
            bar->setFormat(format);
        }
        bar->setRange(0, maximum);
        bar->setValue(value);
    }
}

void BRIXAutoDownload::stepStarted(int index) {
    const SequenceStep& step = Sequence().step(index);
    status_.SetText(downloadStatusText(step.kind, step.engine + 1));
    if (step.kind == kDownloadBearingData) {
        SetProgress(0, 100, kPercentFormat);
    } else if (step.timeoutTicks > 0) {
        SetProgress(0, step.timeoutTicks * kProgressTickMs / 1000, kSecondsFormat);
    }
}

void BRIXAutoDownload::stepFinished(int index, StepOutcome outcome) {
    const SequenceStep& step = Sequence().step(index);
    Prompt(step).SetText(downloadStepLabel(step.kind) + outcomeText(outcome));
}

void BRIXAutoDownload::progress(int value, int maximum) {
    if (auto* bar = progress_.as<QProgressBar>(); bar && bar->value() != value) {
        bar->setRange(0, maximum);
        bar->setValue(value);
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
    SetProgress(100, 100, QString());
    QString status = QStringLiteral("Processing complete");
    if (summary_ && !sequence_->filedRawFiles().isEmpty()) {
        if (const QString filed = summary_(sequence_->filedRawFiles()); !filed.isEmpty()) {
            status += QStringLiteral(": ") + filed;
        }
    }
    status_.SetText(status);
    if (timer_) {
        zafEventManager()->Subtract(timer_.get());
    }
}

void BRIXAutoDownload::CancelOrDone() {
    if (ButtonText() == kCancelText) {
        sequence_->cancel();
        if (timer_) {
            zafEventManager()->Subtract(timer_.get());
        }
        EndModal(S_CLOSE);
    } else {
        EndModal(S_DIALOG_OK);
    }
}

ZafEventType BRIXAutoDownload::Event(const ZafEventStruct& event) {
    if (event.isRawKeyDown() && event.key == VK::F5) {
        CancelOrDone();
        return S_CONTINUE;
    }
    switch (event.type) {
        case kTickEvent:
            sequence_->tick();
            return S_CONTINUE;
        case kCancelOrDoneEvent:
        case S_CLOSE:  // the window's close box cancels like the button
            CancelOrDone();
            return S_CONTINUE;
        default:
            return ZafDialogWindow::Event(event);
    }
}

}  // namespace tolm
