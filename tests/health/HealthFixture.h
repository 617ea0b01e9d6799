#pragma once
// The simulator's images (which know every value) filed by the download's raw-file writer under
// its names in a fresh data directory, a fresh index database, and aircraft of the register.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <map>

#include "download/FlightDataImage.h"
#include "download/RawFlightFile.h"
#include "formats/DownloadFileNames.h"
#include "health/FlightIndex.h"
#include "register/TolmAircraftSettings.h"
#include "sim/image/FlightImage.h"
#include "tests/support/TestEnvironment.h"

class HealthTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = testenv::freshDirectory(
            "health-" +
            QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        data = root + "/data";
        database = root + "/cache/index.sqlite";
        QDir().mkpath(data);
    }

    // Files the image as the download of one engine of an aircraft; returns the raw file's path.
    QString file(const quorsim::FlightImage& image, const QDateTime& when = kMarch5,
                 const QString& aircraft = "HB-IJK", const QString& ser = "889123") const {
        tolm::ReportContext context;
        context.engineIndex = image.engineNumber() - 1;
        context.aircraft.setIdentifier(aircraft);
        context.aircraft.setEngine(context.engineIndex, engine(ser));
        context.created = when;
        tolm::FlightDataImage loaded;
        EXPECT_TRUE(loaded.assign(image.responseFile()));
        tolm::DownloadFileNames names(data, context.aircraft, context.engineIndex, when);
        names.chooseFreeName();
        QDir().mkpath(names.directory());
        EXPECT_TRUE(tolm::RawFlightFile::write(names.rawPath(), context, loaded, {}).written);
        return names.rawPath();
    }

    static tolm::EngineRecord engine(const QString& ser) {
        tolm::EngineRecord e;
        e.setType("CFM56-7");
        e.setSer(ser);
        return e;
    }
    static tolm::AircraftRecord aircraft(const QString& id, const QString& ser1,
                                         const QString& ser2) {
        tolm::AircraftRecord a;
        a.setIdentifier(id);
        a.setEngine(0, engine(ser1));
        a.setEngine(1, engine(ser2));
        return a;
    }
    static void registerAircraft(const QString& id, const QString& ser1, const QString& ser2) {
        tolm::AircraftRecord a = aircraft(id, ser1, ser2);
        tolm::TolmAircraftSettings().storeAircraft(id, a);
    }

    // The simulator's image of a seed, generated once per test program.
    static const quorsim::FlightImage& generated(quint32 seed, int engineNumber) {
        static std::map<std::pair<quint32, int>, quorsim::FlightImage> images;
        const auto key = std::pair(seed, engineNumber);
        if (!images.contains(key)) {
            images.emplace(key, quorsim::FlightImage::generate(seed, engineNumber));
        }
        return images.at(key);
    }

    static QList<int> usedBlocks(const quorsim::FlightImage& image) {
        QList<int> blocks;
        for (int b = 0; b < quorsim::FlightImage::kFlightBlocks; ++b) {
            if (image.flightNumber(b) != 0) {
                blocks.append(b);
            }
        }
        return blocks;
    }

    static void cut(const QString& path, qint64 size) { ASSERT_TRUE(QFile::resize(path, size)); }
    // Writes the bytes into the file at the offset, making the file if there is none.
    static void patch(const QString& path, qint64 at, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(at));
        f.write(bytes);
    }

    static inline const QDateTime kMarch5{QDate(2008, 3, 5), QTime(14, 7), Qt::UTC};
    static inline const QDateTime kApril9{QDate(2008, 4, 9), QTime(9, 30), Qt::UTC};

    QString root;
    QString data;
    QString database;
};
