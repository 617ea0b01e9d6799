// Any bytes as the link thread's temporary file, announced with the size word they begin with
// (as the link thread reads it): ValidateResponse either refuses them, leaving no response file
// and a reason in the communication log, or writes a response file whose blocks all lie within
// the announced size and hold exactly the received bytes, each element in host order.
#include <QFile>

#include "core/ByteOrder.h"
#include "fuzz/FuzzSupport.h"
#include "link/CommLog.h"
#include "link/LinkStatus.h"
#include "link/ResponseFile.h"

using fuzz::check;

namespace {

constexpr quint32 kMaxSize = 16777215;
constexpr qint64 kHeader = 12;
constexpr qint64 kBlockHeader = 8;

// The response file must be the received bytes with every whole element of each block turned
// around and everything else as it came.
void checkResponseFile(const QByteArray& in, const QByteArray& out, quint32 size) {
    const auto* r = reinterpret_cast<const unsigned char*>(in.constData());
    const auto* w = reinterpret_cast<const unsigned char*>(out.constData());
    check(out.size() == qint64(size), "the response file is not as long as the announced size",
          QStringLiteral("%1 bytes written, %2 announced").arg(out.size()).arg(size));
    check(in.size() >= out.size(), "the response file holds more than was received");
    for (int i = 0; i < 3; ++i) {
        check(tolm::loadLe32(w + 4 * i) == tolm::loadBe32(r + 4 * i),
              "a response header word is not the received one");
    }
    check(tolm::loadLe32(w + 4) == 0, "a refused ack was accepted");
    qint64 at = kHeader;
    while (at < out.size()) {
        check(out.size() - at >= kBlockHeader, "a block header runs past the announced size");
        const quint32 type = tolm::loadLe32(w + at);
        const quint32 count = tolm::loadLe32(w + at + 4);
        check(type == tolm::loadBe32(r + at) && count == tolm::loadBe32(r + at + 4),
              "a block header is not the received one");
        check(type <= 3, "a block of an unknown type was accepted");
        check(count <= kMaxSize, "a byte count above the limit was accepted");
        at += kBlockHeader;
        check(count <= out.size() - at, "a block's data runs past the announced size");
        const int element = type == 0 ? 1 : type == 1 ? 2 : 4;
        const qint64 whole = count / element * element;
        for (qint64 i = 0; i < count; ++i) {
            const qint64 from = i < whole ? i - i % element + (element - 1 - i % element) : i;
            check(w[at + i] == r[at + from], "a data byte is not the received one in host order",
                  QStringLiteral("offset %1, type %2").arg(at + i).arg(type));
        }
        at += count;
    }
}

// A refusal logs its reason, unless the size itself was refused.
void checkRefusal(const QByteArray& log, quint32 size) {
    if (size < kHeader || size > kMaxSize) {
        check(log.isEmpty(), "a size that frames nothing was logged");
        return;
    }
    check(log.contains("status code:  4\n"), "a refused response left no record in the log");
    const bool known = log.contains("status msg:   Unit returned error (ACK = ") ||
                       log.contains("status msg:   Invalid block type\n") ||
                       log.contains("status msg:   Invalid byte count\n") ||
                       log.contains("status msg:   Truncated response\n") ||
                       log.contains("status msg:   Invalid response size");
    check(known, "a refusal was logged without a known reason", QString::fromLatin1(log));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray received(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString temporaryPath = fuzz::home() + QStringLiteral("/received");
    fuzz::writeFile(temporaryPath, received);
    const quint32 announced = size >= 4 ? tolm::loadBe32(data) : 0;

    QFile temporary(temporaryPath);
    QString name;
    const int rc = tolm::ValidateResponse(name, temporary, announced);
    const QString responsePath = tolm::responseFilePath();
    if (rc == 0) {
        check(name == responsePath, "an accepted response is not named");
        checkResponseFile(received, fuzz::readFile(responsePath), announced);
    } else {
        check(rc == -1, "ValidateResponse returned neither 0 nor -1");
        check(name.isEmpty(), "a refused response left its name");
        check(!QFile::exists(responsePath), "a refused response left its file");
        checkRefusal(fuzz::readFile(tolm::commLogPath()), announced);
    }
    QFile::remove(responsePath);
    QFile::remove(tolm::commLogPath());
    return 0;
}
