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
// The temporary archive of the data-archive export (gzip appends ".gz").
QString temporaryArchivePath();

}  // namespace tolm
