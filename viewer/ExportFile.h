#pragma once
// Writing a tabulation or an export: the whole file or nothing (an existing file is replaced
// only once the new one is complete).
#include <QByteArray>
#include <QString>

namespace tolm::viewer {

class ExportFile {
public:
    // Asked (Yes, No) before a file that exists is replaced, under the title of the save.
    static inline const QString kOverwriteQuestion =
        QStringLiteral("File already exists. Do you want to overwrite it?");

    // False when the file could not be created or written; nothing is left behind then.
    static bool write(const QString& path, const QByteArray& bytes);
};

}  // namespace tolm::viewer
