#pragma once
// Raw flight-data files for the viewer's tests, built byte for byte from the file layout with
// offsets written out here, independent of the download's writer.
#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>

namespace viewertest {

inline constexpr int kHeader = 788;
inline constexpr int kBlock = 142652;
inline constexpr qint64 kFileSize = 2853852;

class TestRawFile {
public:
    using Samples = std::function<qint16(int)>;
    explicit TestRawFile(const QByteArray& aircraft = "HB-IJK", int engine = 1);

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
    // Writes the file (its first `size` bytes when given), creating its directory; returns the
    // path.
    QString write(const QString& path, qint64 size = -1) const;

private:
    TestRawFile& i32(qint64 at, qint32 v);
    TestRawFile& f32(qint64 at, float v);
    TestRawFile& samples(qint64 at, const Samples& sample);
    static qint64 block(int slot) { return kHeader + qint64(slot) * kBlock; }

    QByteArray bytes_;
};

}  // namespace viewertest
