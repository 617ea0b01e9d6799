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

TestRawFile& TestRawFile::flight(int slot, int number, int memory) {
    i32(0x44 + 4 * slot, number);
    i32(0xE4 + 4 * slot, memory);
    return *this;
}

TestRawFile& TestRawFile::magic(quint32 value) {
    i32(0, qint32(value));
    return *this;
}

TestRawFile& TestRawFile::steadyValue(int slot, int row, int record, float v) {
    f32(block(slot) + (row * 26 + record) * 4, v);
    return *this;
}

TestRawFile& TestRawFile::transientValue(int slot, int row, int bin, int record, float v) {
    f32(block(slot) + 0xD820 + ((row * 4 + bin) * 10 + record) * 4, v);
    return *this;
}

TestRawFile& TestRawFile::transientAverage(int slot, int row, int bin, float v) {
    f32(block(slot) + 0xDE60 + (row * 4 + bin) * 4, v);
    return *this;
}

TestRawFile& TestRawFile::steadySamples(int slot, int record,
                                        const std::function<qint16(int)>& sample) {
    for (int i = 0; i < 1024; ++i) {
        i16(block(slot) + 0x820 + (record * 1024 + i) * 2, sample(i));
    }
    return *this;
}

TestRawFile& TestRawFile::transientSamples(int slot, int bin, int record,
                                           const std::function<qint16(int)>& sample) {
    for (int i = 0; i < 1024; ++i) {
        i16(block(slot) + 0xDF00 + ((bin * 10 + record) * 1024 + i) * 2, sample(i));
    }
    return *this;
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

void TestRawFile::i32(qint64 at, qint32 v) {
    qToLittleEndian(v, bytes_.data() + at);
}

void TestRawFile::f32(qint64 at, float v) {
    quint32 bits;
    std::memcpy(&bits, &v, 4);
    qToLittleEndian(bits, bytes_.data() + at);
}

void TestRawFile::i16(qint64 at, qint16 v) {
    qToLittleEndian(v, bytes_.data() + at);
}

}  // namespace viewertest
