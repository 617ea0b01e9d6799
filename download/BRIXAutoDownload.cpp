#include "download/BRIXAutoDownload.h"

#include <QFile>
#include <QProgressBar>

#include "core/Config.h"
#include "toolkit/PumpEvents.h"
#include "download/ReformatData.h"
#include "link/CommandTable.h"
#include "link/LinkContext.h"
#include "link/LinkStatus.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafDisplay.h"
#include "toolkit/ZafEventManager.h"

namespace tolm {

namespace {

constexpr const char* kLabels[] = {
    "Download Bearing Data.............", "Post-process Bearing Data.........",
    "Erase Bearing Data................", "Erase Bearing Defect History......",
    "Erase Accel Line Defect History...",
};
static_assert(sizeof("Download Bearing Data.............") == 35);
static_assert(sizeof("Post-process Bearing Data.........") == 35);
static_assert(sizeof("Erase Bearing Data................") == 35);
static_assert(sizeof("Erase Bearing Defect History......") == 35);
static_assert(sizeof("Erase Accel Line Defect History...") == 35);

constexpr int kEraseBearingDataTicks = 3000;   // 300 s
constexpr int kEraseDefectHistoryTicks = 600;  // 60 s

const QString kCancelText = QStringLiteral("Cancel (F5)");
const QString kDoneText = QStringLiteral("Done (F5)");

EngineOption optionOf(int kind) {
    switch (kind) {
        case DownloadStep::EraseBearingData:
            return EngineOption::EraseBearingData;
        case DownloadStep::EraseBearingDefectHistory:
            return EngineOption::EraseBearingDefectHistory;
        case DownloadStep::EraseAccelDefectHistory:
            return EngineOption::EraseAccelDefectHistory;
        default:
            return EngineOption::DownloadBearingData;
    }
}

int ticksOf(int kind) {
    switch (kind) {
        case DownloadStep::EraseBearingData:
            return kEraseBearingDataTicks;
        case DownloadStep::EraseBearingDefectHistory:
        case DownloadStep::EraseAccelDefectHistory:
            return kEraseDefectHistoryTicks;
        default:
            return 0;
    }
}

quint32 eraseCommandOf(int kind) {
    switch (kind) {
        case DownloadStep::EraseBearingData:
            return CMD_ERASE_BEARING_DATA;
        case DownloadStep::EraseBearingDefectHistory:
            return CMD_ERASE_BEARING_DEFECT_HISTORY;
        default:
            return CMD_ERASE_ACCEL_DEFECT_HISTORY;
    }
}

QString eraseStatusOf(int kind, int engineNumber) {
    switch (kind) {
        case DownloadStep::EraseBearingData:
            return QStringLiteral(
                       "Erasing bearing data for engine %1 (seconds spent performing erase "
                       "function)")
                .arg(engineNumber);
        case DownloadStep::EraseBearingDefectHistory:
            return QStringLiteral(
                       "Erasing bearing defect history for engine %1 (seconds spent performing "
                       "erase function)")
                .arg(engineNumber);
        default:
            return QStringLiteral(
                       "Erasing accel line defect history for engine %1 (seconds spent "
                       "performing erase function)")
                .arg(engineNumber);
    }
}

}  // namespace

QString BRIXAutoDownload::Label(int kind) {
    return kind >= 0 && kind < 5 ? QLatin1String(kLabels[kind]) : QString();
}

BRIXAutoDownload::BRIXAutoDownload(LinkContext& link, const PartNumberRecord& partNumbers,
                                   const AircraftRecord& aircraft, int normalFont, int midFont,
                                   UserPersist* reader)
    : ZafDialogWindow(QStringLiteral("AutoDownloadDialog"), reader),
      link_(link),
      partNumbers_(partNumbers),
      aircraft_(aircraft) {
    Object().SetFont(normalFont);
    for (int i = 0; i < 10; ++i) {
        DownloadStep& step = steps_[i];
        step.kind = i % 5;
        step.engine = i / 5;
        step.requested = aircraft_.engine(step.engine).option(optionOf(step.kind));
        step.initial = step.countdown = ticksOf(step.kind);
    }

    courierFont_ = zafDisplay()->RegisterFont(QStringLiteral("Courier New"), 9, 0, 0);
    for (int engine = 0; engine < 2; ++engine) {
        ZafObject group = Get(QStringLiteral("G_ENGINE%1").arg(engine + 1));
        for (int kind = 0; kind < 5; ++kind) {
            ZafObject prompt = group.Child(kind);
            prompt.SetFont(courierFont_);
            if (QWidget* w = prompt.widget()) {
                QFont font = w->font();
                font.setStyleHint(
                    QFont::TypeWriter);  // a monospace face wherever Courier is missing
                w->setFont(font);
            }
            prompt.SetText(Label(kind));
        }
    }
    cancel_ = Get(QStringLiteral("B_CANCEL"));
    cancel_.SetText(kCancelText);
    cancel_.SetSendMessage(kCancelOrDoneEvent);
    status_ = Get(QStringLiteral("P_STATUS"));
    status_.SetFont(midFont);
    status_.SetText(QString());
    progress_ = Get(QStringLiteral("STATUS"));

    RunSteps();

    timer_ = std::make_unique<ZafTimer>(100, kTickEvent);
    timer_->Add(this);
    if (!Finished()) {
        zafEventManager()->Add(timer_.get());
    }
}

BRIXAutoDownload::~BRIXAutoDownload() {
    zafEventManager()->Subtract(timer_.get());
    timer_.reset();
    zafDisplay()->DestroyFont(courierFont_);
}

ZafObject BRIXAutoDownload::Prompt(const DownloadStep& step) const {
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

void BRIXAutoDownload::SetPercentMode() {
    if (auto* bar = progress_.as<QProgressBar>()) {
        bar->setFormat(QStringLiteral("%p%"));
        bar->setRange(0, 100);
        bar->setValue(0);
    }
}

void BRIXAutoDownload::SetSecondsMode(int maximum) {
    if (auto* bar = progress_.as<QProgressBar>()) {
        bar->setFormat(QStringLiteral("%v s"));
        bar->setRange(0, maximum);
        bar->setValue(0);
    }
}

void BRIXAutoDownload::Finish(DownloadStep& step, Outcome outcome) {
    static const char* const words[] = {"Not requested", "Completed", "Failed", "Timeout",
                                        "Skipped"};
    Prompt(step).SetText(Label(step.kind) + QLatin1String(words[int(outcome)]));
}

void BRIXAutoDownload::Advance() {
    if (steps_[current_].kind != DownloadStep::End) {
        ++current_;
    }
}

void BRIXAutoDownload::RunSteps() {
    while (!cancelled_) {
        DownloadStep& step = steps_[current_];
        if (step.kind == DownloadStep::End) {
            cancel_.SetText(kDoneText);
            if (auto* bar = progress_.as<QProgressBar>()) {
                bar->setRange(0, 100);
                bar->setValue(100);
            }
            status_.SetText(QStringLiteral("Processing complete"));
            if (timer_) {
                zafEventManager()->Subtract(timer_.get());
            }
            return;
        }
        if (waitingForLink_) {
            return;  // the tick goes on once the link has let go of the timed-out command
        }
        if (StartStep(step)) {
            return;  // the tick watches the step
        }
        Advance();
    }
}

bool BRIXAutoDownload::StartStep(DownloadStep& step) {
    if (!step.requested) {
        Finish(step, Outcome::NotRequested);
        return false;
    }
    const int engineNumber = step.engine + 1;
    switch (step.kind) {
        case DownloadStep::Download: {
            status_.SetText(
                QStringLiteral("Downloading bearing data for engine %1").arg(engineNumber));
            SetPercentMode();
            const quint32 payload[] = {quint32(engineNumber), 0};
            if (!HandOverCommand(link_, CMD_DOWNLOAD_BEARING_DATA, payload)) {
                unsaved_[step.engine] = true;
                Finish(step, Outcome::Failed);
                return false;
            }
            return true;
        }
        case DownloadStep::PostProcess:
            PostProcess(step);
            return false;
        default:
            if (unsaved_[step.engine]) {
                // The unit still holds the only copy of this engine's data.
                Finish(step, Outcome::Skipped);
                return false;
            }
            StartErase(step);
            return step.countdown > 0;
    }
}

void BRIXAutoDownload::PostProcess(DownloadStep& step) {
    status_.SetText(
        QStringLiteral("Post-processing bearing data for engine %1").arg(step.engine + 1));
    auto* bar = progress_.as<QProgressBar>();
    if (bar) {
        bar->setValue(0);
    }
    busy_ = true;
    const bool written = ReformatData(
        link_.responseFileName(), step.engine, aircraft_, partNumbers_, dataDirectory(),
        [bar](int value, int maximum) {
            if (bar) {
                bar->setRange(0, maximum);
                bar->setValue(value);
            }
        },
        [] { PumpEvents(); });
    busy_ = false;
    if (!written) {
        unsaved_[step.engine] = true;
    }
    Finish(step, written ? Outcome::Completed : Outcome::Failed);
    link_.responseEvent.reset();
}

void BRIXAutoDownload::StartErase(DownloadStep& step) {
    status_.SetText(eraseStatusOf(step.kind, step.engine + 1));
    SetSecondsMode(step.initial / 10);
    PumpEvents();
    if (cancelled_) {
        step.countdown = 0;
        return;
    }
    const quint32 payload[] = {quint32(step.engine + 1)};
    if (!HandOverCommand(link_, eraseCommandOf(step.kind), payload)) {
        Finish(step, Outcome::Failed);
        step.countdown = 0;
    }
}

void BRIXAutoDownload::Tick() {
    if (busy_ || cancelled_ || Finished()) {
        return;
    }
    if (waitingForLink_) {
        if (!link_.commandInFlight.load()) {
            waitingForLink_ = false;
            link_.responseEvent.reset();  // the dropped command's report
            RunSteps();
        }
        return;
    }
    DownloadStep& step = steps_[current_];
    if (step.kind == DownloadStep::Download) {
        TickDownload(step);
    } else if (step.kind >= DownloadStep::EraseBearingData) {
        TickErase(step);
    }
}

void BRIXAutoDownload::TickDownload(DownloadStep& step) {
    if (link_.commandInFlight.load()) {
        const qint64 total = link_.responseSize.load();
        const qint64 received = link_.bytesReceived.load();
        if (auto* bar = progress_.as<QProgressBar>()) {
            bar->setValue(total > 0 ? int(received * 100 / total) : 0);
        }
        return;
    }
    const bool ok = link_.statusCode.load() == STATUS_OK && !link_.responseFileName().isEmpty();
    if (!ok) {
        unsaved_[step.engine] = true;
    }
    Finish(step, ok ? Outcome::Completed : Outcome::Failed);
    Advance();
    RunSteps();
}

void BRIXAutoDownload::TickErase(DownloadStep& step) {
    --step.countdown;
    if (step.countdown <= 0) {
        Finish(step, Outcome::Timeout);
        // The unit may still answer. That late answer must never be taken for the next step's:
        // the command is withdrawn, and the sequence goes on once the link has reported.
        RequestAbort(link_);
        waitingForLink_ = link_.commandInFlight.load();
        Advance();
        RunSteps();
        return;
    }
    if (link_.responseEvent.poll()) {
        QFile::remove(link_.responseFileName());  // the answer to an erase is not read
        Finish(step, link_.statusCode.load() == STATUS_OK ? Outcome::Completed : Outcome::Failed);
        Advance();
        RunSteps();
        return;
    }
    const int elapsed = (step.initial - step.countdown) / 10 + 1;
    if (auto* bar = progress_.as<QProgressBar>(); bar && bar->value() != elapsed) {
        bar->setValue(elapsed);
    }
}

void BRIXAutoDownload::CancelOrDone() {
    if (ButtonText() == kCancelText) {
        cancelled_ = true;
        RequestAbort(link_);
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
            Tick();
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
