#include "viewer/RawFlightReader.h"

#include <QFile>

#include "viewer/ViewerLog.h"

namespace tolm::viewer {

namespace {

ReadError infoError(const QString& message, const QString& shownName) {
    return ReadError{RawFlightReader::kInfoOperation, message, shownName};
}

ReadError dataError(const QString& message, const QString& path) {
    return ReadError{RawFlightReader::kDataOperation, message, path};
}

qint64 blockOffset(int slot) {
    return raw::kHeaderSize + qint64(slot) * raw::kDataBlockSize;
}

}  // namespace

FlightInfo RawFlightReader::ExtractFlightInfo(const QFileInfo& info) {
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(lcViewer) << "cannot open" << file.fileName() << file.errorString();
        return FlightInfo{true, {}, infoError(kFailedToOpen, info.fileName())};
    }
    const QByteArray start = file.read(raw::kHeaderSize);
    const qint64 size = file.size();
    file.close();
    return flightInfo(start, size, info.absoluteFilePath(), info.fileName(), info.lastModified());
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
    for (int slot = 0; slot < raw::kDataBlocks; ++slot) {
        if (slot >= completeBlocks) {
            info.error = infoError(kFailedToReadBlock, shownName);
            break;
        }
        if (header->flightNumber(slot) != 0) {
            info.flights.append(FlightListElement{path, header->aircraft(), header->engineNumber(),
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
