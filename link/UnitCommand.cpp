#include "link/UnitCommand.h"

#include <QString>

#include "core/ByteOrder.h"
#include "link/LinkLog.h"

namespace tolm {

int BuildCommand(std::span<unsigned char> buffer, std::span<const quint32> payload, quint32 code) {
    const qsizetype length = UnitCommand::kHeaderSize + 4 * qsizetype(payload.size());
    if (length > qsizetype(buffer.size())) {
        qCWarning(lcLinkTraffic) << "BuildCommand: a payload of" << payload.size()
                                 << "words does not fit the command buffer";
        return -1;
    }
    unsigned char* out = buffer.data();
    storeBe32(out + UnitCommand::kLengthOffset, quint32(length));
    storeBe32(out + UnitCommand::kCodeOffset, code);
    for (size_t i = 0; i < payload.size(); ++i) {
        storeBe32(out + UnitCommand::kPayloadOffset + 4 * i, payload[i]);
    }
    if (lcLinkTraffic().isInfoEnabled()) {
        QString trace = QStringLiteral("cmd: %1 %2 ").arg(qint32(length)).arg(qint32(code));
        for (quint32 word : payload) {
            trace += QString::number(qint32(word)) + QLatin1Char(' ');
        }
        qCInfo(lcLinkTraffic).noquote() << trace;
    }
    return int(length);
}

}  // namespace tolm
