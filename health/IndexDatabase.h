#pragma once
// The flight index's SQLite database file, through Qt's SQL module: one connection of its own
// per object, opened, checked and, when it is missing, not a database, fails its quick check or
// carries another schema version, deleted and created afresh without asking. The index is
// derived data: nothing in it is ever worth keeping over a working file.
//
// Rows written by the thousand go through SQLite's own interface on the same connection when
// Qt's driver runs the very SQLite library this program is linked with, so that their values are
// bound where they lie; otherwise through Qt's, as everything else.
#include <QByteArrayView>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <memory>
#include <optional>

#include "health/IndexError.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tolm::health {

class IndexDatabase {
public:
    // The schema this build writes, kept in the database's user_version.
    static constexpr int kSchemaVersion = 2;

    // `busyWaitMs`: how long a statement waits for another connection's lock.
    explicit IndexDatabase(QString path, int busyWaitMs = 5000);
    ~IndexDatabase();
    IndexDatabase(const IndexDatabase&) = delete;
    IndexDatabase& operator=(const IndexDatabase&) = delete;

    // Opens and checks the file, making it afresh when it is not usable. True when the database
    // can be used; fresh() tells whether it was made empty. False when another connection keeps
    // it locked, or when not even a new file could be made (error() says why).
    bool open();
    // Closes the connection, deletes the file and makes it afresh, to be filled and sealed.
    bool recreate(const QString& why);
    // Marks a filled new file with the schema version and opens it to other connections' reads
    // beside a writer; nothing for a file that was sealed already.
    void seal();
    void close();

    bool isOpen() const { return open_; }
    bool fresh() const { return fresh_; }
    const QString& path() const { return path_; }
    const QString& error() const { return error_; }

    // Whether rows are written through SQLite's own interface (see above).
    bool writesDirectly() const { return handle_ != nullptr; }
    // Writes every row through Qt's interface from now on, as when the driver's SQLite is not
    // this program's.
    void writeThroughQt();

    // A statement for rows written by the thousand, prepared once per connection. Each value is
    // bound where it lies, without a copy, and must stay there until run() returns.
    class Writer {
    public:
        ~Writer();
        Writer(const Writer&) = delete;
        Writer& operator=(const Writer&) = delete;

        // Values by the position of their "?", from 1.
        void bind(int at, qint64 value);
        void bind(int at, const QString& text);
        void bind(int at, QByteArrayView blob);
        // Runs the statement with the values bound; throws IndexError when it fails.
        void run();

    private:
        friend class IndexDatabase;
        Writer(IndexDatabase& db, const QString& sql);

        QString sql_;
        ::sqlite3* handle_ = nullptr;
        ::sqlite3_stmt* statement_ = nullptr;
        std::optional<QSqlQuery> query_;  // when the rows go through Qt
    };
    // The writer of the statement; throws IndexError when it cannot be prepared.
    Writer& writer(const QString& sql);

    // A prepared statement; throws IndexError when it cannot be prepared.
    QSqlQuery prepare(const QString& sql);
    // Runs a prepared statement; throws IndexError when it fails.
    static void run(QSqlQuery& query);
    // Prepares and runs a statement without values.
    void exec(const QString& sql);

    // A transaction for one operation: committed by commit(), rolled back otherwise.
    class Transaction {
    public:
        explicit Transaction(IndexDatabase& db);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void commit();

    private:
        IndexDatabase& db_;
        bool done_ = false;
    };

private:
    bool openConnection();
    // Why the open file cannot be used as it is; none when it can.
    std::optional<IndexError> unusable();
    void tune();
    void createSchema();
    void removeFiles();

    QString path_;
    int busyWaitMs_;
    QString connection_;
    QString error_;
    bool open_ = false;
    bool fresh_ = false;
    bool sealed_ = true;
    ::sqlite3* handle_ = nullptr;  // the driver's connection, when its SQLite is this program's
    bool throughQt_ = false;
    std::unique_ptr<Writer> writer_;
};

}  // namespace tolm::health
