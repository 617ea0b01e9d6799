// File > compress: the archive of the data directory, with real tar and gzip and with stand-ins.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "app/DataArchive.h"
#include "core/PlatformPaths.h"
#include "tests/app/MainWindowFixture.h"

using namespace tolm;

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// The member names of a .tar.gz, as tar lists them.
QStringList listArchive(const QString& path) {
    QProcess tar;
    tar.start(QStringLiteral("tar"), {QStringLiteral("tzf"), path});
    tar.waitForFinished(-1);
    return QString::fromLocal8Bit(tar.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

class ArchiveTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        // A path with blanks and shell characters, which the archive must survive as it is.
        data = work.path() + QStringLiteral("/flight data;$(touch injected)");
        writeFile(data + "/HB-IJK_data/engine_1/ESN889123_fd_20080305_1407.raw", "raw");
        QSettings().setValue("DataDir", data);
        for (const QString& left : leftInTemp()) {
            QDir(temporaryArchiveParent() + QLatin1Char('/') + left).removeRecursively();
        }
    }
    // The private directories the archive was made in and left behind.
    static QStringList leftInTemp() {
        return QDir(temporaryArchiveParent())
            .entryList({QStringLiteral("tolm-archive-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    }
    // Stand-ins for tar and gzip logging their arguments and the rights of the archive's folder.
    QString fakeTools(int tarExit) {
        const QString dir = work.path() + "/tools";
        for (const auto& [name, code] : {std::pair{"tar", tarExit}, std::pair{"gzip", 0}}) {
            const QString script = dir + QLatin1Char('/') + QLatin1String(name);
            writeFile(script, QStringLiteral("#!/bin/sh\necho \"%1 $*\" >> \"%2/calls\"\n"
                                             "stat -c %a \"$(dirname \"$2\")\" >> \"%2/calls\"\n"
                                             "exit %3\n")
                                  .arg(QLatin1String(name), work.path(), QString::number(code))
                                  .toLocal8Bit());
            QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        return dir;
    }
    QStringList calls() const {
        QFile f(work.path() + "/calls");
        return f.open(QIODevice::ReadOnly)
                   ? QString::fromLocal8Bit(f.readAll()).split('\n', Qt::SkipEmptyParts)
                   : QStringList();
    }

    QTemporaryDir work;
    QString data;
};

const ShownMessage kOverwrite{MessageKind::Question, "Save as...",
                              "File already exists. Do you want to overwrite it?"};

}  // namespace

TEST_F(ArchiveTest, TheFileMenuArchivesADataDirectoryWithBlanksAndShellCharacters) {
    open();
    const QString target = work.path() + "/support";
    writeFile(target + ".gz", "an older archive");
    dialogs.saveFileAnswers.push_back(target);
    dialogs.questionAnswers.push_back(QMessageBox::Yes);  // the older archive is replaced
    choose("PDI_FILE~PUI_FILE_COMPRESS");

    EXPECT_EQ(dialogs.fileDialogCaptions, QStringList{"Save as..."});
    EXPECT_EQ(dialogs.messages, Boxes{kOverwrite});
    const QStringList members = listArchive(target + ".gz");
    EXPECT_TRUE(members.contains(QDir(data).absolutePath().mid(1) +
                                 "/HB-IJK_data/engine_1/ESN889123_fd_20080305_1407.raw"))
        << qPrintable(members.join('\n'));
    EXPECT_EQ(leftInTemp(), QStringList());  // nothing is left behind
    EXPECT_FALSE(QFile::exists(QDir::currentPath() + "/injected"));
    EXPECT_FALSE(QFile::exists(work.path() + "/injected"));
}

TEST_F(ArchiveTest, ACancelOrANoRunsNoToolAndAFailingToolIsReportedWithItsCommandAsOneLine) {
    const QString tools = fakeTools(2);
    DataArchive(tools).Run();  // the save dialog cancelled
    EXPECT_EQ(dialogs.fileDialogCaptions.size(), 1);
    EXPECT_TRUE(calls().isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());

    // One question, the program's, about the name the archive will have; No runs nothing. ".gz"
    // is appended unless the name ends with it exactly.
    EXPECT_EQ(DataArchive::TargetName("/x/support"), "/x/support.gz");
    EXPECT_EQ(DataArchive::TargetName("/x/support.gz"), "/x/support.gz");
    EXPECT_EQ(DataArchive::TargetName("/x/support.GZ"), "/x/support.GZ.gz");
    EXPECT_EQ(DataArchive::TargetName("/x/support.tgz"), "/x/support.tgz.gz");
    const QString target = work.path() + "/support.gz";
    writeFile(target, "an older archive");
    for (const QString& chosen : {target, work.path() + "/support"}) {
        dialogs.clear();
        dialogs.saveFileAnswers.push_back(chosen);
        DataArchive(tools).Run();
        EXPECT_EQ(dialogs.messages, Boxes{kOverwrite}) << chosen.toStdString();
        EXPECT_TRUE(calls().isEmpty());
    }
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "an older archive");

    dialogs.clear();
    dialogs.saveFileAnswers.push_back(work.path() + "/other.gz");
    DataArchive(tools).Run();
    const QStringList called = calls();
    ASSERT_EQ(called.size(), 2);  // tar and the rights of its folder; gzip never ran
    const QString archive = called[0].split(' ').value(2);
    EXPECT_TRUE(archive.startsWith(temporaryArchiveParent() + "/tolm-archive-"))
        << archive.toStdString();
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Warning, "Error",
                      QStringLiteral("Failed to build archive file.: \"%1/tar\" cvf %2 \"%3\"")
                          .arg(tools, archive, data)}}));
    EXPECT_EQ(leftInTemp(), QStringList());
}

// A move that fails names the target and where the archive was left.
TEST_F(ArchiveTest, AMoveThatFailsLeavesTheArchiveInAPrivateFolderOfItsOwn) {
    const QString target = work.path() + "/no such folder/support.gz";
    dialogs.saveFileAnswers.push_back(target);
    DataArchive(work.path()).Run();  // no tools there: the system's are used
    ASSERT_EQ(leftInTemp().size(), 1);
    const QString left = temporaryArchiveParent() + '/' + leftInTemp()[0] + "/QUOR-data.tar.gz";
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Warning, "Error",
                      QStringLiteral("Failed to move the archive to %1. It was left in %2.")
                          .arg(target, left)}}));
    EXPECT_FALSE(listArchive(left).isEmpty());
    QDir(QFileInfo(left).absolutePath()).removeRecursively();

    // Another user could have put a link to this user's files under the fixed name in the shared
    // temporary folder; the archive never goes there, but into a folder of this user's alone.
    const QString victim = work.path() + "/victim";
    writeFile(victim, "precious");
    const QString trap = temporaryArchiveParent() + "/QUOR-data.tar";
    QFile::remove(trap);
    QFile::remove(trap + ".gz");
    ASSERT_TRUE(QFile::link(victim, trap));
    ASSERT_TRUE(QFile::link(victim, trap + ".gz"));

    dialogs.saveFileAnswers.push_back(work.path() + "/support");
    DataArchive(fakeTools(0)).Run();
    const QStringList called = calls();
    ASSERT_EQ(called.size(), 4);
    EXPECT_NE(called[0].split(' ').value(2), trap);
    EXPECT_EQ(called[1], QStringLiteral("700"));  // tar's folder
    EXPECT_EQ(called[3], QStringLiteral("700"));  // gzip's
    QFile kept(victim);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "precious");
    QFile::remove(trap);
    QFile::remove(trap + ".gz");
}
