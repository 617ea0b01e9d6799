#pragma once
// What the flight index keeps of one raw flight-data file: its stamp (size and modification
// time), the header's identity of aircraft and engine, the engine's serial number from the
// file's name, the time of writing, per used data block the flight, its alarm levels and a hash
// of the block's bytes that the index read, and the steady-state values of the blocks' 26
// records, laid out as the index keeps them. A file that cannot be indexed is a skipped file with
// its reason.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include "health/AlarmLevels.h"

namespace tolm::health {

inline constexpr int kSteadyParameters = 20;  // rows 0..19, the parameter identifiers
inline constexpr int kSteadyRecords = 26;
// The steady-state values of one block as the raw file holds them: 20 x 26 little-endian floats,
// value j of record r at (j * 26 + r) * 4.
inline constexpr int kSteadyBytes = 4 * kSteadyParameters * kSteadyRecords;
static_assert(kSteadyBytes == 2080);
// One parameter's values of one block: its 26 records, 104 bytes.
inline constexpr int kRunBytes = 4 * kSteadyRecords;

inline constexpr int kUnknownSerial = -1;  // a file whose name carries no "ESN<n>_"

// Size and modification time, as the index compares them; the inode tells a replaced file.
struct FileStamp {
    qint64 size = -1;
    qint64 modifiedNs = 0;  // nanoseconds since 1970 UTC
    quint64 inode = 0;
    bool sameFileAs(const FileStamp& o) const {
        return size == o.size && modifiedNs == o.modifiedNs && inode == o.inode;
    }
    bool operator==(const FileStamp&) const = default;
};

struct IndexedBlock {
    int slot = 0;  // data block 0..19
    qint32 flightNumber = 0;
    qint32 memory = 0;  // 0 pre-defect, 1 post-defect
    AlarmLevels alarms;
    quint64 hash = 0;
    bool operator==(const IndexedBlock&) const = default;
};

struct IndexedFile {
    QString path;  // absolute
    FileStamp stamp;
    QString aircraft;
    QString engineType;
    qint32 engineNumber = 0;
    qint32 serial = kUnknownSerial;
    qint64 writtenAt = 0;  // the download: seconds since 1970 UTC, from the header
    QList<IndexedBlock> blocks;
    // The blocks' steady-state values parameter after parameter: the run of parameter p of the
    // i-th block (its 26 records) at (p * blocks.size() + i) * kRunBytes. A parameter's values
    // of every block are then one piece of it.
    QByteArray values;
    // The sum of each run (FileRecord::runSum), in the same order.
    QList<quint64> runSums;
    bool operator==(const IndexedFile&) const = default;
};

struct SkippedFile {
    QString path;
    QString reason;
    bool operator==(const SkippedFile&) const = default;
};

}  // namespace tolm::health
