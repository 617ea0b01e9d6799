#include "link/CommLog.h"

#include <QCoreApplication>
#include <QFile>
#include <mutex>

#include "core/Clock.h"
#include "core/PlatformPaths.h"

namespace tolm {

QString commLogPath() {
    return homeDirectory() + QStringLiteral("/tolmCom.log");
}

QString commLogTime(const QDateTime& when) {
    return when.date().toString(Qt::ISODate) + QLatin1Char('T') +
           when.time().toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('.') +
           QString::number(when.time().msec());
}

int LogCommStatus(const QString& message, int statusCode) {
    static std::mutex oneWriter;
    std::lock_guard lock(oneWriter);
    QFile log(commLogPath());
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return 1;
    }
    QByteArray record;
    record += "Process id:   " + QByteArray::number(QCoreApplication::applicationPid()) + '\n';
    record += "status code:  " + QByteArray::number(statusCode) + '\n';
    record += "status msg:   " + message.toLocal8Bit() + '\n';
    record += "current time: " + commLogTime(clock().now()).toLatin1() + '\n';
    record += '\n';
    log.write(record);
    return 0;
}

}  // namespace tolm
