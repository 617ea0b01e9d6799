#include "health/FileRecord.h"

#include "core/ByteOrder.h"
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

QByteArray FileRecord::values(const IndexedFile& file, int parameter) {
    QByteArray blob;
    blob.reserve(file.blocks.size() * kParameterBytes);
    for (const IndexedBlock& b : file.blocks) {
        blob.append(b.steady.constData() + parameter * kParameterBytes, kParameterBytes);
    }
    return blob;
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
