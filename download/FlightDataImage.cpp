#include "download/FlightDataImage.h"

#include <QFile>
#include <algorithm>
#include <numeric>

#include "download/DownloadLog.h"

namespace tolm {

namespace {
constexpr qint64 kBlocksSize = image::kImageSize - image::kFlightBlocksOffset;
}

FlightDataImage::Status FlightDataImage::load(const QString& path) {
    header_.clear();
    blocks_.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcDownload) << "cannot open image" << path << file.errorString();
        return Status::CannotOpen;
    }
    fileSize_ = file.size();
    if (!file.seek(image::kDataHeaderOffset)) {
        return Status::SeekFailed;
    }
    // Every flight block is read at its fixed offset: a short image (a broken transfer) is
    // refused whole rather than read in part.
    if (fileSize_ < image::kImageSize) {
        qCWarning(lcDownload) << "image too short:" << fileSize_ << "bytes";
        return Status::TooShort;
    }
    header_ = file.read(image::kDataHeaderSize);
    if (header_.size() != image::kDataHeaderSize) {
        qCWarning(lcDownload) << "image data header:" << header_.size() << "bytes read";
        header_.clear();
        return Status::BadHeader;
    }
    // Read in one piece into a buffer of the file's size (readAll and resize round the size up).
    blocks_ = QByteArray(fileSize_ - image::kFlightBlocksOffset, Qt::Uninitialized);
    blocks_.resize(std::max<qint64>(0, file.read(blocks_.data(), blocks_.size())));
    if (blocks_.size() < kBlocksSize) {
        qCWarning(lcDownload) << "image shrank while read:" << blocks_.size() << "block bytes";
        fileSize_ = image::kFlightBlocksOffset + blocks_.size();
        header_.clear();
        blocks_.clear();
        return Status::TooShort;
    }
    qCDebug(lcDownload) << "image read:" << fileSize_ << "bytes from" << path;
    return Status::Ok;
}

bool FlightDataImage::assign(const QByteArray& bytes) {
    fileSize_ = bytes.size();
    if (bytes.size() < image::kImageSize) {
        header_.clear();
        blocks_.clear();
        return false;
    }
    header_ = bytes.mid(image::kDataHeaderOffset, image::kDataHeaderSize);
    blocks_ = bytes.mid(image::kFlightBlocksOffset);
    return true;
}

std::vector<int> FlightDataImage::blocksByFlightNumber() const {
    std::vector<int> order(image::kFlightBlocks);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return block(a).flightNumber() < block(b).flightNumber();
    });
    return order;
}

}  // namespace tolm
