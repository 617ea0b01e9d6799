#include "register/DataDirectoryCheck.h"

#include <QDir>
#include <QFileInfo>

#include "toolkit/UserDialogs.h"

namespace tolm {

bool checkDataDirectory(const QString& path, bool create) {
    const QString title = QStringLiteral("Error");
    if (!QFileInfo(path).isDir()) {
        if (!create) {
            showCritical(title, QStringLiteral("Directory \"%1\" not found").arg(path));
            return false;
        }
        if (!QDir().mkpath(path)) {
            showCritical(title, QStringLiteral("Unable to create directory \"%1\"").arg(path));
            return false;
        }
    }
    const QFileInfo absolute(QFileInfo(path).absoluteFilePath());
    if (!absolute.isReadable() || !absolute.isWritable()) {
        showCritical(title, QStringLiteral("No read/write access to directory \"%1\"").arg(path));
        return false;
    }
    return true;
}

}  // namespace tolm
