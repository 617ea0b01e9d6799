#include "link/ui/UnitLink.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include "core/Config.h"
#include "core/ConnectionSettings.h"
#include "link/CommandTable.h"
#include "link/LinkLog.h"
#include "link/LinkStatus.h"
#include "link/TCPHandler.h"
#include "link/UnitSoftware.h"
#include "toolkit/PumpEvents.h"
#include "toolkit/UserDialogs.h"

namespace tolm {

namespace {

// A failed set-up, caught at the end of EstablishUnitLink.
struct SetupError {
    QString text;
};

const char* const kConnectFailed = "Failed to establish a connection to the unit";

}  // namespace

UnitLink::UnitLink(LinkStatusDisplay& display)
    : display_(display), partNumberWaitMs_(kPartNumberWaitMs) {}

UnitLink::~UnitLink() {
    if (!stop(kExitWaitMs)) {
        qCWarning(lcLink) << "the link thread did not end at exit";
        thread_.leaveBehind();
        (void)context_.release();  // still in the thread's hands
    }
}

void UnitLink::InitLinkContext() {
    const ConnectionSettings connection = ConnectionSettings::read();
    setAddress(connection.host, connection.port);
    link_.stopRequest.store(false);
    link_.setStatus(0, QString());
}

void UnitLink::setAddress(const QString& host, int port) {
    link_.setHost(host);
    link_.port.store(port);
}

void UnitLink::show(const char* field, const QString& text) {
    display_.setFieldText(QLatin1String(field), text);
}

// A set-up that failed: its reason in the status field, no part number, no serial number.
void UnitLink::showSetupFailure(const QString& text) {
    compatible_ = false;
    communicationOk_ = false;
    show(LinkStatusDisplay::kStatusField, text);
    show(LinkStatusDisplay::kPartNumberField, QStringLiteral("PNR: ???"));
    show(LinkStatusDisplay::kSerialNumberField, QStringLiteral("SER: ???"));
}

void UnitLink::endStoppedThread() {
    if (link_.stopRequest.load() && !thread_.wait(kExitWaitMs)) {
        qCWarning(lcLink) << "a stopped link thread is still running; it is used as it is";
    }
    link_.stopRequest.store(false);
}

bool UnitLink::RefusedWhileBusy() const {
    if (!owner_.busy()) {
        return false;
    }
    showWarning(QLatin1String(kProductTitle), LinkOwner::refusalText(owner_.holder()));
    return true;
}

bool UnitLink::waitDrawing(const std::function<bool(int sliceMs)>& done, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const int slice = int(qBound(qint64(0), deadline.remainingTime(), qint64(kConnectSliceMs)));
        if (done(slice)) {
            return true;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        RefreshScreen();
    }
}

bool UnitLink::EstablishUnitLink() {
    compatible_ = false;
    communicationOk_ = false;
    endStoppedThread();
    show(LinkStatusDisplay::kStatusField, QStringLiteral("Establishing connection..."));
    try {
        const bool reused = threadRunning();
        if (!reused) {
            connectNewThread();
        }
        return checkPartNumbers(reused ? Retry::ConnectionLost : Retry::None);
    } catch (const SetupError& error) {
        showSetupFailure(error.text);
        return false;
    }
}

void UnitLink::connectNewThread() {
    // A thread asked to stop (a new address) must have ended, or the new one would stop too.
    endStoppedThread();
    link_.responseEvent.reset();
    link_.statusCode.store(0);
    const int attempts = ConnectionSettings::connectAttempts();
    link_.connectAttempts.store(attempts);
    if (!StartLinkThread(thread_, link_)) {
        qCWarning(lcLink) << "the previous link thread does not end; no new one started";
        showWarning(QLatin1String(kProductTitle), QLatin1String(kConnectFailed));
        throw SetupError{QLatin1String(kConnectFailed)};
    }
    auto notice = userDialogs().showAbortable(QLatin1String(kProductTitle),
                                              QStringLiteral("Establishing connection..."),
                                              QStringLiteral("Abort"));
    bool aborted = false;
    bool connected = false;
    // A thread that fails early is waited out like a slow one: only Abort ends the wait.
    waitDrawing(
        [&](int sliceMs) {
            const CommandHandOver::Phase phase = link_.handOver.waitWhileConnecting(sliceMs);
            if (phase == CommandHandOver::Phase::Stopped) {
                QThread::msleep(quint64(sliceMs));  // nothing to wait for but the user
            }
            connected = phase == CommandHandOver::Phase::Serving;
            aborted = !connected && notice->aborted();
            return connected || aborted;
        },
        attempts * kConnectSlicesPerAttempt * kConnectSliceMs);
    if (connected) {
        return;
    }
    // The thread is not left trying behind the user's back: the next set-up starts afresh, and
    // the user sees its wait again.
    requestStop();
    if (aborted) {
        throw SetupError{QLatin1String(kConnectFailed) + QStringLiteral(" - Aborted!")};
    }
    notice.reset();
    showWarning(QLatin1String(kProductTitle), QLatin1String(kConnectFailed));
    throw SetupError{QLatin1String(kConnectFailed)};
}

bool UnitLink::CheckPartNumbers() {
    // After an upload the unit reinitialises: it may have dropped the connection, or gone quiet
    // on it without closing it. Either way the link is set up again once and asked again.
    try {
        return checkPartNumbers(Retry::ConnectionLostOrSilent);
    } catch (const SetupError& error) {
        showSetupFailure(error.text);
        return false;
    }
}

bool UnitLink::checkPartNumbers(Retry retry) {
    show(LinkStatusDisplay::kStatusField, QStringLiteral("Getting Part Numbers"));
    Query query = queryPartNumbers();
    const bool again = (query == Query::ConnectionLost && retry != Retry::None) ||
                       (query == Query::TimedOut && retry == Retry::ConnectionLostOrSilent);
    if (again) {
        // The running thread's connection is dead (a replugged cable, a restarted unit): one new
        // connection is tried before giving up.
        qCInfo(lcLink) << "the link's connection does not carry the query; connecting again";
        if (threadRunning()) {
            requestStop();
        }
        show(LinkStatusDisplay::kStatusField, QStringLiteral("Establishing connection..."));
        connectNewThread();
        show(LinkStatusDisplay::kStatusField, QStringLiteral("Getting Part Numbers"));
        query = queryPartNumbers();
    }
    return reportPartNumbers(query == Query::Answered);
}

bool UnitLink::Reconnect() {
    endStoppedThread();  // a thread asked to stop (a new address) is not the link any more
    if (threadRunning()) {
        return true;
    }
    compatible_ = false;
    communicationOk_ = false;
    show(LinkStatusDisplay::kStatusField, QStringLiteral("Establishing connection..."));
    try {
        connectNewThread();
    } catch (const SetupError& error) {
        showSetupFailure(error.text);
        return false;
    }
    show(LinkStatusDisplay::kStatusField, QStringLiteral("Getting Part Numbers"));
    return reportPartNumbers(queryPartNumbers() == Query::Answered, false);
}

UnitLink::Query UnitLink::queryPartNumbers() {
    if (link_.handOver.inFlight()) {
        // An earlier command still holds the link (one whose sender gave up on it): it is
        // withdrawn, and its report awaited, so that its answer is never taken for this one's.
        RequestAbort(link_);
        if (!waitDrawing([this](int sliceMs) { return link_.handOver.waitIdle(sliceMs); },
                         kLetGoWaitMs)) {
            qCWarning(lcLink) << "the link did not let go of a withdrawn command";
            return Query::Failed;
        }
    }
    const quint32 payload[] = {0};
    const CommandHandOver::Ticket ticket =
        HandOverCommand(link_, CMD_GET_PART_NUMBERS, payload, partNumberWaitMs_);
    if (!ticket) {
        return ticket.refusal == CommandHandOver::Refusal::NoThread ? Query::ConnectionLost
                                                                    : Query::Failed;
    }
    const CommandHandOver::Generation g = ticket.generation;
    if (!waitDrawing([this, g](int sliceMs) { return link_.handOver.waitReported(g, sliceMs); },
                     partNumberWaitMs_)) {
        link_.handOver.withdraw(g);
        return Query::TimedOut;
    }
    link_.responseEvent.reset();  // the report has been seen
    if (link_.statusCode.load() == STATUS_OK) {
        DecodePN();
        return Query::Answered;
    }
    // The thread has already ended when it gave up a broken connection.
    return threadRunning() ? Query::Failed : Query::ConnectionLost;
}

bool UnitLink::reportPartNumbers(bool answered, bool warn) {
    QString status;
    QString partNumber;
    if (answered) {
        communicationOk_ = true;
        status = QStringLiteral("Communication OK!");
        if (isMainUploadMode(record_)) {
            mainUploadMode_ = true;
            partNumber = QStringLiteral("Main Upload Mode");
        } else {
            partNumber = QStringLiteral("PNR: %1").arg(record_.unit());
            compatible_ = isCompatible(record_);
            if (!compatible_ && warn) {
                showWarning(
                    QLatin1String(kProductTitle),
                    QStringLiteral("This version of TOLM is not compatible with the "
                                   "software currently installed in the unit.\n\n"
                                   "Main Software PNR: %1\nDSP Software PNR: %2\n"
                                   "DSP Config. Table PNR: %3")
                        .arg(record_.mainSoftware(), record_.dspSoftware(), record_.configTable()));
            }
        }
    } else {
        if (warn) {
            showWarning(QLatin1String(kProductTitle), QLatin1String(kConnectFailed));
        }
        status = QStringLiteral("Unable to communicate with the unit");
    }
    show(LinkStatusDisplay::kPartNumberField, partNumber);
    show(LinkStatusDisplay::kSerialNumberField, QString());
    show(LinkStatusDisplay::kStatusField, status);
    return answered;
}

void UnitLink::DecodePN() {
    record_.clear();
    const QString name = link_.responseFileName();
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        showCritical(QStringLiteral("DecodePN()"),
                     QStringLiteral("Failed to open %1 (error = %2)")
                         .arg(name, QString::number(int(file.error()))));
    } else {
        const std::optional<PartNumberRecord> decoded =
            PartNumberRecord::fromResponseFile(file.read(PartNumberRecord::kResponseFileSize));
        if (decoded) {
            record_ = *decoded;
        } else {
            showCritical(QStringLiteral("File Format Error"),
                         QStringLiteral("Error decoding Part Number message"));
        }
        file.close();
    }
    if (file.exists()) {
        file.remove();
    }
    record_.forceTerminators();
}

void UnitLink::requestStop() {
    link_.stopRequest.store(true);
    link_.commandEvent.set();
}

bool UnitLink::stop(int waitMs) {
    if (!thread_.isRunning()) {
        return true;
    }
    SetWorking(link_);
    requestStop();
    return thread_.wait(waitMs);
}

}  // namespace tolm
