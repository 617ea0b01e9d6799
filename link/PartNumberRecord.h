#pragma once
// The unit's part numbers: the first block of the answer to the part-number query, block header
// included, as the unit sent it (after conversion to host order). 284 bytes.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <optional>

namespace tolm {

class PartNumberRecord {
public:
    static constexpr int kSize = 284;
    static constexpr int kBlockHeaderSize = 8;
    static constexpr int kDataSize = 276;
    static_assert(kBlockHeaderSize + kDataSize == kSize);

    // Text fields: offset from the start of the block header, 16 bytes each.
    static constexpr int kFieldWidth = 16;
    static constexpr int kUnitOffset = 8;
    static constexpr int kBootMainOffset = 44;
    static constexpr int kMainOffset = 60;
    static constexpr int kBootDspOffset = 100;
    static constexpr int kDspOffset = 116;
    static constexpr int kConfigOffset = 148;
    // Offsets forced to NUL after reading, so that each text is terminated within 15 characters.
    static constexpr std::array<int, 11> kTerminators{23,  59,  75,  115, 131, 147,
                                                      163, 211, 227, 243, 259};

    // The part-number query's response file: the 12-byte response header, then the record.
    static constexpr int kResponseHeaderSize = 12;
    static constexpr int kResponseFileSize = kResponseHeaderSize + kSize;

    PartNumberRecord() { clear(); }
    // The record in the first kResponseFileSize bytes of a response file, terminators forced;
    // none when the file is shorter (the block's type and byte count are not examined).
    static std::optional<PartNumberRecord> fromResponseFile(QByteArrayView file);
    void clear() { bytes_.fill(0); }
    // Copies kSize bytes in and forces the terminators.
    void assign(const unsigned char* data);
    void forceTerminators();

    QString unit() const { return text(kUnitOffset); }
    QString bootMainSoftware() const { return text(kBootMainOffset); }
    QString mainSoftware() const { return text(kMainOffset); }
    QString bootDspSoftware() const { return text(kBootDspOffset); }
    QString dspSoftware() const { return text(kDspOffset); }
    QString configTable() const { return text(kConfigOffset); }

    // The stored 8-bit text of a field, up to its terminator.
    QByteArray textBytes(int offset) const;

    unsigned char* data() { return bytes_.data(); }
    const std::array<unsigned char, kSize>& bytes() const { return bytes_; }

private:
    QString text(int offset) const { return QString::fromLocal8Bit(textBytes(offset)); }
    std::array<unsigned char, kSize> bytes_;
};

}  // namespace tolm
