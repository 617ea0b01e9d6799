#include "viewer/RawFlightReader.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "viewer/ViewerLog.h"

namespace tolm::viewer {

namespace {

ReadError infoError(const QString& message, const QString& shownName) {
    return ReadError{RawFlightReader::kInfoOperation, message, shownName};
}

ReadError dataError(const QString& message, const QString& path) {
    return ReadError{RawFlightReader::kDataOperation, message, path};
}

// The first bytes of a file (the header's size at most), its size and its modification time,
// with no more system calls than that takes: open, read, one status query, close.
struct FileStart {
    std::array<char, raw::kHeaderSize> bytes;
    qsizetype length = 0;
    qint64 size = 0;
    QDateTime modified;
};

std::optional<FileStart> readStart(const QString& path) {
    FileStart start;
#if defined(Q_OS_UNIX)
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        qCDebug(lcViewer) << "cannot open" << path << std::strerror(errno);
        return std::nullopt;
    }
    char* buffer = start.bytes.data();
    qsizetype got = 0;
    while (got < raw::kHeaderSize) {
        const ssize_t n = ::read(fd, buffer + got, std::size_t(raw::kHeaderSize - got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += n;
    }
    struct stat status {};
    const bool known = ::fstat(fd, &status) == 0;
    ::close(fd);
    start.length = got;
    start.size = known ? qint64(status.st_size) : 0;
    start.modified = QDateTime::fromSecsSinceEpoch(qint64(status.st_mtime), Qt::UTC);
#else
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        qCDebug(lcViewer) << "cannot open" << path << file.errorString();
        return std::nullopt;
    }
    start.length = std::max<qint64>(0, file.read(start.bytes.data(), raw::kHeaderSize));
    start.size = file.size();
    start.modified = file.fileTime(QFileDevice::FileModificationTime);
#endif
    return start;
}

qint64 blockOffset(int slot) {
    return raw::kHeaderSize + qint64(slot) * raw::kDataBlockSize;
}

}  // namespace

FlightInfo RawFlightReader::ExtractFlightInfo(const QFileInfo& info) {
    const std::optional<FileStart> start = readStart(info.absoluteFilePath());
    if (!start) {
        return FlightInfo{true, {}, infoError(kFailedToOpen, info.fileName())};
    }
    return flightInfo(QByteArrayView(start->bytes.data(), start->length), start->size,
                      info.absoluteFilePath(), info.fileName(), start->modified);
}

FlightInfo RawFlightReader::flightInfo(QByteArrayView start, qint64 fileSize, const QString& path,
                                       const QString& shownName, const QDateTime& modified) {
    FlightInfo info;
    const std::optional<RawFileHeader> header = RawFileHeader::parse(start);
    if (!header || fileSize < raw::kHeaderSize) {
        info.error = infoError(kFailedToReadHeader, shownName);
        return info;
    }
    if (!header->hasCurrentFormat()) {
        info.currentFormat = false;
        return info;
    }
    const qint64 completeBlocks = (fileSize - raw::kHeaderSize) / raw::kDataBlockSize;
    info.flights.reserve(raw::kDataBlocks);
    const QString aircraft = header->aircraft();
    const int engine = header->engineNumber();
    for (int slot = 0; slot < raw::kDataBlocks; ++slot) {
        if (slot >= completeBlocks) {
            info.error = infoError(kFailedToReadBlock, shownName);
            break;
        }
        if (header->flightNumber(slot) != 0) {
            info.flights.append(FlightListElement{path, aircraft, engine,
                                                  header->flightNumber(slot), header->memory(slot),
                                                  slot, modified});
        }
    }
    return info;
}

std::optional<QString> RawFlightReader::checkSlot(const RawFileHeader& header, int slot,
                                                  int flightNumber) {
    if (!header.hasCurrentFormat()) {
        return kInvalidFormat;
    }
    if (slot < 0 || slot >= raw::kDataBlocks || flightNumber == 0 ||
        header.flightNumber(slot) != flightNumber) {
        return kInvalidBlockIndex;
    }
    return std::nullopt;
}

Outcome<FlightDataElement> RawFlightReader::ExtractFlightData(const FlightListElement& element) {
    QFile file(element.path);
    if (!file.open(QIODevice::ReadOnly)) {
        return dataError(kFailedToOpen, element.path);
    }
    const std::optional<RawFileHeader> header = RawFileHeader::parse(file.read(raw::kHeaderSize));
    if (!header) {
        return dataError(kFailedToReadHeader, element.path);
    }
    if (const auto refused = checkSlot(*header, element.slot, element.flightNumber)) {
        return dataError(*refused, element.path);
    }
    if (!file.seek(blockOffset(element.slot))) {
        return dataError(kErrorPositioning, element.path);
    }
    QByteArray block = file.read(raw::kDataBlockSize);
    if (block.size() != raw::kDataBlockSize) {
        return dataError(kFailedToReadBlock, element.path);
    }
    return FlightDataElement(*header, std::move(block), element.slot, element.path);
}

}  // namespace tolm::viewer
