#include "health/FileRecord.h"

#include <QVarLengthArray>

#include "core/ByteOrder.h"
#include "health/BlockHash.h"
#include "health/IndexError.h"

namespace tolm::health {

QByteArray FileRecord::blocks(const IndexedFile& file) {
    QByteArray blob(file.blocks.size() * kBlockBytes, Qt::Uninitialized);
    char* p = blob.data();
    for (const IndexedBlock& b : file.blocks) {
        storeLeI32(p, b.slot);
        storeLeI32(p + 4, b.flightNumber);
        storeLeI32(p + 8, b.memory);
        for (int i = 0; i < AlarmLevels::kCount; ++i) {
            storeLeI32(p + 12 + 4 * i, b.alarms.inRawOrder()[i]);
        }
        storeLe32(p + 36, quint32(b.hash));
        storeLe32(p + 40, quint32(b.hash >> 32));
        p += kBlockBytes;
    }
    return blob;
}

QByteArrayView FileRecord::values(const IndexedFile& file, int parameter) {
    const qsizetype length = file.blocks.size() * kParameterBytes;
    return QByteArrayView(file.values.constData() + parameter * length, length);
}

quint64 FileRecord::sumOf(QByteArrayView bytes) {
    BlockHash hash;
    hash.add(bytes);
    return hash.result();
}

quint64 FileRecord::runSum(const char* run) {
    return sumOf(QByteArrayView(run, kRunBytes));
}

// The run sums as little-endian bytes, hashed in one piece (a file's 20 blocks on the stack).
quint64 FileRecord::sumOfRuns(const quint64* runSums, qsizetype blocks) {
    QVarLengthArray<char, 8 * 20> bytes(8 * blocks);
    for (qsizetype i = 0; i < blocks; ++i) {
        storeLe32(bytes.data() + 8 * i, quint32(runSums[i]));
        storeLe32(bytes.data() + 8 * i + 4, quint32(runSums[i] >> 32));
    }
    return sumOf(QByteArrayView(bytes.constData(), bytes.size()));
}

quint64 FileRecord::sumOfValues(QByteArrayView blob) {
    const qsizetype blocks = blob.size() / kRunBytes;
    QVarLengthArray<quint64, 20> runSums(blocks);
    for (qsizetype i = 0; i < blocks; ++i) {
        runSums[i] = runSum(blob.constData() + i * kRunBytes);
    }
    return sumOfRuns(runSums.constData(), blocks);
}

FileRecord::ValueSums FileRecord::valueSums(const IndexedFile& file) {
    const qsizetype blocks = file.blocks.size();
    ValueSums sums;
    for (int p = 0; p < kSteadyParameters; ++p) {
        sums[p] = sumOfRuns(file.runSums.constData() + p * blocks, blocks);
    }
    return sums;
}

quint64 FileRecord::identitySum(const RowIdentity& identity, QByteArrayView blocks) {
    char numbers[20];
    storeLeI32(numbers, identity.engineNumber);
    storeLeI32(numbers + 4, identity.serial);
    storeLe32(numbers + 8, quint32(identity.writtenAt));
    storeLe32(numbers + 12, quint32(quint64(identity.writtenAt) >> 32));
    storeLeI32(numbers + 16, qint32(identity.aircraft.size()));
    BlockHash hash;
    hash.add(QByteArrayView(numbers, sizeof numbers));
    hash.add(identity.aircraft.toUtf8());
    hash.add(QByteArrayView("\0", 1));
    hash.add(identity.reason.toUtf8());
    hash.add(QByteArrayView("\0", 1));
    hash.add(blocks);
    return hash.result();
}

QByteArray FileRecord::sums(const RowIdentity& identity, QByteArrayView blocks,
                            const ValueSums& values) {
    QByteArray blob(8 * kSums, '\0');
    const auto put = [&blob](int which, quint64 sum) {
        storeLe32(blob.data() + 8 * which, quint32(sum));
        storeLe32(blob.data() + 8 * which + 4, quint32(sum >> 32));
    };
    put(kIdentitySum, identitySum(identity, blocks));
    for (int p = 0; p < kSteadyParameters; ++p) {
        put(valuesSum(p), values[p]);
    }
    return blob;
}

void FileRecord::checkSum(const QByteArray& sums, int which, quint64 sum) {
    if (sums.size() != 8 * kSums) {
        throw IndexError{QStringLiteral("a file's sums are %1 bytes").arg(sums.size())};
    }
    const char* p = sums.constData() + 8 * which;
    if ((quint64(loadLe32(p)) | quint64(loadLe32(p + 4)) << 32) != sum) {
        throw IndexError{QStringLiteral("a file's row does not match its sum %1").arg(which)};
    }
}

QList<StoredBlock> FileRecord::blocksOf(const QByteArray& blob) {
    if (blob.size() % kBlockBytes != 0) {
        throw IndexError{QStringLiteral("a file's blocks are %1 bytes").arg(blob.size())};
    }
    QList<StoredBlock> blocks;
    blocks.reserve(blob.size() / kBlockBytes);
    for (const char* p = blob.constData(); p < blob.constData() + blob.size(); p += kBlockBytes) {
        StoredBlock b;
        b.slot = loadLeI32(p);
        b.flightNumber = loadLeI32(p + 4);
        b.memory = loadLeI32(p + 8);
        std::array<qint32, AlarmLevels::kCount> levels;
        for (int i = 0; i < AlarmLevels::kCount; ++i) {
            levels[i] = loadLeI32(p + 12 + 4 * i);
        }
        b.alarms = AlarmLevels(levels);
        b.hash = quint64(loadLe32(p + 36)) | quint64(loadLe32(p + 40)) << 32;
        blocks.append(b);
    }
    return blocks;
}

void FileRecord::checkValues(const QByteArray& blob, qsizetype blocks) {
    if (blob.size() != blocks * kParameterBytes) {
        throw IndexError{QStringLiteral("a file's values are %1 bytes for %2 blocks")
                             .arg(blob.size())
                             .arg(blocks)};
    }
}

RecordValues FileRecord::valuesOf(const QByteArray& blob, qsizetype block) {
    RecordValues values;
    const char* p = blob.constData() + block * kParameterBytes;
    for (int r = 0; r < kSteadyRecords; ++r) {
        values[r] = loadLeF32(p + 4 * r);
    }
    return values;
}

}  // namespace tolm::health
