#pragma once
// The header of the unit's response: total size (this word included), ack (0: carried out,
// otherwise the unit's error code) and the number of blocks that follow. Big-endian on the
// wire, host order in the response file.
#include <QtGlobal>

#include "core/ByteOrder.h"

namespace tolm {

struct UnitResponse {
    static constexpr int kSizeOffset = 0;
    static constexpr int kAckOffset = 4;
    static constexpr int kBlockNbOffset = 8;
    static constexpr int kHeaderSize = 12;
    // Largest size, and largest block byte count, the program accepts (2^24 - 1).
    static constexpr quint32 kMaxSize = 16777215;

    quint32 size = 0;
    quint32 ack = 0;
    quint32 blockNb = 0;

    static UnitResponse fromWire(const unsigned char* p) {
        return {loadBe32(p + kSizeOffset), loadBe32(p + kAckOffset), loadBe32(p + kBlockNbOffset)};
    }
    void toFile(unsigned char* p) const {
        storeLe32(p + kSizeOffset, size);
        storeLe32(p + kAckOffset, ack);
        storeLe32(p + kBlockNbOffset, blockNb);
    }
};

}  // namespace tolm
