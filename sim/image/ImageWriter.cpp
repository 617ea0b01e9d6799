#include "sim/image/ImageWriter.h"

#include <bit>
#include <stdexcept>

namespace quorsim {

namespace {
constexpr qsizetype kResponseHeader = 12;  // size, ack, block count
constexpr qsizetype kBlockHeader = 8;      // type, byte count
}  // namespace

ImageWriter::ImageWriter(Order order) : order_(order) {
    bytes_.reserve(3 * 1024 * 1024);
    bytes_.fill('\0', kResponseHeader);
}

void ImageWriter::beginBlock() {
    closeBlock();
    openHeader_ = bytes_.size();
    openType_ = 0;
    bytes_.append(kBlockHeader, '\0');
    ++blocks_;
}

void ImageWriter::word(quint32 v) {
    elementOf(kWordBlock);
    put32(v);
}

void ImageWriter::real(float v) {
    elementOf(kFloatBlock);
    put32(std::bit_cast<quint32>(v));
}

void ImageWriter::sample(qint16 v) {
    elementOf(kSampleBlock);
    put16(static_cast<quint16>(v));
}

void ImageWriter::elementOf(quint32 type) {
    if (openHeader_ < 0) {
        throw std::logic_error("ImageWriter: element outside a block");
    }
    if (openType_ == 0) {
        openType_ = type;
    }
    // Words and floats are both 32-bit elements and convert alike; samples never mix with them.
    if ((openType_ == kSampleBlock) != (type == kSampleBlock)) {
        throw std::logic_error("ImageWriter: 16-bit and 32-bit elements in one block");
    }
}

void ImageWriter::closeBlock() {
    if (openHeader_ < 0) {
        return;
    }
    const qsizetype data = openHeader_ + kBlockHeader;
    put32At(openHeader_, openType_);
    put32At(openHeader_ + 4, static_cast<quint32>(bytes_.size() - data));
    openHeader_ = -1;
}

QByteArray ImageWriter::finish() {
    closeBlock();
    put32At(0, static_cast<quint32>(bytes_.size()));
    put32At(4, 0);
    put32At(8, blocks_);
    return std::move(bytes_);
}

void ImageWriter::put32(quint32 v) {
    bytes_.append(4, '\0');
    put32At(bytes_.size() - 4, v);
}

void ImageWriter::put16(quint16 v) {
    const char hi = static_cast<char>(v >> 8), lo = static_cast<char>(v & 0xFF);
    if (order_ == Order::BigEndian) {
        bytes_.append(hi).append(lo);
    } else {
        bytes_.append(lo).append(hi);
    }
}

void ImageWriter::put32At(qsizetype at, quint32 v) {
    char* p = bytes_.data() + at;
    for (int i = 0; i < 4; ++i) {
        const int shift = order_ == Order::BigEndian ? 24 - 8 * i : 8 * i;
        p[i] = static_cast<char>((v >> shift) & 0xFF);
    }
}

}  // namespace quorsim
