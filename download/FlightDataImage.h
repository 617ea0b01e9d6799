#pragma once
// A flight-data image read into memory: the 56-byte data header (block header and engine
// header words) and the 20 flight blocks that follow it.
#include <QByteArray>
#include <QString>
#include <vector>

#include "download/FlightBlockView.h"

namespace tolm {

class FlightDataImage {
public:
    enum class Status {
        Ok,
        CannotOpen,  // missing or unreadable file
        SeekFailed,
        BadHeader,  // the data header could not be read whole
        TooShort,   // shorter than image::kImageSize; fileSize() tells by how much
    };

    // Reads the image file. Only Ok leaves a usable image.
    Status load(const QString& path);
    // Takes a whole image as bytes (response header included); false when it is too short.
    bool assign(const QByteArray& bytes);

    // Bytes in the file that was read.
    qint64 fileSize() const { return fileSize_; }

    qint32 engineWord(int w) const {
        return loadLeI32(header_.constData() + image::kEngineWordsOffset + 4 * w);
    }
    FlightBlockView block(int b) const {
        return FlightBlockView(reinterpret_cast<const unsigned char*>(blocks_.constData()) +
                               qsizetype(b) * image::kFlightBlockSize);
    }
    // Block indices in ascending order of flight number (signed); equal numbers keep the
    // image's order.
    std::vector<int> blocksByFlightNumber() const;

private:
    QByteArray header_;  // the data header
    QByteArray blocks_;  // everything from the first flight block on
    qint64 fileSize_ = 0;
};

}  // namespace tolm
