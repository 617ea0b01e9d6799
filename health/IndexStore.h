#pragma once
// The rows of the flight index: what it knows of each raw file, the files it left out with their
// reasons, and the flight blocks of the files it read. Every failure of the database, or a row
// that does not hold what the index writes, is thrown as an IndexError.
#include <QHash>
#include <QList>
#include <QSqlQuery>
#include <QString>
#include <optional>

#include "health/DownloadTally.h"
#include "health/FileRecord.h"
#include "health/FlightRow.h"
#include "health/IndexDatabase.h"
#include "health/IndexedFile.h"

namespace tolm::health {

class IndexStore {
public:
    explicit IndexStore(IndexDatabase& db) : db_(db) {}

    // The stamp of every file the index holds, by path (left-out files included).
    QHash<QString, FileStamp> stamps();
    // Replaces whatever the index holds of the file (by path) by the file and its flights.
    void putFile(const IndexedFile& file);
    // Replaces whatever the index holds of the file by the reason it was left out.
    void putSkipped(const SkippedFile& skipped, const FileStamp& stamp);
    void dropFile(const QString& path);

    QList<SkippedFile> skipped();
    // The rows the filter picks, with the values of steady-state parameter 0..19 (NaN for -1),
    // file by file in the order of their time of writing, each file's blocks in slot order.
    QList<FlightRow> rows(const RowFilter& filter, int parameter);
    // The latest time of writing of the raw files of each engine serial number.
    QHash<qint32, qint64> lastDownloads();
    // The distinct flights of the given files, counted as held by no other file or not.
    DownloadTally tally(const QStringList& paths);

private:
    QList<qint32> serialsOf(const QStringList& paths);
    static RowIdentity checkedIdentity(const QSqlQuery& q, int at);

    IndexDatabase& db_;
};

}  // namespace tolm::health
