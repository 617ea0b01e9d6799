#include "viewer/RawFileHeader.h"

#include "core/ByteOrder.h"

namespace tolm::viewer {

std::optional<RawFileHeader> RawFileHeader::parse(QByteArrayView bytes) {
    if (bytes.size() < raw::kHeaderSize) {
        return std::nullopt;
    }
    return RawFileHeader(bytes.first(raw::kHeaderSize).toByteArray());
}

quint32 RawFileHeader::magic() const {
    return loadLe32(bytes_.constData() + raw::kMagicOffset);
}

qint32 RawFileHeader::word(int offset) const {
    return loadLeI32(bytes_.constData() + offset);
}

qint32 RawFileHeader::slotWord(int offset, int slot) const {
    return slot >= 0 && slot < raw::kDataBlocks ? word(offset + 4 * slot) : 0;
}

QString RawFileHeader::text(int offset) const {
    const char* p = bytes_.constData() + offset;
    return QString::fromLocal8Bit(p, qstrnlen(p, raw::kTextWidth));
}

}  // namespace tolm::viewer
