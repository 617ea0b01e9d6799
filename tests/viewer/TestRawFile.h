#pragma once
// Raw flight-data files for the viewer's tests, built byte for byte from the file layout with
// offsets written out here, independent of the download's writer.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QtEndian>
#include <QtGlobal>
#include <cstring>
#include <functional>

namespace viewertest {

inline constexpr int kHeader = 788;
inline constexpr int kBlock = 142652;
inline constexpr qint64 kFileSize = 2853852;

class TestRawFile {
public:
    using Samples = std::function<qint16(int)>;
    explicit TestRawFile(const QByteArray& aircraft = "HB-IJK", int engine = 1)
        : bytes_(kFileSize, '\0') {
        magic(0xAEEAAEED);
        std::memcpy(bytes_.data() + 4, aircraft.constData(),
                    std::min<qsizetype>(aircraft.size(), 16));
        std::memcpy(bytes_.data() + 0x15, "CFM56-7", 7);
        i32(0x28, engine);
        i32(0x3C, 1204725600);
    }

    TestRawFile& flight(int slot, int number, int memory = 0) {
        i32(0x44 + 4 * slot, number);
        return i32(0xE4 + 4 * slot, memory);
    }
    TestRawFile& magic(quint32 value) { return i32(0, qint32(value)); }
    TestRawFile& steadyValue(int slot, int row, int record, float v) {
        return f32(block(slot) + (row * 26 + record) * 4, v);
    }
    TestRawFile& transientValue(int slot, int row, int bin, int record, float v) {
        return f32(block(slot) + 0xD820 + ((row * 4 + bin) * 10 + record) * 4, v);
    }
    TestRawFile& transientAverage(int slot, int row, int bin, float v) {
        return f32(block(slot) + 0xDE60 + (row * 4 + bin) * 4, v);
    }
    // The 1024 samples of a record, each of 2 bytes.
    TestRawFile& steadySamples(int slot, int record, const Samples& sample) {
        return samples(block(slot) + 0x820 + record * 2048, sample);
    }
    TestRawFile& transientSamples(int slot, int bin, int record, const Samples& sample) {
        return samples(block(slot) + 0xDF00 + (bin * 10 + record) * 2048, sample);
    }

    const QByteArray& bytes() const { return bytes_; }
    // Writes the file (or its first `size` bytes), making its directory; returns the path.
    QString write(const QString& path, qint64 size = -1) const {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) {
            qFatal("cannot write %s", qPrintable(path));
        }
        f.write(bytes_.constData(), size < 0 ? bytes_.size() : size);
        return QFileInfo(path).absoluteFilePath();
    }

private:
    TestRawFile& i32(qint64 at, qint32 v) {
        qToLittleEndian(v, bytes_.data() + at);
        return *this;
    }
    TestRawFile& f32(qint64 at, float v) {
        quint32 bits;
        std::memcpy(&bits, &v, 4);
        qToLittleEndian(bits, bytes_.data() + at);
        return *this;
    }
    TestRawFile& samples(qint64 at, const Samples& sample) {
        for (int i = 0; i < 1024; ++i) {
            qToLittleEndian(sample(i), bytes_.data() + at + 2 * i);
        }
        return *this;
    }
    static qint64 block(int slot) { return kHeader + qint64(slot) * kBlock; }

    QByteArray bytes_;
};

}  // namespace viewertest
