#include "link/LinkTrace.h"

#include <QCoreApplication>
#include <QtEndian>
#include <atomic>
#include <memory>
#include <mutex>
#include <system_error>
#include <utility>

#include "core/Clock.h"
#include "core/PlatformPaths.h"
#include "link/LinkLog.h"
#include "link/TraceFile.h"

namespace tolm {

namespace {

struct Switch {
    std::atomic<bool> on{false};
    std::mutex mutex;  // guards file
    std::shared_ptr<TraceFile> file;
};

Switch& traceSwitch() {
    // The category is made first, so that it outlives the trace, whose writer may report at exit.
    (void)lcLinkTrace();
    static Switch s;
    return s;
}

// A text field runs to the end of its line: a line break inside it would end the record.
QByteArray oneLine(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
}

QByteArray hex(const unsigned char* data, int length) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), length).toHex();
}

void record(const char* event, const QByteArray& fields = QByteArray()) {
    Switch& s = traceSwitch();
    if (!s.on.load()) {
        return;
    }
    QByteArray line =
        clock().now().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz")).toLatin1();
    line += ' ';
    line += event;
    if (!fields.isEmpty()) {
        line += ' ';
        line += fields;
    }
    line += '\n';
    std::lock_guard lock(s.mutex);
    if (s.file) {
        s.file->append(std::move(line));
    }
}

}  // namespace

QString LinkTrace::defaultPath() {
    return homeDirectory() + QStringLiteral("/tolmLink.trace");
}

void LinkTrace::switchOn(const QString& path, qint64 limitBytes) {
    switchOff();
    std::shared_ptr<TraceFile> file;
    try {
        file = std::make_shared<TraceFile>(path, limitBytes);
    } catch (const std::system_error& e) {
        qCWarning(lcLinkTrace) << "the link trace cannot start its writer:" << e.what();
        return;
    }
    Switch& s = traceSwitch();
    std::lock_guard lock(s.mutex);
    s.file = std::move(file);
    s.on.store(true);
}

void LinkTrace::switchOff() {
    Switch& s = traceSwitch();
    std::shared_ptr<TraceFile> file;
    {
        std::lock_guard lock(s.mutex);
        s.on.store(false);
        file.swap(s.file);
    }
    // Out of the lock: the file writes what is queued before it goes.
}

bool LinkTrace::isOn() {
    return traceSwitch().on.load();
}

bool LinkTrace::flush(int timeoutMs) {
    Switch& s = traceSwitch();
    std::shared_ptr<TraceFile> file;
    {
        std::lock_guard lock(s.mutex);
        file = s.file;
    }
    return !file || file->flush(timeoutMs);
}

void LinkTrace::started(const QString& host, int port) {
    if (isOn()) {
        record("start", oneLine(host) + ':' + QByteArray::number(port) + " pid " +
                            QByteArray::number(QCoreApplication::applicationPid()));
    }
}

void LinkTrace::connectAttempt(quint32 addressNetOrder, quint16 portNetOrder, int attempt,
                               int attempts, bool connected, int error) {
    if (!isOn()) {
        return;
    }
    const quint32 a = qFromBigEndian(addressNetOrder);
    QByteArray fields = QByteArray::number(a >> 24) + '.' + QByteArray::number((a >> 16) & 0xFF) +
                        '.' + QByteArray::number((a >> 8) & 0xFF) + '.' +
                        QByteArray::number(a & 0xFF) + ':' +
                        QByteArray::number(qFromBigEndian(portNetOrder)) + ' ' +
                        QByteArray::number(attempt) + '/' + QByteArray::number(attempts);
    fields += connected ? QByteArray(" ok") : " failed " + QByteArray::number(error);
    record("connect", fields);
}

void LinkTrace::sent(const unsigned char* data, int length) {
    if (isOn()) {
        record("send", hex(data, length));
    }
}

void LinkTrace::received(const unsigned char* data, int length) {
    if (isOn()) {
        record("recv", hex(data, length));
    }
}

void LinkTrace::drained(const unsigned char* data, int length) {
    if (isOn()) {
        record("drain", hex(data, length));
    }
}

void LinkTrace::socketResult(SocketChannel::Result result, const char* step, int error) {
    switch (result) {
        case SocketChannel::Result::TimedOut:
            record("timeout", step);
            break;
        case SocketChannel::Result::Closed:
            record("closed", step);
            break;
        case SocketChannel::Result::Failed:
            record("error", QByteArray::number(error) + ' ' + step);
            break;
        case SocketChannel::Result::Ok:
        case SocketChannel::Result::Aborted:
        case SocketChannel::Result::Stopped:
            break;
    }
}

void LinkTrace::aborted() {
    record("abort");
}

void LinkTrace::failed(const QString& text) {
    if (isOn()) {
        record("fail", oneLine(text));
    }
}

void LinkTrace::closed(bool graceful) {
    record("close", graceful ? "graceful" : "abortive");
}

void LinkTrace::ended(bool stopped, const QString& text) {
    if (isOn()) {
        record("end", stopped ? QByteArray("stopped") : oneLine(text));
    }
}

}  // namespace tolm
