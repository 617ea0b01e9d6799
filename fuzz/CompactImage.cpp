#include "fuzz/CompactImage.h"

#include <cstring>

#include "core/ByteOrder.h"
#include "fuzz/FuzzSupport.h"

namespace fuzz {

namespace {

// The image's layout, written out here again rather than taken from the program.
constexpr qint64 kImageSize = 68 + 20 * 143828;
constexpr int kEngineHeaderAt = 20;
constexpr int kBlocksAt = 68;
constexpr int kBlockSize = 143828;
constexpr int kSummaryAt = 0x18;  // flight number, carried word, memory, six alarm levels
constexpr int kSummaryWords = 9;
constexpr int kSelectorAt = 0x22384;
constexpr int kBlocks = 20;

struct TextField {
    int at;
    int width;
};
constexpr TextField kAircraftFields[] = {{0, 17}, {17, 11}};  // identifier, shop ID
constexpr TextField kEngineFields[] = {{0, 17}, {17, 11}};    // type, SER

void put(QByteArray& image, qint64 at, const QByteArray& bytes) {
    if (at < image.size()) {
        std::memcpy(image.data() + at, bytes.constData(),
                    std::size_t(std::min<qint64>(bytes.size(), image.size() - at)));
    }
}

tolm::AircraftRecord aircraftFrom(Input& in, int engineIndex) {
    std::array<unsigned char, tolm::AircraftRecord::kSize> bytes{};
    for (const TextField& f : kAircraftFields) {
        const QByteArray text = in.field(f.width);
        std::memcpy(bytes.data() + f.at, text.constData(), std::size_t(f.width));
    }
    const int engineAt = engineIndex == 0 ? tolm::AircraftRecord::kEngine1Offset
                                          : tolm::AircraftRecord::kEngine2Offset;
    for (const TextField& f : kEngineFields) {
        const QByteArray text = in.field(f.width);
        std::memcpy(bytes.data() + engineAt + f.at, text.constData(), std::size_t(f.width));
    }
    return tolm::AircraftRecord::fromByteArray(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), tolm::AircraftRecord::kSize));
}

}  // namespace

ExpandedImage expandImage(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const quint8 shape = in.byte();
    ExpandedImage out;
    out.engineIndex = (shape >> 3) & 1;
    out.aircraft = aircraftFrom(in, out.engineIndex);
    if ((shape & 7) == 7) {
        out.image = in.rest();
        return out;
    }
    qint64 length = kImageSize;
    if ((shape & 7) == 5) {
        length += in.byte() + 1;
    } else if ((shape & 7) == 6) {
        qint64 cut = 0;
        for (int i = 0; i < 3; ++i) {
            cut |= qint64(in.byte()) << (8 * i);
        }
        length = cut % kImageSize;
    }
    const QByteArray header = in.field(12 * 4);
    QByteArray summaries[kBlocks], selectors[kBlocks];
    for (int b = 0; b < kBlocks; ++b) {
        summaries[b] = in.field(kSummaryWords * 4);
        selectors[b] = in.field(4);
    }
    out.image = tiled(in.rest(), length);
    put(out.image, kEngineHeaderAt, header);
    for (int b = 0; b < kBlocks; ++b) {
        const qint64 block = kBlocksAt + qint64(b) * kBlockSize;
        put(out.image, block + kSummaryAt, summaries[b]);
        put(out.image, block + kSelectorAt, selectors[b]);
    }
    return out;
}

QByteArray compactImage(const QByteArray& image, const tolm::AircraftRecord& aircraft,
                        int engineIndex, qsizetype fillFrom, qsizetype fillBytes) {
    QByteArray out(1, char(engineIndex == 1 ? 8 : 0));
    const auto* record = reinterpret_cast<const char*>(aircraft.bytes().data());
    for (const TextField& f : kAircraftFields) {
        out.append(record + f.at, f.width);
    }
    const int engineAt = engineIndex == 0 ? tolm::AircraftRecord::kEngine1Offset
                                          : tolm::AircraftRecord::kEngine2Offset;
    for (const TextField& f : kEngineFields) {
        out.append(record + engineAt + f.at, f.width);
    }
    out += image.mid(kEngineHeaderAt, 12 * 4);
    for (int b = 0; b < kBlocks; ++b) {
        const qint64 block = kBlocksAt + qint64(b) * kBlockSize;
        out += image.mid(block + kSummaryAt, kSummaryWords * 4);
        out += image.mid(block + kSelectorAt, 4);
    }
    return out + image.mid(fillFrom, fillBytes);
}

}  // namespace fuzz
