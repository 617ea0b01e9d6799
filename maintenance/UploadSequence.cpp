#include "maintenance/UploadSequence.h"

#include <QFile>
#include <algorithm>

#include "core/Config.h"
#include "link/CommandTable.h"
#include "link/LinkContext.h"
#include "maintenance/MaintenanceLog.h"

namespace tolm {

namespace {

constexpr int kTicksPerSecond = 1000 / UploadSequence::kTickMs;
static_assert(kUploadPacketWaitMs % UploadSequence::kTickMs == 0);
static_assert(kUploadLastPacketWaitMs % UploadSequence::kTickMs == 0);

}  // namespace

int uploadPacketCount(std::size_t words) {
    return words == 0 ? 0 : int((words - 1) / kUploadPacketWords + 1);
}

std::vector<SequenceStep> uploadPackets(UploadKind kind, const std::vector<quint32>& words) {
    const int count = uploadPacketCount(words.size());
    std::vector<SequenceStep> packets(count);
    for (int i = 0; i < count; ++i) {
        SequenceStep& packet = packets[i];
        packet.kind = i;
        packet.requested = true;
        packet.command = uploadCommand(kind);
        packet.payload.assign(kUploadPacketWords, 0);
        const auto first = words.begin() + std::ptrdiff_t(i) * kUploadPacketWords;
        const auto last =
            words.end() - first > kUploadPacketWords ? first + kUploadPacketWords : words.end();
        std::copy(first, last, packet.payload.begin());
        const bool isLast = i == count - 1;
        packet.timeoutTicks =
            (isLast ? kUploadLastPacketWaitMs : kUploadPacketWaitMs) / UploadSequence::kTickMs;
        // Completed only with the unit's valid answer in hand: a packet the link gave up on
        // (its command withdrawn) never reads as taken.
        packet.readsResponse = true;
    }
    return packets;
}

UploadSequence::UploadSequence(LinkContext& link, UploadKind kind,
                               const std::vector<quint32>& words, View& view)
    : link_(link),
      kind_(kind),
      view_(view),
      sequence_(link, uploadPackets(kind, words), *this, kTicksPerSecond, true) {}

void UploadSequence::stepStarted(int index) {
    packetNumber_ = index + 1;
    view_.packetStarted(packetNumber_, packetCount());
}

void UploadSequence::stepFinished(int index, StepOutcome outcome) {
    const QString answer = link_.responseFileName();
    if (!answer.isEmpty()) {
        QFile::remove(answer);  // the unit's answer to a packet says nothing more
    }
    switch (outcome) {
        case StepOutcome::Completed:
            if (index == packetCount() - 1) {
                setReinitialising(false);
                state_ = State::Completed;
            }
            return;
        case StepOutcome::Timeout:
            state_ = State::TimedOut;
            break;
        default:
            state_ = State::Failed;
            break;
    }
    setReinitialising(false);
    packetNumber_ = index + 1;
    qCWarning(lcMaintenance, "upload of kind %d ended at packet %d of %d: %s", int(kind_),
              packetNumber_, packetCount(), qPrintable(outcomeText(outcome)));
}

void UploadSequence::progress(int, int) {
    // Called on each tick on which the packet in flight is still unanswered.
    if (reinitialisesAfterUpload(kind_) && sequence_.current() == packetCount() - 1) {
        setReinitialising(true);
    }
}

bool UploadSequence::reconnect() {
    // Only before anything was sent: the unit would not take the rest of an image on a new
    // connection.
    return sequence_.current() == 0 && view_.reconnect();
}

void UploadSequence::finished() {
    view_.finished();
}

void UploadSequence::setReinitialising(bool shown) {
    if (reinitialising_ != shown) {
        reinitialising_ = shown;
        view_.showReinitialising(shown);
    }
}

QString UploadSequence::progressText() const {
    switch (state_) {
        case State::Running:
            return packetNumber_ == 0 ? QStringLiteral("Initiating upload")
                                      : QStringLiteral("Uploading packet %1 of %2")
                                            .arg(packetNumber_)
                                            .arg(packetCount());
        case State::Completed:
            return QStringLiteral("Upload Completed!");
        case State::Failed:
            return QStringLiteral("Upload failed");
        case State::TimedOut:
            return QStringLiteral("Upload timeout");
    }
    return QString();
}

QString UploadSequence::statusText() const {
    return state_ == State::Running ? QStringLiteral("Upload in Progress...") : progressText();
}

std::optional<Notice> UploadSequence::endNotice() const {
    switch (state_) {
        case State::Running:
            return std::nullopt;
        case State::Completed:
            switch (kind_) {
                case UploadKind::MainSoftware:
                    return Notice::information(
                        QStringLiteral("Firmware Upload"),
                        QStringLiteral("Upload completed!\nPlease unplug the cable and restart "
                                       "the box to synchronize the QUOR and the SELK board.\nThe "
                                       "TOLM will exit."));
                case UploadKind::DspSoftware:
                    return Notice::information(QStringLiteral("Firmware Upload"),
                                               QStringLiteral("Upload Completed!"));
                case UploadKind::ConfigTable:
                    return std::nullopt;
            }
            return std::nullopt;
        case State::Failed:
            return Notice::critical(QStringLiteral("Firmware Upload"),
                                    QStringLiteral("Upload failed at packet %1 of %2")
                                        .arg(packetNumber_)
                                        .arg(packetCount()));
        case State::TimedOut:
            return Notice::critical(QLatin1String(kProductTitle), QStringLiteral("Upload timeout"));
    }
    return std::nullopt;
}

}  // namespace tolm
