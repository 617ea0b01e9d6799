#include "health/RawFileIndexReader.h"

#include <QByteArray>
#include <QFileInfo>
#include <array>

#include "core/ByteOrder.h"
#include "formats/RawFlightFileLayout.h"
#include "health/BlockHash.h"
#include "health/FileBytes.h"
#include "health/FileRecord.h"
#include "health/HealthLog.h"

namespace tolm::health {

namespace {

static_assert(raw::kSteadyValuesOffset + kSteadyBytes == raw::kSteadySamplesOffset);

constexpr int kHeaderEntryBytes = 4 + 4 * AlarmLevels::kCount;

FileReading skipped(const QString& path, const QString& reason) {
    qCInfo(lcHealth) << "left out of the index:" << path << reason;
    return FileReading{std::nullopt, SkippedFile{path, reason}};
}

qint32 word(const QByteArray& header, int offset) {
    return loadLeI32(header.constData() + offset);
}

QString text(const QByteArray& header, int offset) {
    const char* p = header.constData() + offset;
    return QString::fromLocal8Bit(p, qstrnlen(p, raw::kTextWidth));
}

// The block's entries in the header that its hash covers beside its values: the carried word and
// the six alarm levels, at the start of `out`.
void putHeaderEntries(const QByteArray& header, int slot, char* out) {
    std::memcpy(out, header.constData() + raw::kCarriedWordsOffset + 4 * slot, 4);
    std::memcpy(out + 4, header.constData() + raw::kAlarmLevelsOffset + 24 * slot, 24);
}

}  // namespace

FileReading RawFileIndexReader::read(const QString& path, const std::function<void()>& afterRead) {
    FileBytes bytes;
    if (!bytes.open(path)) {
        return skipped(path, kCannotOpen);
    }
    FileReading reading = parse(path, bytes.stamp(), [&bytes](qint64 at, char* out, qsizetype n) {
        return bytes.readAt(at, out, n);
    });
    if (afterRead) {
        afterRead();
    }
    if (reading.file) {
        const std::optional<FileStamp> after = FileBytes::stampOf(path);
        if (!after || !after->sameFileAs(bytes.stamp())) {
            return skipped(path, kChanged);
        }
    }
    return reading;
}

FileReading RawFileIndexReader::parse(const QString& path, const FileStamp& stamp,
                                      const Fetch& fetch) {
    const auto cutShort = [&stamp] { return kCutShort.arg(stamp.size).arg(raw::kFileSize); };
    QByteArray header(raw::kHeaderSize, Qt::Uninitialized);
    if (!fetch(0, header.data(), raw::kHeaderSize)) {
        return skipped(path, stamp.size < raw::kHeaderSize ? cutShort() : kCannotRead);
    }
    if (loadLe32(header.constData() + raw::kMagicOffset) != raw::kMagic) {
        return skipped(path, kOtherFormat);
    }
    if (stamp.size < raw::kFileSize) {
        return skipped(path, cutShort());
    }
    IndexedFile file;
    file.path = path;
    file.stamp = stamp;
    file.aircraft = text(header, raw::kIdentifierOffset);
    file.engineType = text(header, raw::kEngineTypeOffset);
    file.engineNumber = word(header, raw::kEngineNumberOffset);
    if (file.engineNumber != 1 && file.engineNumber != 2) {
        return skipped(path, kBadEngine.arg(file.engineNumber));
    }
    file.serial = serialFromFileName(QFileInfo(path).fileName());
    file.writtenAt = word(header, raw::kWrittenOffset);
    // The values are laid out as the index keeps them (IndexedFile), each block's run of a
    // parameter with its sum as it is read; a block's hash covers its header entries and the sums
    // of its runs, so that no byte is hashed twice.
    qsizetype used = 0;
    for (int slot = 0; slot < raw::kDataBlocks; ++slot) {
        used += word(header, raw::kFlightNumbersOffset + 4 * slot) != 0 ? 1 : 0;
    }
    file.blocks.reserve(used);
    file.values = QByteArray(used * kSteadyBytes, Qt::Uninitialized);
    file.runSums.resize(used * kSteadyParameters);
    char* const values = file.values.data();
    std::array<char, kSteadyBytes> steady;
    std::array<char, kHeaderEntryBytes + 8 * kSteadyParameters> hashed;
    for (int slot = 0; slot < raw::kDataBlocks; ++slot) {
        IndexedBlock block;
        block.slot = slot;
        block.flightNumber = word(header, raw::kFlightNumbersOffset + 4 * slot);
        if (block.flightNumber == 0) {
            continue;
        }
        block.memory = word(header, raw::kMemoriesOffset + 4 * slot);
        if (block.memory != 0 && block.memory != 1) {
            return skipped(path, kBadMemory.arg(block.memory).arg(slot));
        }
        std::array<qint32, AlarmLevels::kCount> levels;
        for (int i = 0; i < AlarmLevels::kCount; ++i) {
            levels[i] =
                word(header, raw::kAlarmLevelsOffset + 4 * (slot * AlarmLevels::kCount + i));
        }
        block.alarms = AlarmLevels(levels);
        const qint64 at = raw::kHeaderSize + qint64(slot) * raw::kDataBlockSize;
        if (!fetch(at + raw::kSteadyValuesOffset, steady.data(), kSteadyBytes)) {
            return skipped(path, kCannotRead);
        }
        const qsizetype i = file.blocks.size();
        putHeaderEntries(header, slot, hashed.data());
        for (int p = 0; p < kSteadyParameters; ++p) {
            const char* run = steady.data() + p * kRunBytes;
            const qsizetype to = p * used + i;
            std::memcpy(values + to * kRunBytes, run, kRunBytes);
            const quint64 sum = FileRecord::runSum(run);
            file.runSums[to] = sum;
            char* const put = hashed.data() + kHeaderEntryBytes + 8 * p;
            storeLe32(put, quint32(sum));
            storeLe32(put + 4, quint32(sum >> 32));
        }
        BlockHash hash;
        hash.add(QByteArrayView(hashed.data(), qsizetype(hashed.size())));
        block.hash = hash.result();
        file.blocks.append(std::move(block));
    }
    return FileReading{std::move(file), std::nullopt};
}

qint32 RawFileIndexReader::serialFromFileName(QStringView name) {
    if (!name.startsWith(QLatin1String("ESN"))) {
        return kUnknownSerial;
    }
    qint64 serial = 0;
    qsizetype i = 3;
    for (; i < name.size() && unsigned(name[i].unicode() - u'0') < 10u && serial <= 999999999;
         ++i) {
        serial = serial * 10 + (name[i].unicode() - u'0');
    }
    if (i == 3 || i >= name.size() || name[i] != QLatin1Char('_') || serial > 2147483647) {
        return kUnknownSerial;
    }
    return qint32(serial);
}

}  // namespace tolm::health
