#include "health/FlightIndex.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include "health/FileBytes.h"
#include "health/HealthLog.h"
#include "health/IndexDatabase.h"
#include "health/IndexError.h"
#include "health/IndexStore.h"
#include "health/RawFileIndexReader.h"
#include "viewer/DataDirectoryScan.h"

namespace tolm::health {

QString FlightIndex::defaultPath(const QString& dataDirectory) {
    const QByteArray key = QFileInfo(dataDirectory).absoluteFilePath().toUtf8();
    const QString name = QString::fromLatin1(
        QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/flight-index/") + name + QStringLiteral(".sqlite");
}

FlightIndex::FlightIndex(const QString& dataDirectory, const QString& databasePath, int busyWaitMs)
    : dataDirectory_(QFileInfo(dataDirectory).absoluteFilePath()),
      databasePath_(databasePath.isEmpty() ? defaultPath(dataDirectory) : databasePath),
      db_(std::make_unique<IndexDatabase>(databasePath_, busyWaitMs)) {}

FlightIndex::~FlightIndex() = default;

bool FlightIndex::ensureOpen(QString& error) {
    if (db_->isOpen()) {
        return true;
    }
    if (!db_->open()) {
        error = db_->error();
        return false;
    }
    rebuilt_ = db_->fresh();
    return true;
}

// Runs one operation; a failure of the database makes it afresh from the raw files, and the
// operation runs once more. Only a database that cannot be made at all gives an error.
template <class T, class Op>
IndexResult<T> FlightIndex::guarded(Op op) {
    QString error;
    if (!ensureOpen(error)) {
        return IndexResult<T>::failed(error);
    }
    for (int attempt = 0;; ++attempt) {
        try {
            return op();
        } catch (const IndexError& e) {
            qCWarning(lcHealth) << "flight index failed:" << e.what;
            if (e.busy) {
                return IndexResult<T>::failed(e.what);
            }
            if (attempt > 0 || !db_->recreate(e.what)) {
                return IndexResult<T>::failed(db_->isOpen() ? e.what : db_->error());
            }
            rebuilt_ = true;
            scanned_ = false;
        }
    }
}

IndexResult<ScanReport> FlightIndex::scan() {
    return guarded<ScanReport>([this] {
        ScanReport report = scanAll();
        report.rebuilt = rebuilt_;
        rebuilt_ = false;
        return report;
    });
}

IndexResult<DownloadTally> FlightIndex::update(const QStringList& rawFiles) {
    return guarded<DownloadTally>([this, &rawFiles] {
        if (!scanned_) {
            scanAll();
        }
        IndexStore store(*db_);
        IndexDatabase::Transaction transaction(*db_);
        const QHash<QString, FileStamp> known = store.stamps();
        QStringList paths;
        for (const QString& file : rawFiles) {
            const QString path = QFileInfo(file).absoluteFilePath();
            paths.append(path);
            const std::optional<FileStamp> stamp = FileBytes::stampOf(path);
            if (stamp && !(known.contains(path) && known.value(path).sameFileAs(*stamp))) {
                indexFile(store, path);
            }
        }
        const DownloadTally tally = store.tally(paths);
        transaction.commit();
        return tally;
    });
}

IndexResult<QList<SkippedFile>> FlightIndex::skippedFiles() {
    return guarded<QList<SkippedFile>>([this] {
        if (!scanned_) {
            scanAll();
        }
        return IndexStore(*db_).skipped();
    });
}

IndexResult<QList<DistinctFlight>> FlightIndex::flights(const RowFilter& filter, int parameter) {
    return guarded<QList<DistinctFlight>>([this, &filter, parameter] {
        if (!scanned_) {
            scanAll();
        }
        // Rows in the order of their files' writing: each flight's first row is its first filing.
        return DistinctFlight::group(IndexStore(*db_).rows(filter, parameter));
    });
}

IndexResult<QHash<qint32, qint64>> FlightIndex::lastDownloads() {
    return guarded<QHash<qint32, qint64>>([this] {
        if (!scanned_) {
            scanAll();
        }
        return IndexStore(*db_).lastDownloads();
    });
}

ScanReport FlightIndex::scanAll() {
    ScanReport report;
    IndexStore store(*db_);
    // What the index holds is read inside the transaction: another process of the user may have
    // scanned since.
    IndexDatabase::Transaction transaction(*db_);
    const QHash<QString, FileStamp> known = store.stamps();
    QSet<QString> seen;
    for (const QString& path : rawFilesOnDisk()) {
        seen.insert(path);
        const auto found = known.constFind(path);
        if (found != known.constEnd()) {
            const std::optional<FileStamp> stamp = FileBytes::stampOf(path);
            if (stamp && found->sameFileAs(*stamp)) {
                ++report.filesUnchanged;
                continue;
            }
        }
        indexFile(store, path);
        ++report.filesRead;
    }
    for (auto it = known.constBegin(); it != known.constEnd(); ++it) {
        if (!seen.contains(it.key())) {
            store.dropFile(it.key());
            ++report.filesDropped;
        }
    }
    transaction.commit();
    db_->seal();
    scanned_ = true;
    qCDebug(lcHealth) << "scanned" << dataDirectory_ << "read" << report.filesRead << "unchanged"
                      << report.filesUnchanged << "dropped" << report.filesDropped;
    return report;
}

void FlightIndex::indexFile(IndexStore& store, const QString& path) {
    const FileReading reading = RawFileIndexReader::read(path);
    if (reading.file) {
        store.putFile(*reading.file);
        return;
    }
    // A left-out file keeps the stamp it has now, so that the next scan reads it again only once
    // it changed; one that changed while it was read, or has gone, keeps none.
    const bool changed = reading.skipped->reason == RawFileIndexReader::kChanged;
    const std::optional<FileStamp> stamp = FileBytes::stampOf(path);
    store.putSkipped(*reading.skipped, changed || !stamp ? FileStamp{} : *stamp);
}

// The raw files the flight selection finds: "*_data/engine_1" and "engine_2", "*.raw".
QStringList FlightIndex::rawFilesOnDisk() const {
    QStringList paths;
    const QFileInfoList dataDirs =
        QDir(dataDirectory_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& data : dataDirs) {
        if (!data.fileName().endsWith(QLatin1String("_data"), Qt::CaseInsensitive)) {
            continue;
        }
        for (int engine = 1; engine <= 2; ++engine) {
            const QString dir = QStringLiteral("%1/engine_%2")
                                    .arg(data.absoluteFilePath(), QString::number(engine));
            for (const QFileInfo& raw : viewer::DataDirectoryScan::rawFiles(dir)) {
                paths.append(raw.absoluteFilePath());
            }
        }
    }
    return paths;
}

}  // namespace tolm::health
