#include "link/TraceFile.h"

#include <QFile>
#include <chrono>
#include <utility>

#include "link/LinkLog.h"

namespace tolm {

TraceFile::TraceFile(QString path, qint64 limitBytes)
    : path_(std::move(path)), limit_(limitBytes), writer_([this] { run(); }) {}

TraceFile::~TraceFile() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    writer_.join();
}

void TraceFile::append(QByteArray record) {
    {
        std::lock_guard lock(mutex_);
        ++queued_;
        if (pendingBytes_ + record.size() > kMaxPendingBytes) {
            ++dropped_;
            ++finished_;
            return;
        }
        pendingBytes_ += record.size();
        pending_.push_back(std::move(record));
    }
    wake_.notify_one();
}

bool TraceFile::flush(int timeoutMs) {
    std::unique_lock lock(mutex_);
    const quint64 target = queued_;
    return done_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                          [&] { return finished_ >= target; });
}

void TraceFile::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (pending_.empty()) {
            return;  // stopping, and everything is written
        }
        std::deque<QByteArray> batch;
        batch.swap(pending_);
        pendingBytes_ = 0;
        const quint64 dropped = std::exchange(dropped_, 0);
        lock.unlock();
        write(batch, dropped);
        lock.lock();
        finished_ += batch.size();
        done_.notify_all();
    }
}

void TraceFile::write(const std::deque<QByteArray>& batch, quint64 dropped) {
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        reportOnce(QStringLiteral("cannot open"), file.errorString());
        return;
    }
    qint64 size = file.size();
    const auto put = [&](const QByteArray& record) {
        if (size > 0 && size + record.size() > limit_) {
            if (!rotate(file)) {
                return false;
            }
            size = 0;
        }
        if (file.write(record) != record.size()) {
            reportOnce(QStringLiteral("cannot write"), file.errorString());
            return false;
        }
        size += record.size();
        return true;
    };
    if (dropped > 0 &&
        !put("# " + QByteArray::number(dropped) + " records lost here: the disk was too slow\n")) {
        return;
    }
    for (const QByteArray& record : batch) {
        if (!put(record)) {
            return;
        }
    }
    if (!file.flush()) {
        reportOnce(QStringLiteral("cannot write"), file.errorString());
    }
}

bool TraceFile::rotate(QFile& file) {
    file.close();
    QFile::remove(olderPath());
    // When the full file cannot be moved aside, it is begun afresh: the bound holds either way.
    const QIODevice::OpenMode mode = QFile::rename(path_, olderPath())
                                         ? QIODevice::WriteOnly | QIODevice::Append
                                         : QIODevice::WriteOnly | QIODevice::Truncate;
    if (!file.open(mode)) {
        reportOnce(QStringLiteral("cannot open"), file.errorString());
        return false;
    }
    return true;
}

void TraceFile::reportOnce(const QString& what, const QString& error) {
    if (reported_) {
        return;
    }
    reported_ = true;
    qCWarning(lcLinkTrace).noquote()
        << QStringLiteral("%1 %2 (%3): trace records are lost until it can be written")
               .arg(what, path_, error);
}

}  // namespace tolm
