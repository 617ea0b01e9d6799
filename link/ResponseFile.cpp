#include "link/ResponseFile.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <array>
#include <vector>

#include "core/ByteOrder.h"
#include "core/PlatformPaths.h"
#include "link/CommLog.h"
#include "link/LinkLog.h"
#include "link/LinkStatus.h"
#include "link/ResponseBlock.h"
#include "link/UnitResponse.h"

namespace tolm {

namespace {

// Block data is converted in pieces of this size (a whole number of 32-bit elements), so that
// a large block never sits in memory as a whole.
constexpr qint64 kPieceSize = 64 * 1024;
static_assert(kPieceSize % 4 == 0);

struct Refusal {};

void refuse(const QString& logText) {
    LogCommStatus(logText, STATUS_ERROR);
    throw Refusal{};
}

void readExactly(QFile& from, unsigned char* into, qint64 count) {
    if (from.read(reinterpret_cast<char*>(into), count) != count) {
        refuse(QStringLiteral("Truncated response"));
    }
}

void writeAll(QFile& to, const unsigned char* data, qint64 count) {
    if (to.write(reinterpret_cast<const char*>(data), count) != count) {
        qCWarning(lcLink) << "ValidateResponse: cannot write" << to.fileName() << to.errorString();
        throw Refusal{};
    }
}

void copyBlocks(QFile& in, QFile& out, quint32 size) {
    // Everything past the bytes actually received, or past the announced size, is missing.
    const qint64 end = std::min<qint64>(size, in.size());
    qint64 offset = UnitResponse::kHeaderSize;
    std::vector<unsigned char> piece(kPieceSize);
    while (offset < size) {
        std::array<unsigned char, ResponseBlock::kHeaderSize> header;
        if (end - offset < ResponseBlock::kHeaderSize) {
            refuse(QStringLiteral("Truncated response"));
        }
        readExactly(in, header.data(), header.size());
        offset += ResponseBlock::kHeaderSize;
        const ResponseBlock block = ResponseBlock::fromWire(header.data());
        if (block.type > ResponseBlock::kLastType) {
            refuse(QStringLiteral("Invalid block type"));
        }
        if (block.byteCount > ResponseBlock::kMaxByteCount) {
            refuse(QStringLiteral("Invalid byte count"));
        }
        if (block.byteCount > end - offset) {
            refuse(QStringLiteral("Truncated response"));
        }
        block.toFile(header.data());
        writeAll(out, header.data(), header.size());
        for (qint64 left = block.byteCount; left > 0;) {
            const qint64 n = std::min(left, kPieceSize);
            readExactly(in, piece.data(), n);
            SwapBlock(piece.data(), quint32(n), block.type);
            writeAll(out, piece.data(), n);
            left -= n;
        }
        offset += block.byteCount;
    }
}

}  // namespace

QString responseFilePath() {
    return homeDirectory() + QStringLiteral("/QUOR-") +
           QString::number(QCoreApplication::applicationPid());
}

void SwapBlock(unsigned char* data, quint32 byteCount, quint32 type) {
    if (type == ResponseBlock::kHalfWords) {
        for (quint32 i = 0; i + 2 <= byteCount; i += 2) {
            storeLe16(data + i, loadBe16(data + i));
        }
    } else if (type == ResponseBlock::kWords || type == ResponseBlock::kLastType) {
        for (quint32 i = 0; i + 4 <= byteCount; i += 4) {
            storeLe32(data + i, loadBe32(data + i));
        }
    }
}

int ValidateResponse(QString& responseFileName, QFile& temporary, quint32 size) {
    // A size that cannot even hold the response header frames nothing (the link thread refuses
    // it as it arrives); like an oversized one, it is refused without a detail record.
    if (size < UnitResponse::kHeaderSize || size > UnitResponse::kMaxSize) {
        return -1;
    }
    if (!temporary.isOpen() && !temporary.open(QIODevice::ReadOnly)) {
        return -1;
    }
    if (!temporary.seek(0)) {
        return -1;
    }
    responseFileName = responseFilePath();
    QFile out(responseFileName);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qCWarning(lcLink) << "ValidateResponse: cannot open" << responseFileName
                          << out.errorString();
        return -1;
    }
    try {
        std::array<unsigned char, UnitResponse::kHeaderSize> header;
        readExactly(temporary, header.data(), header.size());
        const UnitResponse response = UnitResponse::fromWire(header.data());
        response.toFile(header.data());
        writeAll(out, header.data(), header.size());
        qCDebug(lcLinkTraffic, "resp.size = %d", int(response.size));
        qCDebug(lcLinkTraffic, "resp.ack = %d", int(response.ack));
        qCDebug(lcLinkTraffic, "resp.blockNb = %d", int(response.blockNb));
        if (response.ack != 0) {
            const QString text = QStringLiteral("Unit returned error (ACK = %1)").arg(response.ack);
            qCCritical(lcLinkTraffic).noquote() << text;
            refuse(text);
        }
        copyBlocks(temporary, out, size);
        if (!out.flush()) {
            qCWarning(lcLink) << "ValidateResponse: cannot write" << responseFileName
                              << out.errorString();
            throw Refusal{};
        }
    } catch (const Refusal&) {
        out.close();
        out.remove();
        responseFileName.clear();
        temporary.close();
        return -1;
    }
    temporary.close();
    out.close();
    return 0;
}

}  // namespace tolm
