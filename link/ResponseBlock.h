#pragma once
// A block of a unit response: element type, byte count, then the data. Type 0 holds bytes,
// type 1 16-bit elements, types 2 and 3 32-bit elements, big-endian on the wire.
#include <QtGlobal>

#include "core/ByteOrder.h"

namespace tolm {

struct ResponseBlock {
    static constexpr int kTypeOffset = 0;
    static constexpr int kByteCountOffset = 4;
    static constexpr int kHeaderSize = 8;
    static constexpr quint32 kBytes = 0;
    static constexpr quint32 kHalfWords = 1;
    static constexpr quint32 kWords = 2;
    static constexpr quint32 kLastType = 3;
    static constexpr quint32 kMaxByteCount = 16777215;

    quint32 type = 0;
    quint32 byteCount = 0;

    static ResponseBlock fromWire(const unsigned char* p) {
        return {loadBe32(p + kTypeOffset), loadBe32(p + kByteCountOffset)};
    }
    void toFile(unsigned char* p) const {
        storeLe32(p + kTypeOffset, type);
        storeLe32(p + kByteCountOffset, byteCount);
    }
};

}  // namespace tolm
