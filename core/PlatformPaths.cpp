#include "core/PlatformPaths.h"

#include <QCoreApplication>
#include <QDir>

namespace tolm {

QString executableDirectory() {
    return QCoreApplication::applicationDirPath();
}

QString homeDirectory() {
    return QDir::homePath();
}

#ifdef Q_OS_WIN
QString defaultDataDirectory() {
    return QStringLiteral("C:/QUOR-data");
}
QString backupImagePath() {
    return QStringLiteral("C:/quor-image.dat");
}
QString backupImageFallbackPath(const QDateTime& when) {
    return QStringLiteral("C:/quor-image-%1.dat")
        .arg(when.toString(QStringLiteral("yyyyMMddhhmmss")));
}
QString temporaryArchiveParent() {
    return QStringLiteral("C:/TEMP");
}
#else
QString defaultDataDirectory() {
    return QDir::homePath() + QStringLiteral("/QUOR-data");
}
QString backupImagePath() {
    return QDir::homePath() + QStringLiteral("/quor-image.dat");
}
QString backupImageFallbackPath(const QDateTime& when) {
    return QDir::homePath() + QStringLiteral("/quor-image-%1.dat")
                                  .arg(when.toString(QStringLiteral("yyyyMMddhhmmss")));
}
QString temporaryArchiveParent() {
    return QDir::tempPath();
}
#endif

}  // namespace tolm
