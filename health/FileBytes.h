#pragma once
// One raw file opened for reading at chosen offsets, with no more system calls than that takes,
// and its stamp; and the stamp of whatever file a path names now, to tell a file that changed
// or was replaced while it was read.
#include <QString>
#include <optional>

#include "health/IndexedFile.h"

namespace tolm::health {

class FileBytes {
public:
    FileBytes() = default;
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    // Opens the file and takes its stamp; false when it cannot be opened.
    bool open(const QString& path);
    const FileStamp& stamp() const { return stamp_; }
    // Exactly n bytes at the offset; false when fewer could be read.
    bool readAt(qint64 offset, char* out, qsizetype n);

    // The stamp of the file the path names now; none when there is none.
    static std::optional<FileStamp> stampOf(const QString& path);

private:
    int fd_ = -1;
    FileStamp stamp_;
#if !defined(Q_OS_UNIX)
    class QFile* file_ = nullptr;
#endif
};

}  // namespace tolm::health
