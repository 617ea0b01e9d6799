#pragma once
// A fresh data directory and an empty settings store for each viewer test.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

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

    // The flights of one file, read as the selection reads them after a scan of it alone.
    QList<tolm::viewer::FlightDataElement> chooseAll(const tolm::viewer::FlightSelection& s) const {
        QList<int> rows;
        for (int i = 0; i < s.items().size(); ++i) {
            rows.append(i);
        }
        return s.accept(rows).flights;
    }

    QTemporaryDir data;
};
