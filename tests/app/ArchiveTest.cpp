// File > compress: the archive of the data directory, with real tar and gzip and with stand-ins
// that record how they were called.
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
        writeFile(data + QStringLiteral("/HB-IJK_data/engine_1/ESN889123_fd_20080305_1407.raw"),
                  "raw");
        QSettings().setValue(QStringLiteral("DataDir"), data);
        for (const QString& left : leftInTemp()) {
            QDir(temporaryArchiveParent() + QLatin1Char('/') + left).removeRecursively();
        }
    }
    // The private directories the archive was made in and left behind.
    static QStringList leftInTemp() {
        return QDir(temporaryArchiveParent())
            .entryList({QStringLiteral("tolm-archive-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    }
    // Stand-ins for tar and gzip that log their arguments and the access rights of the folder
    // of the archive they are given; tar ends with tarExit.
    QString fakeTools(int tarExit) {
        const QString dir = work.path() + QStringLiteral("/tools");
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
        QFile f(work.path() + QStringLiteral("/calls"));
        return f.open(QIODevice::ReadOnly)
                   ? QString::fromLocal8Bit(f.readAll()).split('\n', Qt::SkipEmptyParts)
                   : QStringList();
    }

    QTemporaryDir work;
    QString data;
};

}  // namespace

TEST(ArchiveName, GzIsAppendedUnlessTheNameEndsWithItExactly) {
    EXPECT_EQ(DataArchive::TargetName(QStringLiteral("/x/support")),
              QStringLiteral("/x/support.gz"));
    EXPECT_EQ(DataArchive::TargetName(QStringLiteral("/x/support.gz")),
              QStringLiteral("/x/support.gz"));
    EXPECT_EQ(DataArchive::TargetName(QStringLiteral("/x/support.GZ")),
              QStringLiteral("/x/support.GZ.gz"));
    EXPECT_EQ(DataArchive::TargetName(QStringLiteral("/x/support.tgz")),
              QStringLiteral("/x/support.tgz.gz"));
}

TEST_F(ArchiveTest, TheFileMenuArchivesADataDirectoryWithBlanksAndShellCharacters) {
    open();
    const QString target = work.path() + QStringLiteral("/support");
    writeFile(target + QStringLiteral(".gz"), "an older archive");
    dialogs.saveFileAnswers.push_back(target);
    dialogs.questionAnswers.push_back(QMessageBox::Yes);  // the older archive is replaced
    choose("PDI_FILE~PUI_FILE_COMPRESS");

    EXPECT_EQ(dialogs.fileDialogCaptions, QStringList{QStringLiteral("Save as...")});
    EXPECT_EQ(dialogs.messages, (Boxes{{MessageKind::Question, "Save as...",
                                        "File already exists. Do you want to overwrite it?"}}));
    const QStringList members = listArchive(target + QStringLiteral(".gz"));
    EXPECT_TRUE(
        members.contains(QDir(data).absolutePath().mid(1) +
                         QStringLiteral("/HB-IJK_data/engine_1/ESN889123_fd_20080305_1407.raw")))
        << qPrintable(members.join('\n'));
    EXPECT_EQ(leftInTemp(), QStringList());  // nothing is left behind
    EXPECT_FALSE(QFile::exists(QDir::currentPath() + QStringLiteral("/injected")));
    EXPECT_FALSE(QFile::exists(work.path() + QStringLiteral("/injected")));
}

TEST_F(ArchiveTest, ACancelRunsNoToolAndAFailingToolIsReportedWithItsCommandAsOneLine) {
    const QString tools = fakeTools(2);
    DataArchive(tools).Run();  // the save dialog cancelled
    EXPECT_EQ(dialogs.fileDialogCaptions.size(), 1);
    EXPECT_TRUE(calls().isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());

    dialogs.saveFileAnswers.push_back(work.path() + QStringLiteral("/support.gz"));
    DataArchive(tools).Run();
    const QStringList called = calls();
    ASSERT_EQ(called.size(), 2);  // tar and the rights of its folder; gzip never ran
    const QString archive = called[0].split(' ').value(2);
    EXPECT_TRUE(archive.startsWith(temporaryArchiveParent() + QStringLiteral("/tolm-archive-")))
        << archive.toStdString();
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Warning, "Error",
                      QStringLiteral("Failed to build archive file.: \"%1/tar\" cvf %2 \"%3\"")
                          .arg(tools, archive, data)}}));
    EXPECT_EQ(leftInTemp(), QStringList());
}

// One question, the program's, about the name the archive will have; No runs nothing.
TEST_F(ArchiveTest, AnExistingArchiveIsKeptWhenTheOneQuestionIsAnsweredNo) {
    const QString tools = fakeTools(0);
    const QString target = work.path() + QStringLiteral("/support.gz");
    writeFile(target, "an older archive");
    for (const QString& chosen : {target, work.path() + QStringLiteral("/support")}) {
        dialogs.clear();
        dialogs.saveFileAnswers.push_back(chosen);
        DataArchive(tools).Run();
        EXPECT_EQ(dialogs.messages, (Boxes{{MessageKind::Question, "Save as...",
                                            "File already exists. Do you want to overwrite it?"}}))
            << chosen.toStdString();
        EXPECT_TRUE(calls().isEmpty());
    }
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "an older archive");
}

// Under the fixed name in the shared temporary folder, another user could have put a file or a
// link to one of this user's files; the archive never goes there, and the folder it is made in
// is this user's alone.
TEST_F(ArchiveTest, TheArchiveIsMadeInAPrivateFolderOfItsOwn) {
    const QString victim = work.path() + QStringLiteral("/victim");
    writeFile(victim, "precious");
    const QString trap = temporaryArchiveParent() + QStringLiteral("/QUOR-data.tar");
    QFile::remove(trap);
    QFile::remove(trap + QStringLiteral(".gz"));
    ASSERT_TRUE(QFile::link(victim, trap));
    ASSERT_TRUE(QFile::link(victim, trap + QStringLiteral(".gz")));

    dialogs.saveFileAnswers.push_back(work.path() + QStringLiteral("/support"));
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
    QFile::remove(trap + QStringLiteral(".gz"));
}

TEST_F(ArchiveTest, AMoveThatFailsNamesTheTargetAndWhereTheArchiveWasLeft) {
    const QString target = work.path() + QStringLiteral("/no such folder/support.gz");
    dialogs.saveFileAnswers.push_back(target);
    DataArchive(work.path()).Run();  // no tools there: the system's are used
    ASSERT_EQ(dialogs.messages.size(), 1u);
    ASSERT_EQ(leftInTemp().size(), 1);
    const QString left = temporaryArchiveParent() + QLatin1Char('/') + leftInTemp()[0] +
                         QStringLiteral("/QUOR-data.tar.gz");
    EXPECT_EQ(dialogs.last().title, QStringLiteral("Error"));
    EXPECT_EQ(
        dialogs.last().text,
        QStringLiteral("Failed to move the archive to %1. It was left in %2.").arg(target, left));
    EXPECT_FALSE(listArchive(left).isEmpty());
    QDir(QFileInfo(left).absolutePath()).removeRecursively();
}
