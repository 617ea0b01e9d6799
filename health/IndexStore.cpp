#include "health/IndexStore.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include "core/ByteOrder.h"
#include "health/IndexError.h"

namespace tolm::health {

namespace {

constexpr int kAlarmBytes = 4 * AlarmLevels::kCount;
constexpr int kParameterBytes = 4 * kSteadyRecords;  // one parameter's 26 records

QByteArray alarmBytes(const AlarmLevels& alarms) {
    QByteArray bytes(kAlarmBytes, Qt::Uninitialized);
    for (int i = 0; i < AlarmLevels::kCount; ++i) {
        storeLeI32(bytes.data() + 4 * i, alarms.inRawOrder()[i]);
    }
    return bytes;
}

AlarmLevels alarmsOf(const QVariant& value) {
    const QByteArray bytes = value.toByteArray();
    if (bytes.size() != kAlarmBytes) {
        throw IndexError{QStringLiteral("a flight's alarm levels are %1 bytes").arg(bytes.size())};
    }
    std::array<qint32, AlarmLevels::kCount> levels;
    for (int i = 0; i < AlarmLevels::kCount; ++i) {
        levels[i] = loadLeI32(bytes.constData() + 4 * i);
    }
    return AlarmLevels(levels);
}

RecordValues valuesOf(const QVariant& value) {
    const QByteArray bytes = value.toByteArray();
    if (bytes.size() != kParameterBytes) {
        throw IndexError{QStringLiteral("a flight's values are %1 bytes").arg(bytes.size())};
    }
    RecordValues values;
    for (int r = 0; r < kSteadyRecords; ++r) {
        values[r] = loadLeF32(bytes.constData() + 4 * r);
    }
    return values;
}

QString idList(const QList<qint64>& ids) {
    QStringList texts;
    for (qint64 id : ids) {
        texts.append(QString::number(id));
    }
    return texts.join(QLatin1Char(','));
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
    dropFile(file.path);
    QSqlQuery f = db_.prepare(QStringLiteral(
        "INSERT INTO files(path, size, modified, inode, aircraft, engine_type, engine, serial,"
        " written) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant& v :
         {QVariant(file.path), QVariant(file.stamp.size), QVariant(file.stamp.modifiedNs),
          QVariant(qint64(file.stamp.inode)), QVariant(file.aircraft), QVariant(file.engineType),
          QVariant(file.engineNumber), QVariant(file.serial), QVariant(file.writtenAt)}) {
        f.addBindValue(v);
    }
    IndexDatabase::run(f);
    const qint64 id = f.lastInsertId().toLongLong();
    QSqlQuery b = db_.prepare(QStringLiteral(
        "INSERT INTO flights(file, slot, serial, flight, memory, alarms, hash, steady)"
        " VALUES(?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const IndexedBlock& block : file.blocks) {
        b.bindValue(0, id);
        b.bindValue(1, block.slot);
        b.bindValue(2, file.serial);
        b.bindValue(3, block.flightNumber);
        b.bindValue(4, block.memory);
        b.bindValue(5, alarmBytes(block.alarms));
        b.bindValue(6, qint64(block.hash));
        b.bindValue(7, block.steady);
        IndexDatabase::run(b);
    }
}

void IndexStore::putSkipped(const SkippedFile& skipped, const FileStamp& stamp) {
    dropFile(skipped.path);
    QSqlQuery q = db_.prepare(QStringLiteral(
        "INSERT INTO files(path, size, modified, inode, aircraft, engine_type, engine, serial,"
        " written, reason) VALUES(?, ?, ?, ?, '', '', 0, 0, 0, ?)"));
    q.addBindValue(skipped.path);
    q.addBindValue(stamp.size);
    q.addBindValue(stamp.modifiedNs);
    q.addBindValue(qint64(stamp.inode));
    q.addBindValue(skipped.reason);
    IndexDatabase::run(q);
}

void IndexStore::dropFile(const QString& path) {
    for (const char* sql :
         {"DELETE FROM flights WHERE file IN (SELECT id FROM files WHERE path = ?)",
          "DELETE FROM files WHERE path = ?"}) {
        QSqlQuery q = db_.prepare(QString::fromLatin1(sql));
        q.addBindValue(path);
        IndexDatabase::run(q);
    }
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
    QStringList where{QStringLiteral("fi.reason IS NULL")};
    QVariantList values;
    const auto require = [&](const char* condition, const QVariant& value) {
        where.append(QLatin1String(condition));
        values.append(value);
    };
    if (filter.serial) {
        require("f.serial = ?", *filter.serial);
    }
    if (filter.aircraft) {
        require("fi.aircraft = ?", *filter.aircraft);
    }
    if (filter.engineNumber) {
        require("fi.engine = ?", *filter.engineNumber);
    }
    if (filter.memory) {
        require("f.memory = ?", *filter.memory);
    }
    const bool withValues = parameter >= 0 && parameter < kSteadyParameters;
    const QString valueColumn = withValues ? QStringLiteral("substr(f.steady, %1, %2)")
                                                 .arg(1 + parameter * kParameterBytes)
                                                 .arg(kParameterBytes)
                                           : QStringLiteral("NULL");
    QSqlQuery q = db_.prepare(
        QStringLiteral("SELECT fi.path, f.slot, fi.aircraft, fi.engine, f.serial, fi.written,"
                       " f.flight, f.memory, f.alarms, f.hash, length(f.steady), %1 FROM flights f"
                       " JOIN files fi ON fi.id = f.file WHERE %2"
                       " ORDER BY fi.written, fi.path, f.slot")
            .arg(valueColumn, where.join(QLatin1String(" AND "))));
    for (const QVariant& v : values) {
        q.addBindValue(v);
    }
    IndexDatabase::run(q);
    QList<FlightRow> rows;
    while (q.next()) {
        FlightRow row;
        row.path = q.value(0).toString();
        row.slot = q.value(1).toInt();
        row.aircraft = q.value(2).toString();
        row.engineNumber = q.value(3).toInt();
        row.serial = q.value(4).toInt();
        row.writtenAt = q.value(5).toLongLong();
        row.flightNumber = q.value(6).toInt();
        row.memory = q.value(7).toInt();
        row.alarms = alarmsOf(q.value(8));
        row.hash = quint64(q.value(9).toLongLong());
        if (q.value(10).toInt() != kSteadyBytes) {
            throw IndexError{
                QStringLiteral("a flight's values are %1 bytes").arg(q.value(10).toInt())};
        }
        if (withValues) {
            row.values = valuesOf(q.value(11));
        }
        rows.append(std::move(row));
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

QList<qint64> IndexStore::fileIds(const QStringList& paths) {
    QList<qint64> ids;
    QSqlQuery q = db_.prepare(QStringLiteral("SELECT id FROM files WHERE path = ?"));
    for (const QString& path : paths) {
        q.bindValue(0, path);
        IndexDatabase::run(q);
        if (q.next()) {
            ids.append(q.value(0).toLongLong());
        }
        q.finish();
    }
    return ids;
}

DownloadTally IndexStore::tally(const QStringList& paths) {
    const QString ids = idList(fileIds(paths));
    QSqlQuery q = db_.prepare(
        QStringLiteral("SELECT COUNT(*), COALESCE(SUM(EXISTS(SELECT 1 FROM flights o"
                       " WHERE o.serial = n.serial AND o.flight = n.flight"
                       " AND o.memory = n.memory AND o.hash = n.hash AND o.file NOT IN (%1))), 0)"
                       " FROM (SELECT DISTINCT serial, flight, memory, hash FROM flights"
                       " WHERE file IN (%1)) n")
            .arg(ids));
    IndexDatabase::run(q);
    if (!q.next()) {
        throw IndexError{QStringLiteral("no count of a download's flights")};
    }
    const int all = q.value(0).toInt();
    const int filed = q.value(1).toInt();
    return DownloadTally{all - filed, filed};
}

}  // namespace tolm::health
