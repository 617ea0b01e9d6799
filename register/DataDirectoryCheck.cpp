#include "register/DataDirectoryCheck.h"

#include <QDir>
#include <QFileInfo>

namespace tolm {

std::optional<Notice> checkDataDirectory(const QString& path, bool create) {
    const QString title = QStringLiteral("Error");
    if (!QFileInfo(path).isDir()) {
        if (!create) {
            return Notice::critical(title, QStringLiteral("Directory \"%1\" not found").arg(path));
        }
        if (!QDir().mkpath(path)) {
            return Notice::critical(title,
                                    QStringLiteral("Unable to create directory \"%1\"").arg(path));
        }
    }
    const QFileInfo absolute(QFileInfo(path).absoluteFilePath());
    if (!absolute.isReadable() || !absolute.isWritable()) {
        return Notice::critical(
            title, QStringLiteral("No read/write access to directory \"%1\"").arg(path));
    }
    return std::nullopt;
}

}  // namespace tolm
