// ReformatData for one engine: where the files go, the image and its backup, every failure box.
#include <QCryptographicHash>
#include <QFileInfo>
#include <optional>

#include "formats/DownloadFileNames.h"
#include "tests/download/DownloadFixture.h"
#include "tests/support/CommaDecimalLocale.h"

using quorsim::FlightImage;

namespace {
const QString kTitle = QStringLiteral("BRIXAutoDownload::ReformatData");
}

class ReformatDataTest : public DownloadFixture {
protected:
    void expectOneCritical(const QString& text) {
        EXPECT_EQ(notices, tolm::Notices{tolm::Notice::critical(kTitle, text)});
    }
};

TEST_F(ReformatDataTest, FilesRawFileAndTablesThenLetsTheImageGoAndNeverOverwritesThem) {
    const FlightImage image = FlightImage::generate(11, 2);
    ASSERT_TRUE(reformat(image));
    EXPECT_TRUE(notices.empty());
    // SER "123/45" is filed as 012345; nothing temporary is left beside the files.
    EXPECT_EQ(QDir(engineDir()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              QStringList({"ESN012345_cb_20080305_1407.txt", "ESN012345_fd_20080305_1407.raw",
                           "ESN012345_ss_20080305_1407.txt", "ESN012345_ts_20080305_1407.txt"}));
    EXPECT_EQ(testenv::fileBytes(tolm::backupImagePath()), image.responseFile());
    EXPECT_FALSE(QFileInfo::exists(imagePath));
    EXPECT_EQ(clock.reads, 1);
    EXPECT_EQ(progress,
              (std::vector<std::pair<int, int>>{{0, 100}, {33, 100}, {66, 100}, {100, 100}}));
    EXPECT_EQ(pumps, 20 + 3);  // after each data block and each table

    // Later downloads in the same minute never overwrite earlier files.
    const QByteArray first = testenv::fileBytes(filed("fd"));
    const QByteArray firstTable = testenv::fileBytes(filed("ss"));
    clock.reads = 0;
    ASSERT_TRUE(reformat(FlightImage::generate(2, 2)));
    // A table left behind alone also holds its name, even as a link to nothing.
    ASSERT_TRUE(QFile::link(root + QStringLiteral("/nowhere"), filed("cb", QStringLiteral("_3"))));
    clock.reads = 0;
    ASSERT_TRUE(reformat(FlightImage::generate(3, 2)));

    EXPECT_EQ(testenv::fileBytes(filed("fd")), first);
    EXPECT_EQ(testenv::fileBytes(filed("ss")), firstTable);
    for (const QString& suffix : {QStringLiteral("_2"), QStringLiteral("_4")}) {
        for (const char* marker : {"fd", "ss", "ts", "cb"}) {
            EXPECT_TRUE(QFileInfo::exists(filed(marker, suffix))) << marker << suffix.toStdString();
        }
    }
    EXPECT_NE(testenv::fileBytes(filed("fd", QStringLiteral("_2"))), first);
    EXPECT_FALSE(QFileInfo::exists(filed("fd", QStringLiteral("_3"))));
    EXPECT_TRUE(testenv::fileBytes(filed("ts", QStringLiteral("_2")))
                    .contains("ESN012345_ts_20080305_1407_2.txt"));
}

// A missing or short image, or an identifier that would leave the data directory: one box, and
// nothing is filed; an image that was read stays in the backup.
TEST_F(ReformatDataTest, ARefusedImageIsReportedAndNothingIsFiled) {
    EXPECT_FALSE(reformatFile());
    expectOneCritical(QStringLiteral("Raw data file not found."));
    EXPECT_FALSE(QFileInfo::exists(tolm::backupImagePath()));

    QByteArray bytes = FlightImage::generate(4, 2).responseFile();
    bytes.chop(1);
    writeImage(bytes);
    EXPECT_FALSE(reformatFile());
    expectOneCritical(QStringLiteral(
        "Uploaded flight data file is too short: 2876628 bytes expected, 2876627 bytes received."));
    EXPECT_EQ(testenv::fileBytes(tolm::backupImagePath()), bytes);

    writeImage(bytes.left(12));  // a response without a single block
    EXPECT_FALSE(reformatFile());
    expectOneCritical(QStringLiteral(
        "Uploaded flight data file is too short: 2876628 bytes expected, 12 bytes received."));
    EXPECT_FALSE(QFileInfo::exists(dataDir));

    aircraft.setIdentifier(QStringLiteral("../escape"));
    const FlightImage image = FlightImage::generate(3, 2);
    EXPECT_FALSE(reformat(image));
    expectOneCritical(QStringLiteral("Invalid aircraft ID \"../escape\""));
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/escape_data")));
    EXPECT_EQ(testenv::fileBytes(tolm::backupImagePath()), image.responseFile());
}

TEST_F(ReformatDataTest, BackupThatCannotBeRemovedGivesWayToTheTimeStampedName) {
    QDir().mkpath(tolm::backupImagePath() + QStringLiteral("/kept"));
    const FlightImage image = FlightImage::generate(5, 2);
    ASSERT_TRUE(reformat(image));
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(
        testenv::fileBytes(testenv::home() + QStringLiteral("/quor-image-20080305140731.dat")),
        image.responseFile());
}

TEST_F(ReformatDataTest, WithoutBackupTheImageStaysUntilTheRawFileIsWritten) {
    QDir().mkpath(tolm::backupImagePath() + QStringLiteral("/kept"));
    QDir().mkpath(tolm::backupImageFallbackPath(clock.start) + QStringLiteral("/kept"));
    // The data directory is a file: nothing can be filed under it.
    writeImage("");
    QFile::rename(imagePath, dataDir);
    writeImage(FlightImage::generate(6, 2).responseFile());

    EXPECT_FALSE(reformatFile());
    const tolm::Notice backupFailed = tolm::Notice::warning(
        kTitle, "Failed to copy raw data file to " + tolm::backupImageFallbackPath(clock.start));
    EXPECT_EQ(notices,
              (tolm::Notices{backupFailed,
                             tolm::Notice::critical(kTitle, "Failed to create data directory")}));
    EXPECT_TRUE(QFileInfo::exists(imagePath));

    QFile::remove(dataDir);
    clock.reads = 0;
    EXPECT_TRUE(reformatFile());
    EXPECT_EQ(notices, tolm::Notices{backupFailed});  // the backup warning again, nothing else
    EXPECT_FALSE(QFileInfo::exists(imagePath));
}

TEST(DownloadFileNames, SerIsReadWithoutSlashesAndAnythingElseIsZero) {
    EXPECT_EQ(tolm::DownloadFileNames::serNumber("889123"), 889123);
    EXPECT_EQ(tolm::DownloadFileNames::serNumber("12/3/4"), 1234);
    EXPECT_EQ(tolm::DownloadFileNames::serNumber(""), 0);
    EXPECT_EQ(tolm::DownloadFileNames::serNumber("12A"), 0);
}

// Seeded images' files pinned by SHA-256 as written before the download code was reorganised: a
// single byte changed fails here. Also in a comma-decimal locale (a German or French station).
TEST_F(ReformatDataTest, SeededImagesFileTheSameBytesAsBeforeInAnyLocale) {
    struct Golden {
        quint32 seed;
        const char* digests[4];  // raw file, steady-state, transient and Campbell tables
    };
    const Golden golden[] = {
        {1,
         {"765ed218eaa3d1eaa87c8de7d246feb756b4e37208fd4c64bd4024657d4333d7",
          "d0c3bd2cdef9bd0e3c4a56eca8fca2f75ec47b82e3331ac8e68e6c51e131a150",
          "cbaf3184736b40a52684b19712ae1bf29374881157e62c20e3c64d040a6738b7",
          "f0166702449e13bed80d6f332b9fea941efb20d5e975643adff2a7519deef412"}},
        {7,
         {"86968e5a73eca51d71eb2078b2a895751e4d608ed53435147f04a7c863a5306d",
          "b5fe038717d5dd576cc2e3b0b5e55c922b53ed805adc4d164efb0cf1f9a2eb01",
          "0e78a9498c4ebdefb40a682e5ae91858bc51345a2ab7045c6d59c029095ece06",
          "fab5a72a8f8784ecadb73802204580f7955889faba45a5582681c291bdad90aa"}},
        {2008,
         {"d824e66172fa6b709610140fbcc9bddad7f1b511262f10b3f20b82264536c301",
          "ef85a32f4ff75b84ec34eed4cf2d97f77cea505711e2b3e604e94f9c95ae82fb",
          "41c8b4e0e8b2e6cd305331958a5ef6a1dffb8bcd784dab0f780dea122b49be90",
          "0d65490a0dd0b450467a0c5e1a36d65bab018d36a2b0a9ed8d113b74b7ff1259"}},
    };
    const char* const markers[] = {"fd", "ss", "ts", "cb"};
    for (const bool comma : {false, true}) {
        std::optional<CommaDecimalLocale> locale;
        if (comma) {
            locale.emplace();
            ASSERT_TRUE(CommaDecimalLocale::active());
        }
        for (const Golden& g : golden) {
            clock.reads = 0;
            ASSERT_TRUE(reformat(FlightImage::generate(g.seed, 2)));
            for (int i = 0; i < 4; ++i) {
                const QByteArray digest = QCryptographicHash::hash(
                    testenv::fileBytes(filed(markers[i])), QCryptographicHash::Sha256);
                EXPECT_EQ(digest.toHex(), QByteArray(g.digests[i]))
                    << g.seed << markers[i] << (comma ? " comma-decimal locale" : "");
                QFile::remove(filed(markers[i]));
            }
        }
    }
}
