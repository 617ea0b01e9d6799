#pragma once
// Writing a tabulation or an export: the whole file or nothing (an existing file is replaced
// only once the new one is complete).
#include <QByteArray>
#include <QString>

namespace tolm::viewer {

class ExportFile {
public:
    // False when the file could not be created or written; nothing is left behind then.
    static bool write(const QString& path, const QByteArray& bytes);
};

}  // namespace tolm::viewer
