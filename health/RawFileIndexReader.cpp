#include "health/RawFileIndexReader.h"

#include <QByteArray>
#include <QFileInfo>
#include <array>

#include "core/ByteOrder.h"
#include "download/RawFlightFileLayout.h"
#include "health/BlockHash.h"
#include "health/FileBytes.h"
#include "health/HealthLog.h"

namespace tolm::health {

namespace {

static_assert(raw::kSteadyValuesOffset + kSteadyBytes == raw::kSteadySamplesOffset);

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

// The block's entries in the header that the hash covers beside its values: the carried word
// and the six alarm levels.
QByteArrayView headerEntries(const QByteArray& header, int slot, std::array<char, 28>& out) {
    std::memcpy(out.data(), header.constData() + raw::kCarriedWordsOffset + 4 * slot, 4);
    std::memcpy(out.data() + 4, header.constData() + raw::kAlarmLevelsOffset + 24 * slot, 24);
    return QByteArrayView(out.data(), qsizetype(out.size()));
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
    const QString cutShort = kCutShort.arg(stamp.size).arg(raw::kFileSize);
    QByteArray header(raw::kHeaderSize, Qt::Uninitialized);
    if (!fetch(0, header.data(), raw::kHeaderSize)) {
        return skipped(path, stamp.size < raw::kHeaderSize ? cutShort : kCannotRead);
    }
    if (loadLe32(header.constData() + raw::kMagicOffset) != raw::kMagic) {
        return skipped(path, kOtherFormat);
    }
    if (stamp.size < raw::kFileSize) {
        return skipped(path, cutShort);
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
    std::array<char, 28> entries;
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
        block.steady = QByteArray(kSteadyBytes, Qt::Uninitialized);
        const qint64 at = raw::kHeaderSize + qint64(slot) * raw::kDataBlockSize;
        if (!fetch(at + raw::kSteadyValuesOffset, block.steady.data(), kSteadyBytes)) {
            return skipped(path, kCannotRead);
        }
        BlockHash hash;
        hash.add(headerEntries(header, slot, entries));
        hash.add(block.steady);
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
