#include "health/IndexDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QStringList>
#include <atomic>

#include <sqlite3.h>

#include "health/HealthLog.h"
#include "health/IndexError.h"
#include "health/IndexedFile.h"

namespace tolm::health {

namespace {

std::atomic<int> connections{0};

// The error of a statement, as an IndexError: SQLite's SQLITE_BUSY (5) and SQLITE_LOCKED (6)
// mean that another connection holds the database.
IndexError errorOf(const QString& sql, const QSqlError& error) {
    const QString code = error.nativeErrorCode();
    return IndexError{QStringLiteral("%1: %2").arg(sql, error.text()),
                      code == QLatin1String("5") || code == QLatin1String("6")};
}

// The error of a statement run through SQLite's own interface, as errorOf() gives it.
IndexError errorOf(const QString& sql, sqlite3* handle, int code) {
    const int primary = code & 0xff;
    return IndexError{QStringLiteral("%1: %2").arg(sql, QString::fromUtf8(sqlite3_errmsg(handle))),
                      primary == SQLITE_BUSY || primary == SQLITE_LOCKED};
}

// The driver's connection when the driver runs the SQLite library this program is linked with:
// the same build (its source identifier), and the same copy of it, which the connection's file
// system layer tells (a Qt that carries a SQLite of its own registers its own). None otherwise.
sqlite3* sameLibraryHandle(const QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        return nullptr;
    }
    sqlite3* connection = *static_cast<sqlite3* const*>(handle.constData());
    QSqlQuery source(db);
    if (connection == nullptr || !source.exec(QStringLiteral("SELECT sqlite_source_id()")) ||
        !source.next() || source.value(0).toString() != QLatin1String(sqlite3_sourceid())) {
        return nullptr;
    }
    sqlite3_vfs* vfs = nullptr;
    if (sqlite3_file_control(connection, "main", SQLITE_FCNTL_VFS_POINTER, &vfs) != SQLITE_OK ||
        vfs == nullptr || vfs != sqlite3_vfs_find(nullptr)) {
        return nullptr;
    }
    return connection;
}

// One row per raw file seen; reason is set for a file that was left out, which has no blocks.
// blocks, sums and v0 to v19 are the file's flight blocks, the sums that guard the row and each
// steady-state parameter's values, as FileRecord packs them.
QString filesTable() {
    QString values;
    for (int p = 0; p < kSteadyParameters; ++p) {
        values += QStringLiteral(", v%1 BLOB NOT NULL").arg(p);
    }
    return QStringLiteral(
               "CREATE TABLE files(id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE,"
               " size INTEGER NOT NULL, modified INTEGER NOT NULL, inode INTEGER NOT NULL,"
               " aircraft TEXT NOT NULL, engine_type TEXT NOT NULL, engine INTEGER NOT NULL,"
               " serial INTEGER NOT NULL, written INTEGER NOT NULL, reason TEXT,"
               " blocks BLOB NOT NULL, sums BLOB NOT NULL%1)")
        .arg(values);
}

}  // namespace

IndexDatabase::IndexDatabase(QString path, int busyWaitMs)
    : path_(std::move(path)),
      busyWaitMs_(busyWaitMs),
      connection_(QStringLiteral("tolm.health.%1").arg(++connections)) {}

IndexDatabase::~IndexDatabase() {
    close();
}

bool IndexDatabase::open() {
    fresh_ = false;
    const bool existed = QFileInfo::exists(path_);
    if (existed && openConnection()) {
        const std::optional<IndexError> why = unusable();
        if (!why) {
            open_ = true;
            sealed_ = true;
            return true;
        }
        if (why->busy) {
            error_ = why->what;
            close();
            return false;
        }
        return recreate(why->what);
    }
    return recreate(existed ? QStringLiteral("cannot be opened") : QStringLiteral("missing"));
}

bool IndexDatabase::recreate(const QString& why) {
    qCInfo(lcHealth) << "making the flight index afresh:" << path_ << why;
    close();
    removeFiles();
    QDir().mkpath(QFileInfo(path_).absolutePath());
    if (!openConnection()) {
        return false;
    }
    try {
        createSchema();
    } catch (const IndexError& e) {
        error_ = e.what;
        qCWarning(lcHealth) << "cannot make the flight index" << path_ << e.what;
        close();
        return false;
    }
    open_ = true;
    fresh_ = true;
    return true;
}

void IndexDatabase::close() {
    open_ = false;
    writer_.reset();  // its statement before the connection
    handle_ = nullptr;
    if (QSqlDatabase::contains(connection_)) {
        {
            QSqlDatabase db = QSqlDatabase::database(connection_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(connection_);
    }
}

bool IndexDatabase::openConnection() {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyWaitMs_));
    if (!db.open()) {
        error_ = db.lastError().text();
        qCWarning(lcHealth) << "cannot open the flight index" << path_ << error_;
        return false;
    }
    handle_ = throughQt_ ? nullptr : sameLibraryHandle(db);
    if (!handle_ && !throughQt_) {
        qCInfo(lcHealth) << "the SQL driver runs another SQLite: rows are written through Qt";
    }
    return true;
}

void IndexDatabase::writeThroughQt() {
    throughQt_ = true;
    writer_.reset();
    handle_ = nullptr;
}

IndexDatabase::Writer& IndexDatabase::writer(const QString& sql) {
    if (!writer_ || writer_->sql_ != sql) {
        writer_.reset();  // the statement before goes first
        writer_.reset(new Writer(*this, sql));
    }
    return *writer_;
}

IndexDatabase::Writer::Writer(IndexDatabase& db, const QString& sql)
    : sql_(sql), handle_(db.handle_) {
    if (!handle_) {
        query_ = db.prepare(sql);
        return;
    }
    const QByteArray utf8 = sql.toUtf8();
    const int code = sqlite3_prepare_v3(handle_, utf8.constData(), int(utf8.size()),
                                        SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
    if (code != SQLITE_OK) {
        const IndexError error = errorOf(sql, handle_, code);
        sqlite3_finalize(statement_);
        throw error;
    }
}

IndexDatabase::Writer::~Writer() {
    sqlite3_finalize(statement_);
}

void IndexDatabase::Writer::bind(int at, qint64 value) {
    if (statement_) {
        sqlite3_bind_int64(statement_, at, value);
    } else {
        query_->bindValue(at - 1, value);
    }
}

void IndexDatabase::Writer::bind(int at, const QString& text) {
    if (statement_) {
        sqlite3_bind_text16(statement_, at, text.utf16(), int(text.size() * sizeof(char16_t)),
                            SQLITE_STATIC);
    } else {
        query_->bindValue(at - 1, text);
    }
}

void IndexDatabase::Writer::bind(int at, QByteArrayView blob) {
    // An empty blob is bound as one, never as NULL.
    static const char empty = 0;
    if (statement_) {
        sqlite3_bind_blob(statement_, at, blob.isEmpty() ? &empty : blob.constData(),
                          int(blob.size()), SQLITE_STATIC);
    } else {
        query_->bindValue(at - 1, QByteArray::fromRawData(
                                      blob.isEmpty() ? &empty : blob.constData(), blob.size()));
    }
}

void IndexDatabase::Writer::run() {
    if (!statement_) {
        IndexDatabase::run(*query_);
        return;
    }
    const int code = sqlite3_step(statement_);
    const std::optional<IndexError> error =
        code == SQLITE_DONE ? std::nullopt : std::optional(errorOf(sql_, handle_, code));
    // Nothing stays bound to values that are about to go.
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    if (error) {
        throw *error;
    }
}

std::optional<IndexError> IndexDatabase::unusable() {
    try {
        QSqlQuery check = prepare(QStringLiteral("PRAGMA quick_check"));
        run(check);
        if (!check.next() || check.value(0).toString() != QLatin1String("ok")) {
            return IndexError{QStringLiteral("failed its quick check")};
        }
        QSqlQuery version = prepare(QStringLiteral("PRAGMA user_version"));
        run(version);
        const int found = version.next() ? version.value(0).toInt() : -1;
        if (found != kSchemaVersion) {
            return IndexError{
                QStringLiteral("schema version %1, not %2").arg(found).arg(kSchemaVersion)};
        }
        tune();
    } catch (const IndexError& e) {
        return e;
    }
    return std::nullopt;
}

// Write-ahead log (readers and a writer side by side), a sync only at checkpoints (a crash may
// cost the last transactions, never the file's integrity), and the file mapped into memory so
// that a query over every flight reads no page twice.
void IndexDatabase::tune() {
    exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    exec(QStringLiteral("PRAGMA mmap_size=1073741824"));
}

// A new file is filled without a journal and without syncs, and carries no schema version until
// it is sealed: a build that stops half-way leaves a file that the next open makes afresh. Its
// pages are of 32 KiB: a file's row of 20 blocks (some 43 KB) then takes one full overflow page
// and a third of a leaf page, so that little more than its bytes is written, in few writes. A
// small page cache for the build keeps the pages being filled in the processor's cache; every
// page is written once either way.
void IndexDatabase::createSchema() {
    exec(QStringLiteral("PRAGMA journal_mode=OFF"));
    exec(QStringLiteral("PRAGMA synchronous=OFF"));
    exec(QStringLiteral("PRAGMA mmap_size=1073741824"));
    exec(QStringLiteral("PRAGMA page_size=32768"));
    exec(QStringLiteral("PRAGMA cache_size=-512"));
    Transaction transaction(*this);
    exec(filesTable());
    exec(QStringLiteral("CREATE INDEX files_of_engine ON files(serial)"));
    transaction.commit();
    sealed_ = false;
}

void IndexDatabase::seal() {
    if (sealed_) {
        return;
    }
    exec(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
    tune();
    sealed_ = true;
}

void IndexDatabase::removeFiles() {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        QFile::remove(path_ + QLatin1String(suffix));
    }
}

QSqlQuery IndexDatabase::prepare(const QString& sql) {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        throw errorOf(sql, query.lastError());
    }
    return query;
}

void IndexDatabase::run(QSqlQuery& query) {
    if (!query.exec()) {
        throw errorOf(query.lastQuery(), query.lastError());
    }
}

void IndexDatabase::exec(const QString& sql) {
    QSqlQuery query = prepare(sql);
    run(query);
}

IndexDatabase::Transaction::Transaction(IndexDatabase& db) : db_(db) {
    db_.exec(QStringLiteral("BEGIN IMMEDIATE"));
}

IndexDatabase::Transaction::~Transaction() {
    if (!done_) {
        try {
            db_.exec(QStringLiteral("ROLLBACK"));
        } catch (const IndexError& e) {
            qCWarning(lcHealth) << "rollback failed:" << e.what;
        }
    }
}

void IndexDatabase::Transaction::commit() {
    db_.exec(QStringLiteral("COMMIT"));
    done_ = true;
}

}  // namespace tolm::health
