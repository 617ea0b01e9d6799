#include "formats/AircraftRecord.h"

#include <algorithm>
#include <cstring>

namespace tolm {

QByteArray fitLocal8Bit(const QString& text, int maxBytes) {
    QByteArray all = text.toLocal8Bit();
    if (all.size() <= maxBytes) {
        return all;
    }
    // Grow the kept prefix one whole character (code point) at a time.
    QByteArray kept;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QByteArray piece = text.mid(i, len).toLocal8Bit();
        if (kept.size() + piece.size() > maxBytes) {
            break;
        }
        kept += piece;
        i += len;
    }
    return kept;
}

namespace {

QByteArray readField(const unsigned char* field, int width) {
    const auto* begin = reinterpret_cast<const char*>(field);
    const auto* end = static_cast<const char*>(std::memchr(begin, 0, width));
    return QByteArray(begin, end ? end - begin : width);
}

void writeField(unsigned char* field, int width, const QString& v) {
    const QByteArray bytes = fitLocal8Bit(v, width - 1);
    std::memset(field, 0, width);
    std::memcpy(field, bytes.constData(), bytes.size());
}

}  // namespace

EngineRecord EngineRecord::fromBytes(const unsigned char* data) {
    EngineRecord r;
    std::memcpy(r.bytes_.data(), data, kSize);
    return r;
}

int EngineRecord::optionOffset(EngineOption o) {
    switch (o) {
        case EngineOption::DownloadBearingData:
            return kDownloadOffset;
        case EngineOption::EraseBearingData:
            return kEraseDataOffset;
        case EngineOption::EraseBearingDefectHistory:
            return kEraseDefectOffset;
        case EngineOption::EraseAccelDefectHistory:
            return kEraseAccelOffset;
    }
    return kDownloadOffset;
}

QString EngineRecord::text(int offset, int width) const {
    return QString::fromLocal8Bit(rawText(offset, width));
}
QByteArray EngineRecord::rawText(int offset, int width) const {
    return readField(bytes_.data() + offset, width);
}
void EngineRecord::setText(int offset, int width, const QString& v) {
    writeField(bytes_.data() + offset, width, v);
}

AircraftRecord AircraftRecord::fromByteArray(const QByteArray& value) {
    AircraftRecord r;
    std::memcpy(r.bytes_.data(), value.constData(), std::min<qsizetype>(value.size(), kSize));
    return r;
}

QByteArray AircraftRecord::toByteArray() const {
    return QByteArray(reinterpret_cast<const char*>(bytes_.data()), kSize);
}

EngineRecord AircraftRecord::engine(int index) const {
    return EngineRecord::fromBytes(bytes_.data() + engineOffset(index));
}

void AircraftRecord::setEngine(int index, const EngineRecord& engine) {
    std::memcpy(bytes_.data() + engineOffset(index), engine.bytes().data(), EngineRecord::kSize);
}

QString AircraftRecord::text(int offset, int width) const {
    return QString::fromLocal8Bit(rawText(offset, width));
}
QByteArray AircraftRecord::rawText(int offset, int width) const {
    return readField(bytes_.data() + offset, width);
}
void AircraftRecord::setText(int offset, int width, const QString& v) {
    writeField(bytes_.data() + offset, width, v);
}

}  // namespace tolm
