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

}  // namespace

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
    if (!insertFile_) {
        insertFile_ = db_.prepare(
            QStringLiteral("INSERT OR REPLACE INTO files(path, size, modified, inode, aircraft,"
                           " engine_type, engine, serial, written, blocks, %1) VALUES(%2)")
                .arg(valueColumns(), placeholders(10 + kSteadyParameters)));
    }
    QSqlQuery& q = *insertFile_;
    int i = 0;
    for (const QVariant& v :
         {QVariant(file.path), QVariant(file.stamp.size), QVariant(file.stamp.modifiedNs),
          QVariant(qint64(file.stamp.inode)), QVariant(file.aircraft), QVariant(file.engineType),
          QVariant(file.engineNumber), QVariant(file.serial), QVariant(file.writtenAt),
          QVariant(FileRecord::blocks(file))}) {
        q.bindValue(i++, v);
    }
    for (int p = 0; p < kSteadyParameters; ++p) {
        q.bindValue(i++, FileRecord::values(file, p));
    }
    IndexDatabase::run(q);
}

void IndexStore::putSkipped(const SkippedFile& skipped, const FileStamp& stamp) {
    QSqlQuery q = db_.prepare(
        QStringLiteral(
            "INSERT OR REPLACE INTO files(path, size, modified, inode, aircraft, engine_type,"
            " engine, serial, written, reason, blocks, %1)"
            " VALUES(?, ?, ?, ?, '', '', 0, 0, 0, ?, x''%2)")
            .arg(valueColumns(), QStringLiteral(", x''").repeated(kSteadyParameters)));
    q.addBindValue(skipped.path);
    q.addBindValue(stamp.size);
    q.addBindValue(stamp.modifiedNs);
    q.addBindValue(qint64(stamp.inode));
    q.addBindValue(skipped.reason);
    IndexDatabase::run(q);
}

void IndexStore::dropFile(const QString& path) {
    QSqlQuery q = db_.prepare(QStringLiteral("DELETE FROM files WHERE path = ?"));
    q.addBindValue(path);
    IndexDatabase::run(q);
}

QList<SkippedFile> IndexStore::skipped() {
    QSqlQuery q = db_.prepare(
        QStringLiteral("SELECT path, reason FROM files WHERE reason IS NOT NULL ORDER BY path"));
    IndexDatabase::run(q);
    QList<SkippedFile> files;
    while (q.next()) {
        files.append(SkippedFile{q.value(0).toString(), q.value(1).toString()});
    }
    return files;
}

QList<FlightRow> IndexStore::rows(const RowFilter& filter, int parameter) {
    QStringList where{QStringLiteral("reason IS NULL")};
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
        QStringLiteral("SELECT path, aircraft, engine, serial, written, blocks, %1 FROM files"
                       " WHERE %2")
            .arg(withValues ? QStringLiteral("v%1").arg(parameter) : QStringLiteral("NULL"),
                 where.join(QLatin1String(" AND "))));
    for (const QVariant& v : values) {
        q.addBindValue(v);
    }
    IndexDatabase::run(q);
    QList<FlightRow> rows;
    while (q.next()) {
        FlightRow file;
        file.path = q.value(0).toString();
        file.aircraft = q.value(1).toString();
        file.engineNumber = q.value(2).toInt();
        file.serial = q.value(3).toInt();
        file.writtenAt = q.value(4).toLongLong();
        const QList<StoredBlock> blocks = FileRecord::blocksOf(q.value(5).toByteArray());
        const QByteArray blob = withValues ? q.value(6).toByteArray() : QByteArray();
        if (withValues) {
            FileRecord::checkValues(blob, blocks.size());
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
    QSqlQuery q = db_.prepare(QStringLiteral(
        "SELECT serial, MAX(written) FROM files WHERE reason IS NULL GROUP BY serial"));
    IndexDatabase::run(q);
    QHash<qint32, qint64> last;
    while (q.next()) {
        last.insert(q.value(0).toInt(), q.value(1).toLongLong());
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
