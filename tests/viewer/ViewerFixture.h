#pragma once
// Raw flight-data files built byte for byte from the file layout with offsets written out here,
// independent of the download's writer; a fresh data directory and settings store for each test.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <cstring>
#include <functional>

#include "tests/support/TestEnvironment.h"
#include "viewer/DataDirectoryScan.h"
#include "viewer/FlightSelection.h"

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
    // Flights first, first + 1, ... in slots 0 to count - 1.
    TestRawFile& flights(int first, int count) {
        for (int slot = 0; slot < count; ++slot) {
            flight(slot, first + slot);
        }
        return *this;
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

// Flight `slot` of a test file as the selection would hand it over.
inline tolm::viewer::FlightDataElement element(const viewertest::TestRawFile& file, int slot) {
    const QByteArray& b = file.bytes();
    return tolm::viewer::FlightDataElement(
        *tolm::viewer::RawFileHeader::parse(b),
        b.mid(viewertest::kHeader + slot * viewertest::kBlock, viewertest::kBlock), slot,
        QStringLiteral("/test.raw"));
}

// Flights of slots 0 to count - 1.
inline QList<tolm::viewer::FlightDataElement> flightsOf(const viewertest::TestRawFile& f,
                                                        int count) {
    QList<tolm::viewer::FlightDataElement> flights;
    for (int slot = 0; slot < count; ++slot) {
        flights.append(element(f, slot));
    }
    return flights;
}

// Flights 7, 8 and 9 of HB-IJK's engine 2 in slots 0 to 2: A4R from -3 (flight 7) up, TR4R all -1,
// the A3B_avg averages and TR3B values of each bin, steady time histories (records 0, 2 and 4 of
// flight 7: its waterfall hides the 23 empty records) and one transient time history.
inline viewertest::TestRawFile ThreeFlights() {
    viewertest::TestRawFile f("HB-IJK", 2);
    for (int slot = 0; slot < 3; ++slot) {
        f.flight(slot, 7 + slot);
        for (int r = 0; r < 26; ++r) {
            f.steadyValue(slot, 10, r, slot * 10 + r * 0.5f - 3.0f);
            f.steadyValue(slot, 11, r, -1.0f);
        }
        for (int bin = 0; bin < 4; ++bin) {
            f.transientAverage(slot, 6, bin, slot * 10 + bin + 0.25f);
            for (int k = 0; k < 10; ++k) {
                f.transientValue(slot, 8, bin, k, slot * 1000 + bin * 100 + k);
            }
        }
        f.steadySamples(slot, 4, [slot](int i) { return qint16((slot + 1) * (i - 500)); });
    }
    f.steadySamples(0, 0, [](int i) { return qint16(i % 64 - 32); });
    f.steadySamples(0, 2, [](int i) {
        return qint16(std::lround(1000 * std::cos(2 * M_PI * 114 * i / 1024)));
    });
    f.transientSamples(0, 2, 2, [](int i) { return qint16(3 * i); });
    return f;
}

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override { testenv::clearSettings(); }

    // "<data>/<aircraft>_data/engine_<n>/<name>"
    QString rawPath(const QString& aircraft, int engine, const QString& name) const {
        return QStringLiteral("%1/%2_data/engine_%3/%4")
            .arg(data.path(), aircraft, QString::number(engine), name);
    }
    tolm::viewer::ScanResult scan() const {
        return tolm::viewer::DataDirectoryScan::scan(data.path());
    }

    QTemporaryDir data;
};
