#pragma once
// A text file that a thread of its own appends records to, so that whoever records never waits
// for the disk. The file is kept within a size bound: a record that would take it past the
// bound first moves it to "<path>.1" (replacing the older copy) and begins it afresh, so the
// two files together never hold much more than twice the bound. Records that cannot be written
// (a missing or read-only folder, a full disk) are dropped; the first such failure is reported
// once through "tolm.link.trace", and the writer tries again with the next records.
#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class QFile;

namespace tolm {

class TraceFile {
public:
    // Records waiting beyond this many bytes are dropped instead of queued: a disk that cannot
    // keep up costs records (a note in the file says how many), never the recorder's time.
    static constexpr qint64 kMaxPendingBytes = 4 * 1024 * 1024;

    // limitBytes: the bound of one file; a single record longer than that gets a file of its own.
    TraceFile(QString path, qint64 limitBytes);
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;
    // Writes what is still queued, then ends the writer thread.
    ~TraceFile();

    // Queues one record (whole lines) to be appended; returns at once.
    void append(QByteArray record);
    // Waits at most timeoutMs until every record queued so far is written or dropped.
    bool flush(int timeoutMs);

    const QString& path() const { return path_; }
    // Where the file goes when it reaches its bound.
    QString olderPath() const { return path_ + QStringLiteral(".1"); }

private:
    void run();
    void write(const std::deque<QByteArray>& batch, quint64 dropped);
    bool rotate(QFile& file);
    void reportOnce(const QString& what, const QString& error);

    const QString path_;
    const qint64 limit_;

    std::mutex mutex_;  // guards what follows, up to the writer thread
    std::condition_variable wake_;
    std::condition_variable done_;
    std::deque<QByteArray> pending_;
    qint64 pendingBytes_ = 0;
    quint64 queued_ = 0;    // records queued so far, dropped ones included
    quint64 finished_ = 0;  // records written or dropped so far
    quint64 dropped_ = 0;   // records dropped since the file last said so
    bool stopping_ = false;

    bool reported_ = false;  // the writer thread's own
    std::thread writer_;     // last, so that it starts on a finished object
};

}  // namespace tolm
