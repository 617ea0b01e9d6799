#pragma once
// A fresh data directory and an empty settings store for each viewer test.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "tests/support/TestEnvironment.h"
#include "tests/viewer/TestRawFile.h"
#include "viewer/DataDirectoryScan.h"
#include "viewer/FlightSelection.h"

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
