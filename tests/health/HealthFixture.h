#pragma once
// Downloads filed as the program files them, for the engine-health tests: the simulator's images
// (which know every value) written by the download's raw-file writer under the names the
// download gives, in a fresh data directory; a flight index over it in a fresh database; and
// aircraft of the register.
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
            QStringLiteral("health-") +
            QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        data = root + QStringLiteral("/data");
        database = root + QStringLiteral("/cache/index.sqlite");
        QDir().mkpath(data);
    }

    // Files the image as the download of one engine of an aircraft at a time; returns the raw
    // file's path.
    QString file(const quorsim::FlightImage& image, const QString& aircraft, const QString& ser,
                 const QDateTime& when) const {
        tolm::ReportContext context;
        context.engineIndex = image.engineNumber() - 1;
        context.aircraft.setIdentifier(aircraft);
        tolm::EngineRecord engine;
        engine.setType(QStringLiteral("CFM56-7"));
        engine.setSer(ser);
        context.aircraft.setEngine(context.engineIndex, engine);
        context.created = when;
        tolm::FlightDataImage loaded;
        EXPECT_TRUE(loaded.assign(image.responseFile()));
        tolm::DownloadFileNames names(data, context.aircraft, context.engineIndex, when);
        names.chooseFreeName();
        QDir().mkpath(names.directory());
        EXPECT_TRUE(tolm::RawFlightFile::write(names.rawPath(), context, loaded, {}).written);
        return names.rawPath();
    }
    QString file(const quorsim::FlightImage& image, const QDateTime& when = kMarch5) const {
        return file(image, QStringLiteral("HB-IJK"), QStringLiteral("889123"), when);
    }

    static tolm::AircraftRecord aircraft(const QString& id, const QString& ser1,
                                         const QString& ser2) {
        tolm::AircraftRecord a;
        a.setIdentifier(id);
        for (int e = 0; e < 2; ++e) {
            tolm::EngineRecord engine;
            engine.setType(QStringLiteral("CFM56-7"));
            engine.setSer(e == 0 ? ser1 : ser2);
            a.setEngine(e, engine);
        }
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
        auto found = images.find(key);
        if (found == images.end()) {
            found = images.emplace(key, quorsim::FlightImage::generate(seed, engineNumber)).first;
        }
        return found->second;
    }

    // Flights in use of an image, by block.
    static QList<int> usedBlocks(const quorsim::FlightImage& image) {
        QList<int> blocks;
        for (int b = 0; b < quorsim::FlightImage::kFlightBlocks; ++b) {
            if (image.flightNumber(b) != 0) {
                blocks.append(b);
            }
        }
        return blocks;
    }

    static void cut(const QString& path, qint64 size) {
        QFile f(path);
        ASSERT_TRUE(f.resize(size));
    }
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
