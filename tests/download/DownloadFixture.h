#pragma once
// A download of one engine in a private directory: an image from the simulator, a register
// entry, part numbers, a clock that moves on each reading, and the files ReformatData leaves.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cstring>

#include "core/Clock.h"
#include "core/PlatformPaths.h"
#include "download/ReformatData.h"
#include "sim/image/FlightImage.h"
#include "tests/support/TestEnvironment.h"

// Each reading is one minute later than the one before, so a second reading shows.
class SteppingClock : public tolm::Clock {
public:
    QDateTime now() const override { return start.addSecs(60 * reads++); }
    QDateTime start{QDate(2008, 3, 5), QTime(14, 7, 31)};
    mutable int reads = 0;
};

class DownloadFixture : public ::testing::Test {
protected:
    void SetUp() override {
        root = testenv::home() + QStringLiteral("/download-") +
               QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir(root).removeRecursively();
        QDir().mkpath(root);
        dataDir = root + QStringLiteral("/data");
        imagePath = root + QStringLiteral("/QUOR-4711");
        removeAll(tolm::backupImagePath());
        removeAll(tolm::backupImageFallbackPath(clock.start));
        tolm::setClock(&clock);

        aircraft.setIdentifier(QStringLiteral("HB-IJK"));
        tolm::EngineRecord engine;
        engine.setType(QStringLiteral("CFM56-7"));
        engine.setSer(QStringLiteral("123/45"));
        engine.setInstallDate(QStringLiteral("12.01.2007"));
        aircraft.setEngine(1, engine);
        const std::pair<int, const char*> pns[] = {
            {tolm::PartNumberRecord::kUnitOffset, "731-401-000-2"},
            {tolm::PartNumberRecord::kBootMainOffset, "731-410-000-1"},
            {tolm::PartNumberRecord::kMainOffset, "731-402-000-1A"},
            {tolm::PartNumberRecord::kBootDspOffset, "731-411-000-3"},
            {tolm::PartNumberRecord::kDspOffset, "731-403-000-4"},
            {tolm::PartNumberRecord::kConfigOffset, "731-406-000-4"}};
        for (const auto& [offset, text] : pns) {
            std::memcpy(parts.data() + offset, text, std::strlen(text));
        }
    }
    void TearDown() override { tolm::setClock(nullptr); }

    static void removeAll(const QString& path) {
        QDir(path).removeRecursively();
        QFile::remove(path);
    }
    void writeImage(const QByteArray& bytes) {
        QFile f(imagePath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Files the image for engine 2 and keeps what the progress and event callbacks saw.
    bool reformat(const quorsim::FlightImage& image) {
        writeImage(image.responseFile());
        return reformatFile();
    }
    bool reformatFile() {
        const tolm::ReformatResult result = tolm::ReformatData(
            imagePath, 1, aircraft, parts, dataDir,
            [this](int value, int maximum) {
                progress.push_back({value, maximum});
            },
            [this] { ++pumps; });
        notices = result.notices;
        return result.rawWritten;
    }
    QString engineDir() const { return dataDir + QStringLiteral("/HB-IJK_data/engine_2"); }
    // Path of a file of the download at 14:07 on 5 March 2008: marker "fd", "ss", "ts", "cb".
    QString filed(const char* marker, const QString& suffix = QString()) const {
        return engineDir() + QStringLiteral("/ESN012345_%1_20080305_1407%2.%3")
                                 .arg(QLatin1String(marker), suffix,
                                      QLatin1String(marker == QByteArray("fd") ? "raw" : "txt"));
    }
    // The lines of a table without their CR LF.
    static QList<QByteArray> lines(QByteArray text) {
        return text.replace("\r\n", "\n").split('\n');
    }

    SteppingClock clock;
    tolm::Notices notices;  // what the last ReformatData had to tell the user
    tolm::AircraftRecord aircraft;
    tolm::PartNumberRecord parts;
    QString root, dataDir, imagePath;
    std::vector<std::pair<int, int>> progress;
    int pumps = 0;
};
