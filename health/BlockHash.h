#pragma once
// The hash by which the index recognises copies of one flight block: 64 bits over the bytes of
// the block that the index reads (its header entries and its steady-state values), stable from
// one run and one machine to the next. Equal bytes give equal hashes; it guards against nothing
// but chance.
#include <QByteArrayView>
#include <QtGlobal>

#include "core/ByteOrder.h"

namespace tolm::health {

class BlockHash {
public:
    void add(QByteArrayView bytes) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
        qsizetype i = 0;
        for (; i + 8 <= bytes.size(); i += 8) {
            mix(quint64(loadLe32(p + i)) | quint64(loadLe32(p + i + 4)) << 32);
        }
        for (; i < bytes.size(); ++i) {
            mix(p[i]);
        }
        length_ += quint64(bytes.size());
    }
    quint64 result() const {
        quint64 h = state_ ^ length_;
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53ull;
        return h ^ (h >> 33);
    }

private:
    void mix(quint64 word) {
        state_ = (state_ ^ word) * 0x9E3779B97F4A7C15ull;
        state_ ^= state_ >> 29;
    }

    quint64 state_ = 0x243F6A8885A308D3ull;
    quint64 length_ = 0;
};

}  // namespace tolm::health
