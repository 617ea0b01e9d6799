#pragma once
// The simulator's own writer of unit responses: size word, ack, block count, then blocks of
// type, byte count and data, every word big-endian. Independent of the program's codecs.
#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace quorsim {

class ResponseFrame {
public:
    static constexpr int kHeaderSize = 12;      // size, ack, block count
    static constexpr int kBlockHeaderSize = 8;  // type, byte count

    explicit ResponseFrame(quint32 ack = 0) : ack_(ack) {}

    // Appends a block; `claimedByteCount` replaces the true count in its header (for faults).
    ResponseFrame& block(quint32 type, const QByteArray& data,
                         std::optional<quint32> claimedByteCount = std::nullopt);
    // The whole response; the size word counts every byte.
    QByteArray bytes() const;

    static void putBe32(QByteArray& to, quint32 v);
    static void setBe32(QByteArray& in, qsizetype at, quint32 v);

private:
    quint32 ack_;
    quint32 blocks_ = 0;
    QByteArray body_;
};

}  // namespace quorsim
