#pragma once
// How the index keeps one raw file's flight blocks in the file's database row: the blocks'
// identities packed in one blob (44 bytes each, little-endian: slot, flight number, memory, the
// six alarm levels in the raw order, the hash), and per steady-state parameter one blob with the
// 26 records' values of every block in the same order, a piece of the file's values. A query of
// one parameter then reads only that parameter's bytes. A blob of sums guards the row: one over
// the file's identity (aircraft, engine, serial number, time of writing, reason) and blocks, one
// over each parameter's values, so that a row changed by anything but the index is found when it
// is read. A parameter's sum is made from the sums of its runs (one block's 26 values each),
// which the reader takes as it reads the bytes, so that no value is summed twice. Blobs that do
// not hold what this writes are refused as IndexError.
#include <QByteArray>
#include <QList>
#include <array>

#include "health/FlightRow.h"
#include "health/IndexedFile.h"

namespace tolm::health {

// The columns of a row that say whose the file is, or why it was left out.
struct RowIdentity {
    QString aircraft;
    qint32 engineNumber = 0;
    qint32 serial = 0;
    qint64 writtenAt = 0;
    QString reason;
};

struct StoredBlock {
    int slot = 0;
    qint32 flightNumber = 0;
    qint32 memory = 0;
    AlarmLevels alarms;
    quint64 hash = 0;
};

class FileRecord {
public:
    static constexpr int kBlockBytes = 4 * (3 + AlarmLevels::kCount) + 8;
    static constexpr int kParameterBytes = kRunBytes;  // one block's 26 records
    static_assert(kBlockBytes == 44 && kParameterBytes == 104);

    static QByteArray blocks(const IndexedFile& file);
    // Parameter 0..19 of every block, block after block: a view of the file's values.
    static QByteArrayView values(const IndexedFile& file, int parameter);

    static constexpr int kSums = 1 + kSteadyParameters;
    static constexpr int kIdentitySum = 0;
    static int valuesSum(int parameter) { return 1 + parameter; }

    using ValueSums = std::array<quint64, kSteadyParameters>;

    // The sums of a row: of its identity and blocks, then of each parameter's values.
    static QByteArray sums(const RowIdentity& identity, QByteArrayView blocks,
                           const ValueSums& values);
    static quint64 identitySum(const RowIdentity& identity, QByteArrayView blocks);
    static quint64 sumOf(QByteArrayView bytes);
    // The sum of one run: kRunBytes from `run`.
    static quint64 runSum(const char* run);
    // The sum of a parameter's values from the sums of its runs, block after block.
    static quint64 sumOfRuns(const quint64* runSums, qsizetype blocks);
    // The same from the values themselves: a blob of whole runs, as a row gives it back.
    static quint64 sumOfValues(QByteArrayView blob);
    // Each parameter's sum of the file's values, from the run sums the reader took.
    static ValueSums valueSums(const IndexedFile& file);
    // Throws IndexError unless sum `which` of the blob is `sum`.
    static void checkSum(const QByteArray& sums, int which, quint64 sum);

    // The blocks of a row; throws IndexError unless the blob holds whole blocks.
    static QList<StoredBlock> blocksOf(const QByteArray& blob);
    // The values of one block from a parameter's blob; throws IndexError unless the blob holds
    // exactly `blocks` blocks' values.
    static void checkValues(const QByteArray& blob, qsizetype blocks);
    static RecordValues valuesOf(const QByteArray& blob, qsizetype block);
};

}  // namespace tolm::health
