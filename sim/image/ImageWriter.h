#pragma once
// The simulator's own writer of unit responses: appends typed blocks one element at a time in
// either byte order and fills in every block header, the size word and the block count.
// A block's type follows from its first element (16-bit samples 1, words 2, floats 3).
#include <QByteArray>
#include <QtGlobal>

namespace quorsim {

class ImageWriter {
public:
    enum class Order { BigEndian, LittleEndian };
    static constexpr quint32 kSampleBlock = 1;
    static constexpr quint32 kWordBlock = 2;
    static constexpr quint32 kFloatBlock = 3;

    explicit ImageWriter(Order order);

    // Closes the open block and starts the next one at the current position.
    void beginBlock();
    void word(quint32 v);
    void real(float v);
    void sample(qint16 v);

    // Closes the last block and writes size, ack 0 and the block count.
    QByteArray finish();

private:
    void elementOf(quint32 type);
    void closeBlock();
    void put32(quint32 v);
    void put16(quint16 v);
    void put32At(qsizetype at, quint32 v);

    Order order_;
    QByteArray bytes_;
    qsizetype openHeader_ = -1;  // position of the open block's header
    quint32 openType_ = 0;       // 0 until the first element
    quint32 blocks_ = 0;
};

}  // namespace quorsim
