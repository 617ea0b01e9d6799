#pragma once
// The register entry of one aircraft: a fixed 2699-byte block holding the aircraft's texts and
// the records of its two engines. It is stored byte for byte and always read and written whole.
#include <QByteArray>
#include <QString>
#include <array>

namespace tolm {

// Encodes text in the local 8-bit encoding and cuts it to at most maxBytes bytes, never in the
// middle of a multi-byte character.
QByteArray fitLocal8Bit(const QString& text, int maxBytes);

enum class EngineOption {
    DownloadBearingData,  // also governs the post-processing of the download
    EraseBearingData,
    EraseBearingDefectHistory,
    EraseAccelDefectHistory,
};

class EngineRecord {
public:
    static constexpr int kSize = 311;
    static constexpr int kTypeOffset = 0, kTypeWidth = 17;
    static constexpr int kSerOffset = 17, kSerWidth = 11;
    static constexpr int kInstallDateOffset = 28, kInstallDateWidth = 21;
    static constexpr int kDownloadOffset = 49;
    static constexpr int kEraseDataOffset = 52;
    static constexpr int kEraseDefectOffset = 53;
    static constexpr int kEraseAccelOffset = 54;
    static_assert(kEraseAccelOffset + 1 + 256 == kSize);

    EngineRecord() { bytes_.fill(0); }
    static EngineRecord fromBytes(const unsigned char* data);

    QString type() const { return text(kTypeOffset, kTypeWidth); }
    QString ser() const { return text(kSerOffset, kSerWidth); }
    QString installDate() const { return text(kInstallDateOffset, kInstallDateWidth); }
    // The stored bytes of a text field, up to its terminator.
    QByteArray typeBytes() const { return rawText(kTypeOffset, kTypeWidth); }
    QByteArray serBytes() const { return rawText(kSerOffset, kSerWidth); }
    QByteArray installDateBytes() const { return rawText(kInstallDateOffset, kInstallDateWidth); }

    // Setters cut the text to the field's width minus one byte and zero the rest of the field.
    void setType(const QString& v) { setText(kTypeOffset, kTypeWidth, v); }
    void setSer(const QString& v) { setText(kSerOffset, kSerWidth, v); }
    void setInstallDate(const QString& v) { setText(kInstallDateOffset, kInstallDateWidth, v); }

    bool option(EngineOption o) const { return bytes_[optionOffset(o)] != 0; }
    unsigned char optionByte(EngineOption o) const { return bytes_[optionOffset(o)]; }
    void setOption(EngineOption o, bool on) { bytes_[optionOffset(o)] = on ? 1 : 0; }

    const std::array<unsigned char, kSize>& bytes() const { return bytes_; }
    bool operator==(const EngineRecord&) const = default;

private:
    static int optionOffset(EngineOption o);
    QString text(int offset, int width) const;
    QByteArray rawText(int offset, int width) const;
    void setText(int offset, int width, const QString& v);

    std::array<unsigned char, kSize> bytes_;
};

class AircraftRecord {
public:
    static constexpr int kSize = 2699;
    static constexpr int kIdentifierOffset = 0, kIdentifierWidth = 17;
    static constexpr int kShopIdOffset = 17, kShopIdWidth = 11;
    static constexpr int kEngine1Offset = 28, kEngine2Offset = 339;
    static constexpr int kCommentsOffset = 650, kCommentsWidth = 2049;
    static_assert(kEngine2Offset == kEngine1Offset + EngineRecord::kSize);
    static_assert(kCommentsOffset == kEngine2Offset + EngineRecord::kSize);
    static_assert(kCommentsOffset + kCommentsWidth == kSize);

    AircraftRecord() { bytes_.fill(0); }
    // Takes the first 2699 bytes; a shorter value leaves the rest zero.
    static AircraftRecord fromByteArray(const QByteArray& value);
    QByteArray toByteArray() const;

    QString identifier() const { return text(kIdentifierOffset, kIdentifierWidth); }
    QString shopId() const { return text(kShopIdOffset, kShopIdWidth); }
    QString comments() const { return text(kCommentsOffset, kCommentsWidth); }
    QByteArray identifierBytes() const { return rawText(kIdentifierOffset, kIdentifierWidth); }
    QByteArray shopIdBytes() const { return rawText(kShopIdOffset, kShopIdWidth); }
    QByteArray commentsBytes() const { return rawText(kCommentsOffset, kCommentsWidth); }
    void setIdentifier(const QString& v) { setText(kIdentifierOffset, kIdentifierWidth, v); }
    void setShopId(const QString& v) { setText(kShopIdOffset, kShopIdWidth, v); }
    void setComments(const QString& v) { setText(kCommentsOffset, kCommentsWidth, v); }

    // Engines are indexed 0 and 1 (engine numbers 1 and 2).
    EngineRecord engine(int index) const;
    void setEngine(int index, const EngineRecord& engine);

    const std::array<unsigned char, kSize>& bytes() const { return bytes_; }
    bool operator==(const AircraftRecord&) const = default;

private:
    static int engineOffset(int index) { return index == 0 ? kEngine1Offset : kEngine2Offset; }
    QString text(int offset, int width) const;
    QByteArray rawText(int offset, int width) const;
    void setText(int offset, int width, const QString& v);

    std::array<unsigned char, kSize> bytes_;
};

}  // namespace tolm
