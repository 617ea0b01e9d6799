#pragma once
// Fixed locations of the program. On Windows they are the classic "C:/" places; elsewhere
// they live in the user's home directory and the system's temporary directory.
#include <QDateTime>
#include <QString>

namespace tolm {

// The directory of the running executable (window resources, help files, documents, tar, gzip).
QString executableDirectory();
// The user's home directory (communication log, response file).
QString homeDirectory();
// Default of the setting "DataDir".
QString defaultDataDirectory();
// Where each downloaded image is backed up, and the time-stamped name used when that file
// exists and cannot be removed.
QString backupImagePath();
QString backupImageFallbackPath(const QDateTime& when);
// Where the data-archive export makes the private temporary directory of its archive.
QString temporaryArchiveParent();
// The name of the temporary archive in that directory (gzip appends ".gz").
inline constexpr const char* kTemporaryArchiveName = "QUOR-data.tar";

}  // namespace tolm
