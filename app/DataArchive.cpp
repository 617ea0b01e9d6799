#include "app/DataArchive.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "core/Config.h"
#include "core/PlatformPaths.h"
#include "toolkit/UserDialogs.h"

Q_LOGGING_CATEGORY(lcArchive, "tolm.app.archive")

namespace tolm {

namespace {

struct ArchiveError {
    QString text;
};

#ifdef Q_OS_WIN
const QLatin1String kExecutableSuffix(".exe");
#else
const QLatin1String kExecutableSuffix("");
#endif

}  // namespace

DataArchive::DataArchive(QString toolDirectory) : toolDirectory_(std::move(toolDirectory)) {}

QString DataArchive::TargetName(const QString& chosen) {
    return chosen.endsWith(QLatin1String(".gz")) ? chosen : chosen + QStringLiteral(".gz");
}

QString DataArchive::CommandLine(const QString& program, const QStringList& arguments) {
    QString line = QLatin1Char('"') + program + QLatin1Char('"');
    for (const QString& argument : arguments) {
        const bool quote = argument.isEmpty() || argument.contains(QLatin1Char(' ')) ||
                           argument.contains(QLatin1Char('\t')) ||
                           argument.contains(QLatin1Char('"'));
        line += QLatin1Char(' ');
        if (quote) {
            QString escaped = argument;
            escaped.replace(QLatin1String("\""), QLatin1String("\\\""));
            line += QLatin1Char('"') + escaped + QLatin1Char('"');
        } else {
            line += argument;
        }
    }
    return line;
}

QString DataArchive::FindTool(const QString& name) const {
    const QString beside = toolDirectory_ + QLatin1Char('/') + name + kExecutableSuffix;
    const QFileInfo local(beside);
    if (local.isFile() && local.isExecutable()) {
        return beside;
    }
    const QString onPath = QStandardPaths::findExecutable(name);
    return onPath.isEmpty() ? beside : onPath;
}

bool DataArchive::RunTool(const QString& program, const QStringList& arguments) const {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted()) {
        qCWarning(lcArchive) << program << "did not start:" << process.errorString();
        return false;
    }
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qCWarning(lcArchive) << program << "failed with exit code" << process.exitCode() << ":"
                             << process.readAllStandardError();
        return false;
    }
    return true;
}

void DataArchive::Run() {
    const QString chosen =
        chooseSaveFileName(kDialogCaption, QString(), QStringLiteral("Compressed Files (*.gz)"));
    if (chosen.isEmpty()) {
        return;
    }
    // The one question before an archive is replaced, about the name it will be stored under.
    const QString target = TargetName(chosen);
    if (QFileInfo::exists(target) && !askYesNo(kDialogCaption, kOverwriteQuestion)) {
        return;
    }
    // The archive is made in a directory of this run's own, which no other user can have
    // prepared (a file or a link under a fixed name in a shared folder would be overwritten).
    QTemporaryDir work(temporaryArchiveParent() + QStringLiteral("/tolm-archive-XXXXXX"));
    const QString archive = work.filePath(QLatin1String(kTemporaryArchiveName));
    const QString compressed = archive + QStringLiteral(".gz");
    try {
        if (!work.isValid()) {
            qCWarning(lcArchive) << "no private temporary directory:" << work.errorString();
            throw ArchiveError{QStringLiteral("Failed to build archive file.: ") +
                               work.errorString()};
        }
        const QString tar = FindTool(QStringLiteral("tar"));
        const QStringList tarArguments{QStringLiteral("cvf"), archive, dataDirectory()};
        if (!RunTool(tar, tarArguments)) {
            throw ArchiveError{QStringLiteral("Failed to build archive file.: ") +
                               CommandLine(tar, tarArguments)};
        }
        const QString gzip = FindTool(QStringLiteral("gzip"));
        const QStringList gzipArguments{QStringLiteral("-f"), archive};
        if (!RunTool(gzip, gzipArguments)) {
            throw ArchiveError{QStringLiteral("Failed to compress archive file.: ") +
                               CommandLine(gzip, gzipArguments)};
        }
        if (QFile::exists(target)) {
            QFile::remove(target);
        }
        if (!QFile::rename(compressed, target)) {
            work.setAutoRemove(false);  // the archive stays where the message says
            throw ArchiveError{
                QStringLiteral("Failed to move the archive to %1. It was left in %2.")
                    .arg(target, compressed)};
        }
    } catch (const ArchiveError& error) {
        showWarning(QStringLiteral("Error"), error.text);
    }
}

}  // namespace tolm
