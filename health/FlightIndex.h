#pragma once
// The flight index: one entry per filed flight block of the raw files under a data directory,
// kept in a SQLite database of the user's own in the cache location (never in the data
// directory, which several stations may share). It is derived data: keyed by each raw file's
// path, size and modification time, brought up to date by a scan of the data directory at
// first use and by an update after each download, and made afresh from the raw files whenever
// its database is missing, damaged or of another schema version. Files that cannot be indexed
// are left out with their reasons.
//
// One connection per object; the object is for one thread. Every operation runs in one
// transaction, and one whose database fails is run once more on a database made afresh.
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

#include "health/DistinctFlight.h"
#include "health/DownloadTally.h"
#include "health/IndexResult.h"
#include "health/IndexedFile.h"

namespace tolm::health {

class IndexDatabase;
class IndexStore;

// What one scan did.
struct ScanReport {
    int filesRead = 0;       // new or changed files read (left-out ones included)
    int filesUnchanged = 0;  // files whose size and modification time the index already had
    int filesDropped = 0;    // files that have gone from the data directory
    bool rebuilt = false;    // the database was made afresh since the last scan's report
};

class FlightIndex {
public:
    // The index of a data directory in the user's cache location: one database per data
    // directory, named after a hash of its absolute path.
    static QString defaultPath(const QString& dataDirectory);

    // The index of the data directory in the given database file (defaultPath when empty). A
    // database that another process of the user keeps locked longer than `busyWaitMs` makes an
    // operation fail with an error value; it is never taken for a damaged one.
    explicit FlightIndex(const QString& dataDirectory, const QString& databasePath = QString(),
                         int busyWaitMs = 5000);
    ~FlightIndex();
    FlightIndex(const FlightIndex&) = delete;
    FlightIndex& operator=(const FlightIndex&) = delete;

    const QString& databasePath() const { return databasePath_; }

    // Scans the whole data directory now: new and changed files read, vanished ones dropped.
    IndexResult<ScanReport> scan();
    // After a download: indexes its raw files (absolute paths in the data directory) and tallies
    // their flights as new or already filed.
    IndexResult<DownloadTally> update(const QStringList& rawFiles);
    // The files left out, with their reasons, by path.
    IndexResult<QList<SkippedFile>> skippedFiles();
    // The distinct flights the filter picks, with the values of steady-state parameter 0..19
    // (none for -1), in the order of their first filing. The first use scans.
    IndexResult<QList<DistinctFlight>> flights(const RowFilter& filter, int parameter = -1);

    // The latest download (time of writing, seconds since 1970 UTC) of each engine serial number.
    IndexResult<QHash<qint32, qint64>> lastDownloads();

private:
    template <class T, class Op>
    IndexResult<T> guarded(Op op);
    bool ensureOpen(QString& error);
    ScanReport scanAll();
    void indexFile(IndexStore& store, const QString& path);
    QStringList rawFilesOnDisk() const;

    QString dataDirectory_;
    QString databasePath_;
    std::unique_ptr<IndexDatabase> db_;
    bool scanned_ = false;
    bool rebuilt_ = false;
};

}  // namespace tolm::health
