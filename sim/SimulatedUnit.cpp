#include "sim/SimulatedUnit.h"

#include <QDir>
#include <QFile>
#include <algorithm>

#include "link/CommandTable.h"
#include "sim/ResponseFrame.h"
#include "sim/image/FlightImage.h"

namespace quorsim {

namespace {

// The part-number block: 276 bytes of 16-byte texts; offsets count from the block data.
constexpr int kPartNumberDataSize = 276;
constexpr int kTextWidth = 16;
constexpr int kUnitAt = 0;
constexpr int kBootMainAt = 36;
constexpr int kMainAt = 52;
constexpr int kBootDspAt = 92;
constexpr int kDspAt = 108;
constexpr int kLabelAt = 124;
constexpr int kConfigAt = 140;
// The bytes the program does not interpret are not zero on a real unit either.
constexpr char kFiller = char(0xA5);

constexpr quint32 kBytesBlock = 0;
constexpr quint32 kByteCountOffset = 16;  // of the first block's byte count in a response
constexpr quint32 kTypeOffset = 12;       // of the first block's type
constexpr quint32 kUnknownCommandAck = 1;
constexpr quint32 kBadEngineAck = 3;

void putText(QByteArray& data, int at, const QByteArray& text) {
    const QByteArray field = text.left(kTextWidth).leftJustified(kTextWidth, '\0');
    data.replace(at, kTextWidth, field);
}

bool isUpload(quint32 code) {
    return code == tolm::CMD_UPLOAD_MAIN_SOFTWARE || code == tolm::CMD_UPLOAD_DSP_SOFTWARE ||
           code == tolm::CMD_UPLOAD_CONFIG_TABLE;
}

bool isErase(quint32 code) {
    return code == tolm::CMD_ERASE_BEARING_DATA || code == tolm::CMD_ERASE_BEARING_DEFECT_HISTORY ||
           code == tolm::CMD_ERASE_ACCEL_DEFECT_HISTORY;
}

int engineOf(const ReceivedCommand& c) {
    return c.payload.empty() ? 0 : int(c.payload[0]);
}

}  // namespace

PartNumbers PartNumbers::compatible() {
    return {"731-400-000-2C", "731-401-000-1A", "731-402-000-1B",
            "731-404-000-1A", "731-403-000-4A", "731-406-000-4D"};
}

PartNumbers PartNumbers::mainUploadMode() {
    return {"731-400-000-2C", "731-401-000-1A", "731-402-000-1B", "", "", ""};
}

PartNumbers PartNumbers::incompatible() {
    PartNumbers p = compatible();
    p.main = "731-402-000-0F";
    return p;
}

SimulatedUnit::SimulatedUnit() : partNumbers_(PartNumbers::compatible()) {}

void SimulatedUnit::setPartNumbers(const PartNumbers& numbers) {
    std::lock_guard lock(mutex_);
    partNumbers_ = numbers;
}

void SimulatedUnit::setSeed(quint32 seed) {
    std::lock_guard lock(mutex_);
    seed_ = seed;
    images_[0].clear();
    images_[1].clear();
}

void SimulatedUnit::setEraseDurationMs(quint32 command, int ms) {
    std::lock_guard lock(mutex_);
    eraseMs_[command] = ms;
}

void SimulatedUnit::addFault(const Fault& fault) {
    std::lock_guard lock(mutex_);
    faults_.push_back(fault);
}

void SimulatedUnit::clearFaults() {
    std::lock_guard lock(mutex_);
    faults_.clear();
}

void SimulatedUnit::restoreBearingData() {
    std::lock_guard lock(mutex_);
    for (int e = 0; e < 2; ++e) {
        erased_[e] = false;
        images_[e].clear();
    }
}

void SimulatedUnit::clearCommands() {
    std::lock_guard lock(mutex_);
    commands_.clear();
}

std::vector<ReceivedCommand> SimulatedUnit::commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

QByteArray SimulatedUnit::uploaded(quint32 command) const {
    std::lock_guard lock(mutex_);
    const auto it = uploads_.find(command);
    return it == uploads_.end() ? QByteArray() : it->second;
}

bool SimulatedUnit::bearingDataErased(int engine) const {
    std::lock_guard lock(mutex_);
    return engine >= 1 && engine <= 2 && erased_[engine - 1];
}

void SimulatedUnit::setRebootAfterUpload(bool on) {
    std::lock_guard lock(mutex_);
    rebootAfterUpload_ = on;
}

void SimulatedUnit::setRebootQuietly(bool on) {
    std::lock_guard lock(mutex_);
    rebootQuietly_ = on;
}

void SimulatedUnit::setPartNumbersAfterReboot(const PartNumbers& numbers) {
    std::lock_guard lock(mutex_);
    afterReboot_ = numbers;
}

void SimulatedUnit::setUploadDirectory(const QString& directory) {
    std::lock_guard lock(mutex_);
    uploadDirectory_ = directory;
}

int SimulatedUnit::reboots() const {
    std::lock_guard lock(mutex_);
    return reboots_;
}

std::vector<quint32> SimulatedUnit::uploadedWords(quint32 command) const {
    const QByteArray bytes = uploaded(command);
    std::vector<quint32> words;
    for (qsizetype at = 0; at + 4 <= bytes.size(); at += 4) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData() + at);
        words.push_back(quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3]);
    }
    return words;
}

QString SimulatedUnit::uploadFileName(quint32 command) {
    switch (command) {
        case tolm::CMD_UPLOAD_MAIN_SOFTWARE:
            return QStringLiteral("main-software.txt");
        case tolm::CMD_UPLOAD_DSP_SOFTWARE:
            return QStringLiteral("dsp-software.txt");
        default:
            return QStringLiteral("config-table.txt");
    }
}

Reply SimulatedUnit::handle(const ReceivedCommand& command) {
    std::lock_guard lock(mutex_);
    commands_.push_back(command);
    if (rebootPending_ && command.code != uploading_) {
        // The unit reinitialised after the last packet: this connection died with it.
        reboot();
        Reply dead;
        if (rebootQuietly_) {
            dead.silent = true;
        } else {
            dead.closeAfter = 0;
        }
        return dead;
    }
    std::optional<Fault> applied;
    const auto fault = std::find_if(faults_.begin(), faults_.end(), [&](const Fault& f) {
        return f.command == 0 || f.command == command.code;
    });
    if (fault != faults_.end()) {
        if (fault->after > 0) {
            --fault->after;
        } else {
            applied = *fault;
            if (fault->times > 0 && --fault->times == 0) {
                faults_.erase(fault);
            }
        }
    }
    // A packet whose answer is refused, lost or cut off was not taken, and the upload ends.
    const bool taken = !applied || applied->kind == FaultKind::SlowAnswer ||
                       applied->kind == FaultKind::CloseAfterAnswer;
    if (isUpload(command.code)) {
        if (taken) {
            storePacket(command);
        }
        const bool whole = !applied || applied->kind == FaultKind::SlowAnswer;
        rebootPending_ = rebootAfterUpload_ && whole;
        if (!whole) {
            uploading_ = 0;
        }
    }
    Reply reply = answer(command);
    if (applied) {
        applyFault(*applied, reply);
    }
    return reply;
}

void SimulatedUnit::connectionEnded() {
    std::lock_guard lock(mutex_);
    if (rebootPending_) {
        reboot();
    }
}

void SimulatedUnit::storePacket(const ReceivedCommand& command) {
    QByteArray& stored = uploads_[command.code];
    QFile file;
    if (!uploadDirectory_.isEmpty()) {
        file.setFileName(QDir(uploadDirectory_).filePath(uploadFileName(command.code)));
    }
    QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Append;
    if (uploading_ != command.code) {
        // The first packet of an upload: it replaces the kind's last one.
        stored.clear();
        mode = QIODevice::WriteOnly | QIODevice::Truncate;
        uploading_ = command.code;
    }
    if (command.code == tolm::CMD_UPLOAD_MAIN_SOFTWARE) {
        mainSoftwareLoaded_ = true;
    }
    QByteArray text;
    for (quint32 word : command.payload) {
        ResponseFrame::putBe32(stored, word);
        text += QByteArray::number(word, 16).rightJustified(8, '0') + '\n';
    }
    if (!file.fileName().isEmpty() && file.open(mode)) {
        file.write(text);
    }
}

void SimulatedUnit::reboot() {
    rebootPending_ = false;
    uploading_ = 0;
    ++reboots_;
    if (afterReboot_) {
        partNumbers_ = *afterReboot_;
    } else if (mainSoftwareLoaded_) {
        partNumbers_ = PartNumbers::compatible();
    }
    mainSoftwareLoaded_ = false;
}

Reply SimulatedUnit::answer(const ReceivedCommand& command) {
    Reply reply;
    const int engine = engineOf(command);
    if (command.code == tolm::CMD_GET_PART_NUMBERS) {
        reply.bytes = ResponseFrame().block(kBytesBlock, partNumberData(partNumbers_)).bytes();
    } else if (command.code == tolm::CMD_DOWNLOAD_BEARING_DATA) {
        reply.bytes =
            engine == 1 || engine == 2 ? download(engine) : ResponseFrame(kBadEngineAck).bytes();
    } else if (isErase(command.code)) {
        if (command.code == tolm::CMD_ERASE_BEARING_DATA && (engine == 1 || engine == 2)) {
            erased_[engine - 1] = true;
            images_[engine - 1].clear();
        }
        const auto ms = eraseMs_.find(command.code);
        reply.delayMs = ms == eraseMs_.end() ? 0 : ms->second;
        reply.bytes = ResponseFrame().bytes();
    } else if (isUpload(command.code)) {
        reply.bytes = ResponseFrame().bytes();  // the packet is stored by handle()
    } else {
        reply.bytes = ResponseFrame(kUnknownCommandAck).bytes();
    }
    return reply;
}

QByteArray SimulatedUnit::download(int engine) {
    QByteArray& image = images_[engine - 1];
    if (image.isEmpty()) {
        image = erased_[engine - 1] ? FlightImage::erased(engine).wireResponse()
                                    : FlightImage::generate(seed_, engine).wireResponse();
    }
    return image;
}

QByteArray SimulatedUnit::partNumberData(const PartNumbers& numbers) {
    QByteArray data(kPartNumberDataSize, kFiller);
    putText(data, kUnitAt, numbers.unit);
    putText(data, kBootMainAt, numbers.bootMain);
    putText(data, kMainAt, numbers.main);
    putText(data, kBootDspAt, numbers.bootDsp);
    putText(data, kDspAt, numbers.dsp);
    putText(data, kLabelAt, "QUOR simulator");
    putText(data, kConfigAt, numbers.config);
    return data;
}

void SimulatedUnit::applyFault(const Fault& fault, Reply& reply) {
    QByteArray& b = reply.bytes;
    const bool hasBlock = b.size() >= ResponseFrame::kHeaderSize + ResponseFrame::kBlockHeaderSize;
    switch (fault.kind) {
        case FaultKind::Ack:
            b = ResponseFrame(fault.value ? fault.value : 1).bytes();
            break;
        case FaultKind::InvalidBlockType:
            if (hasBlock) {
                ResponseFrame::setBe32(b, kTypeOffset, fault.value ? fault.value : 7);
            }
            break;
        case FaultKind::ByteCountOverLimit:
            if (hasBlock) {
                ResponseFrame::setBe32(b, kByteCountOffset, 16777216);
            }
            break;
        case FaultKind::Truncated:
            if (hasBlock) {
                const auto* p = reinterpret_cast<const unsigned char*>(b.constData());
                const quint32 count = quint32(p[16]) << 24 | quint32(p[17]) << 16 |
                                      quint32(p[18]) << 8 | quint32(p[19]);
                ResponseFrame::setBe32(b, kByteCountOffset, count + 100);
            }
            break;
        case FaultKind::SizeWord:
            ResponseFrame::setBe32(b, 0, fault.value);
            if (fault.value < quint32(b.size())) {
                b.truncate(std::max<qsizetype>(4, fault.value));
            }
            break;
        case FaultKind::CloseMidResponse:
            // value: the bytes sent before closing; 0: half of the answer.
            reply.closeAfter = fault.value > 0 && fault.value < quint32(b.size())
                                   ? qsizetype(fault.value)
                                   : b.size() / 2;
            break;
        case FaultKind::NoAnswer:
            reply.silent = true;
            break;
        case FaultKind::SlowAnswer:
            reply.delayMs += int(fault.value);
            break;
        case FaultKind::CloseAfterAnswer:
            reply.closeAfter = b.size();
            break;
    }
}

}  // namespace quorsim
