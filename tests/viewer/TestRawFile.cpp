#include "tests/viewer/TestRawFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cstring>

namespace viewertest {

TestRawFile::TestRawFile(const QByteArray& aircraft, int engine) : bytes_(kFileSize, '\0') {
    magic(0xAEEAAEED);
    std::memcpy(bytes_.data() + 4, aircraft.constData(), std::min<qsizetype>(aircraft.size(), 16));
    std::memcpy(bytes_.data() + 0x15, "CFM56-7", 7);
    i32(0x28, engine);
    i32(0x3C, 1204725600);
}

QString TestRawFile::write(const QString& path, qint64 size) const {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        qFatal("cannot write %s", qPrintable(path));
    }
    f.write(bytes_.constData(), size < 0 ? bytes_.size() : size);
    return QFileInfo(path).absoluteFilePath();
}

TestRawFile& TestRawFile::i32(qint64 at, qint32 v) {
    qToLittleEndian(v, bytes_.data() + at);
    return *this;
}

TestRawFile& TestRawFile::f32(qint64 at, float v) {
    quint32 bits;
    std::memcpy(&bits, &v, 4);
    qToLittleEndian(bits, bytes_.data() + at);
    return *this;
}

TestRawFile& TestRawFile::samples(qint64 at, const Samples& sample) {
    for (int i = 0; i < 1024; ++i) {
        qToLittleEndian(sample(i), bytes_.data() + at + 2 * i);
    }
    return *this;
}

}  // namespace viewertest
