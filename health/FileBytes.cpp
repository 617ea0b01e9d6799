#include "health/FileBytes.h"

#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace tolm::health {

#if defined(Q_OS_UNIX)

namespace {

FileStamp stampOfStatus(const struct stat& s) {
    return FileStamp{qint64(s.st_size), qint64(s.st_mtim.tv_sec) * 1000000000 + s.st_mtim.tv_nsec,
                     quint64(s.st_ino)};
}

}  // namespace

FileBytes::~FileBytes() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FileBytes::open(const QString& path) {
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (fd_ < 0 || ::fstat(fd_, &status) != 0) {
        return false;
    }
    stamp_ = stampOfStatus(status);
    return true;
}

bool FileBytes::readAt(qint64 offset, char* out, qsizetype n) {
    qsizetype got = 0;
    while (got < n) {
        const ssize_t r = ::pread(fd_, out + got, std::size_t(n - got), off_t(offset + got));
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r <= 0) {
            return false;
        }
        got += r;
    }
    return true;
}

std::optional<FileStamp> FileBytes::stampOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return std::nullopt;
    }
    return stampOfStatus(status);
}

#else

namespace {

FileStamp stampOfInfo(const QFileInfo& info) {
    return FileStamp{info.size(), info.lastModified().toMSecsSinceEpoch() * 1000000, 0};
}

}  // namespace

FileBytes::~FileBytes() {
    delete file_;
}

bool FileBytes::open(const QString& path) {
    file_ = new QFile(path);
    if (!file_->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return false;
    }
    stamp_ = stampOfInfo(QFileInfo(path));
    return true;
}

bool FileBytes::readAt(qint64 offset, char* out, qsizetype n) {
    return file_->seek(offset) && file_->read(out, n) == n;
}

std::optional<FileStamp> FileBytes::stampOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return std::nullopt;
    }
    return stampOfInfo(info);
}

#endif

}  // namespace tolm::health
