#include "sim/ResponseFrame.h"

namespace quorsim {

void ResponseFrame::putBe32(QByteArray& to, quint32 v) {
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    to.append(b, 4);
}

void ResponseFrame::setBe32(QByteArray& in, qsizetype at, quint32 v) {
    in[at] = char(v >> 24);
    in[at + 1] = char(v >> 16);
    in[at + 2] = char(v >> 8);
    in[at + 3] = char(v);
}

ResponseFrame& ResponseFrame::block(quint32 type, const QByteArray& data,
                                    std::optional<quint32> claimedByteCount) {
    putBe32(body_, type);
    putBe32(body_, claimedByteCount.value_or(quint32(data.size())));
    body_ += data;
    ++blocks_;
    return *this;
}

QByteArray ResponseFrame::bytes() const {
    QByteArray out;
    out.reserve(kHeaderSize + body_.size());
    putBe32(out, quint32(kHeaderSize + body_.size()));
    putBe32(out, ack_);
    putBe32(out, blocks_);
    return out + body_;
}

}  // namespace quorsim
