#include "health/IndexStore.h"

#include <QSet>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include "health/FileRecord.h"
#include "health/IndexError.h"

namespace tolm::health {

namespace {

QString valueColumns() {
    QStringList columns;
    for (int p = 0; p < kSteadyParameters; ++p) {
        columns.append(QStringLiteral("v%1").arg(p));
    }
    return columns.join(QLatin1String(", "));
}

QString placeholders(int n) {
    QStringList marks;
    for (int i = 0; i < n; ++i) {
        marks.append(QStringLiteral("?"));
    }
    return marks.join(QLatin1String(", "));
}

// The columns that checkedIdentity() reads, from its first column on.
const char* const kIdentityColumns = "aircraft, engine, serial, written, reason, blocks, sums";

}  // namespace

// The identity of the row at the query's column `at` (kIdentityColumns), checked against its sum.
RowIdentity IndexStore::checkedIdentity(const QSqlQuery& q, int at) {
    RowIdentity identity{q.value(at).toString(), q.value(at + 1).toInt(), q.value(at + 2).toInt(),
                         q.value(at + 3).toLongLong(), q.value(at + 4).toString()};
    FileRecord::checkSum(q.value(at + 6).toByteArray(), FileRecord::kIdentitySum,
                         FileRecord::identitySum(identity, q.value(at + 5).toByteArray()));
    return identity;
}

QHash<QString, FileStamp> IndexStore::stamps() {
    QSqlQuery q = db_.prepare(QStringLiteral("SELECT path, size, modified, inode FROM files"));
    IndexDatabase::run(q);
    QHash<QString, FileStamp> stamps;
    while (q.next()) {
        stamps.insert(q.value(0).toString(),
                      FileStamp{q.value(1).toLongLong(), q.value(2).toLongLong(),
                                quint64(q.value(3).toLongLong())});
    }
    return stamps;
}

void IndexStore::putFile(const IndexedFile& file) {
    static const QString insert =
        QStringLiteral(
            "INSERT OR REPLACE INTO files(path, size, modified, inode, aircraft,"
            " engine_type, engine, serial, written, blocks, sums, %1) VALUES(%2)")
            .arg(valueColumns(), placeholders(11 + kSteadyParameters));
    IndexDatabase::Writer& w = db_.writer(insert);
    const QByteArray blocks = FileRecord::blocks(file);
    const RowIdentity identity{file.aircraft, file.engineNumber, file.serial, file.writtenAt, {}};
    const QByteArray sums = FileRecord::sums(identity, blocks, FileRecord::valueSums(file));
    w.bind(1, file.path);
    w.bind(2, file.stamp.size);
    w.bind(3, file.stamp.modifiedNs);
    w.bind(4, qint64(file.stamp.inode));
    w.bind(5, file.aircraft);
    w.bind(6, file.engineType);
    w.bind(7, qint64(file.engineNumber));
    w.bind(8, qint64(file.serial));
    w.bind(9, file.writtenAt);
    w.bind(10, QByteArrayView(blocks));
    w.bind(11, QByteArrayView(sums));
    // The values are bound where the file holds them.
    for (int p = 0; p < kSteadyParameters; ++p) {
        w.bind(12 + p, FileRecord::values(file, p));
    }
    w.run();
}

void IndexStore::putSkipped(const SkippedFile& skipped, const FileStamp& stamp) {
    QSqlQuery q = db_.prepare(
        QStringLiteral("INSERT OR REPLACE INTO files(path, size, modified, inode, aircraft,"
                       " engine_type, engine, serial, written, reason, blocks, sums, %1)"
                       " VALUES(?, ?, ?, ?, '', '', 0, 0, 0, ?, x'', ?%2)")
            .arg(valueColumns(), QStringLiteral(", x''").repeated(kSteadyParameters)));
    const RowIdentity identity{{}, 0, 0, 0, skipped.reason};
    q.addBindValue(skipped.path);
    q.addBindValue(stamp.size);
    q.addBindValue(stamp.modifiedNs);
    q.addBindValue(qint64(stamp.inode));
    q.addBindValue(skipped.reason);
    q.addBindValue(FileRecord::sums(identity, {}, FileRecord::valueSums(IndexedFile{})));
    IndexDatabase::run(q);
}

void IndexStore::dropFile(const QString& path) {
    QSqlQuery q = db_.prepare(QStringLiteral("DELETE FROM files WHERE path = ?"));
    q.addBindValue(path);
    IndexDatabase::run(q);
}

QList<SkippedFile> IndexStore::skipped() {
    QSqlQuery q = db_.prepare(QStringLiteral("SELECT path, %1 FROM files ORDER BY path")
                                  .arg(QLatin1String(kIdentityColumns)));
    IndexDatabase::run(q);
    QList<SkippedFile> files;
    while (q.next()) {
        const QString reason = checkedIdentity(q, 1).reason;
        if (!reason.isEmpty()) {
            files.append(SkippedFile{q.value(0).toString(), reason});
        }
    }
    return files;
}

QList<FlightRow> IndexStore::rows(const RowFilter& filter, int parameter) {
    // Left-out files are told apart after their rows' sums are checked, so that a row whose
    // reason was changed is found like any other changed row.
    QStringList where{QStringLiteral("1")};
    QVariantList values;
    const auto require = [&](const char* condition, const QVariant& value) {
        where.append(QLatin1String(condition));
        values.append(value);
    };
    if (filter.serial) {
        require("serial = ?", *filter.serial);
    }
    if (filter.aircraft) {
        require("aircraft = ?", *filter.aircraft);
    }
    if (filter.engineNumber) {
        require("engine = ?", *filter.engineNumber);
    }
    const bool withValues = parameter >= 0 && parameter < kSteadyParameters;
    QSqlQuery q = db_.prepare(
        QStringLiteral("SELECT path, %1, %2 FROM files WHERE %3 ORDER BY written, path")
            .arg(QLatin1String(kIdentityColumns),
                 withValues ? QStringLiteral("v%1").arg(parameter) : QStringLiteral("NULL"),
                 where.join(QLatin1String(" AND "))));
    for (const QVariant& v : values) {
        q.addBindValue(v);
    }
    IndexDatabase::run(q);
    QList<FlightRow> rows;
    while (q.next()) {
        FlightRow file;
        file.path = q.value(0).toString();
        const RowIdentity identity = checkedIdentity(q, 1);
        if (!identity.reason.isEmpty()) {
            continue;
        }
        file.aircraft = identity.aircraft;
        file.engineNumber = identity.engineNumber;
        file.serial = identity.serial;
        file.writtenAt = identity.writtenAt;
        const QList<StoredBlock> blocks = FileRecord::blocksOf(q.value(6).toByteArray());
        const QByteArray blob = withValues ? q.value(8).toByteArray() : QByteArray();
        if (withValues) {
            FileRecord::checkValues(blob, blocks.size());
            FileRecord::checkSum(q.value(7).toByteArray(), FileRecord::valuesSum(parameter),
                                 FileRecord::sumOfValues(blob));
        }
        for (qsizetype i = 0; i < blocks.size(); ++i) {
            const StoredBlock& b = blocks[i];
            if (filter.memory && b.memory != *filter.memory) {
                continue;
            }
            FlightRow row = file;
            row.slot = b.slot;
            row.flightNumber = b.flightNumber;
            row.memory = b.memory;
            row.alarms = b.alarms;
            row.hash = b.hash;
            if (withValues) {
                row.values = FileRecord::valuesOf(blob, i);
            }
            rows.append(std::move(row));
        }
    }
    return rows;
}

QHash<qint32, qint64> IndexStore::lastDownloads() {
    QSqlQuery q =
        db_.prepare(QStringLiteral("SELECT %1 FROM files").arg(QLatin1String(kIdentityColumns)));
    IndexDatabase::run(q);
    QHash<qint32, qint64> last;
    while (q.next()) {
        const RowIdentity identity = checkedIdentity(q, 0);
        if (!identity.reason.isEmpty()) {
            continue;
        }
        const auto found = last.constFind(identity.serial);
        if (found == last.constEnd() || *found < identity.writtenAt) {
            last.insert(identity.serial, identity.writtenAt);
        }
    }
    return last;
}

QList<qint32> IndexStore::serialsOf(const QStringList& paths) {
    QSet<qint32> serials;
    QSqlQuery q =
        db_.prepare(QStringLiteral("SELECT serial FROM files WHERE path = ? AND reason IS NULL"));
    for (const QString& path : paths) {
        q.bindValue(0, path);
        IndexDatabase::run(q);
        if (q.next()) {
            serials.insert(q.value(0).toInt());
        }
        q.finish();
    }
    return serials.values();
}

DownloadTally IndexStore::tally(const QStringList& paths) {
    const QSet<QString> download(paths.begin(), paths.end());
    QSet<FlightKey> fresh, filed;
    for (qint32 serial : serialsOf(paths)) {
        RowFilter filter;
        filter.serial = serial;
        for (const FlightRow& row : rows(filter, -1)) {
            (download.contains(row.path) ? fresh : filed).insert(row.key());
        }
    }
    DownloadTally tally;
    for (const FlightKey& key : fresh) {
        ++(filed.contains(key) ? tally.alreadyFiled : tally.newFlights);
    }
    return tally;
}

}  // namespace tolm::health
