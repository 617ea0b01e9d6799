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
    explicit TestRawFile(const QByteArray& aircraft = "HB-IJK", int engine = 1);

    TestRawFile& flight(int slot, int number, int memory = 0);
    TestRawFile& magic(quint32 value);
    TestRawFile& steadyValue(int slot, int row, int record, float v);
    TestRawFile& transientValue(int slot, int row, int bin, int record, float v);
    TestRawFile& transientAverage(int slot, int row, int bin, float v);
    TestRawFile& steadySamples(int slot, int record, const std::function<qint16(int)>& sample);
    TestRawFile& transientSamples(int slot, int bin, int record,
                                  const std::function<qint16(int)>& sample);

    const QByteArray& bytes() const { return bytes_; }
    // Writes the file (its first `size` bytes when given), creating its directory; returns the
    // path.
    QString write(const QString& path, qint64 size = -1) const;

private:
    void i32(qint64 at, qint32 v);
    void f32(qint64 at, float v);
    void i16(qint64 at, qint16 v);
    static qint64 block(int slot) { return kHeader + qint64(slot) * kBlock; }

    QByteArray bytes_;
};

}  // namespace viewertest
