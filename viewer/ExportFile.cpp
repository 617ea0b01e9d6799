#include "viewer/ExportFile.h"

#include <QSaveFile>

#include "viewer/ViewerLog.h"

namespace tolm::viewer {

bool ExportFile::write(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        qCWarning(lcViewer) << "cannot write" << path << file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

}  // namespace tolm::viewer
