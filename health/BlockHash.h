#pragma once
// The hash by which the index recognises copies of one flight block: 64 bits over what the
// index reads of the block (its header entries, and the sums of its steady-state values'
// runs), stable from one run and one machine to the next. Equal bytes give equal hashes; it
// guards against nothing but chance.
#include <QByteArrayView>
#include <QtGlobal>

#include "core/ByteOrder.h"

namespace tolm::health {

class BlockHash {
public:
    // Four words at a time into four lanes, so that the multiplications do not wait on each
    // other; the rest word by word, then byte by byte, into the first lane.
    void add(QByteArrayView bytes) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
        qsizetype i = 0;
        for (; i + 32 <= bytes.size(); i += 32) {
            for (int lane = 0; lane < 4; ++lane) {
                mix(state_[lane], word(p + i + 8 * lane));
            }
        }
        for (; i + 8 <= bytes.size(); i += 8) {
            mix(state_[0], word(p + i));
        }
        for (; i < bytes.size(); ++i) {
            mix(state_[0], p[i]);
        }
        length_ += quint64(bytes.size());
    }
    quint64 result() const {
        quint64 h = length_;
        for (quint64 lane : state_) {
            mix(h, lane);
        }
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53ull;
        return h ^ (h >> 33);
    }

private:
    static quint64 word(const unsigned char* p) {
        return quint64(loadLe32(p)) | quint64(loadLe32(p + 4)) << 32;
    }
    static void mix(quint64& state, quint64 word) {
        state = (state ^ word) * 0x9E3779B97F4A7C15ull;
        state ^= state >> 29;
    }

    quint64 state_[4] = {0x243F6A8885A308D3ull, 0x13198A2E03707344ull, 0xA4093822299F31D0ull,
                         0x082EFA98EC4E6C89ull};
    quint64 length_ = 0;
};

}  // namespace tolm::health
