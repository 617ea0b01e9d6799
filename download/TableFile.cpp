#include "download/TableFile.h"

#include <QFileInfo>

#include "download/DownloadLog.h"

namespace tolm {

TableFile::TableFile(const QString& path) : file_(path) {}

std::optional<Notice> TableFile::open(const QString& failureTitle) {
    if (!file_.open(QIODevice::WriteOnly)) {
        qCWarning(lcDownload) << "cannot create" << file_.fileName() << file_.errorString();
        return Notice::critical(failureTitle,
                                QStringLiteral("Failed to create '%1'").arg(file_.fileName()));
    }
    out_.emplace(&file_);
    return std::nullopt;
}

QByteArray TableFile::fileName() const {
    return QFileInfo(file_.fileName()).fileName().toLocal8Bit();
}

bool TableFile::commit() {
    const bool written = out_->flush();
    if (!written) {
        file_.cancelWriting();
    }
    if (!file_.commit() || !written) {
        // Write errors do not interrupt the download; the table is simply missing.
        qCWarning(lcDownload) << "table not written:" << file_.fileName() << file_.errorString();
        return false;
    }
    return true;
}

}  // namespace tolm
