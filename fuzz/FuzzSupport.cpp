#include "fuzz/FuzzSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTimeZone>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Clock.h"
#include "core/Config.h"

namespace fuzz {

namespace {

QString homePath;
// 5 March 2008 14:07:09 UTC: a fixed time, so that every run of an input writes the same files.
const QDateTime kFixedTime(QDate(2008, 3, 5), QTime(14, 7, 9), QTimeZone::utc());

void removeHome() {
    if (!homePath.isEmpty()) {
        QDir(homePath).removeRecursively();
    }
}

void setEnvironment(const char* name, const QByteArray& value) {
    setenv(name, value.constData(), 1);
}

}  // namespace

void setUp(int* argc, char*** argv) {
    // A private home per process, on the memory file system when there is one: the targets
    // write and delete files for every input.
    QByteArray base = qgetenv("TOLM_FUZZ_TMP");
    if (base.isEmpty()) {
        base = QDir(QStringLiteral("/dev/shm")).exists() ? "/dev/shm" : "/tmp";
    }
    QByteArray pattern = base + "/tolm-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("tolm fuzz: mkdtemp");
        std::abort();
    }
    homePath = QString::fromLocal8Bit(pattern);
    std::atexit(removeHome);
    setEnvironment("HOME", pattern);
    setEnvironment("XDG_CONFIG_HOME", pattern + "/.config");
    setEnvironment("XDG_RUNTIME_DIR", pattern);
    setEnvironment("TMPDIR", pattern);
    setEnvironment("TZ", "UTC");
    // Warnings of the cores would fill the fuzzer's output; findings are reported by fail().
    setEnvironment("QT_LOGGING_RULES", "tolm.*=false");

    static QCoreApplication app(*argc, *argv);
    tolm::setSettingsIdentity();
    static const tolm::ManualClock fixed(kFixedTime);
    tolm::setClock(&fixed);
    QDir().mkpath(dataDirectory());
}

QString home() {
    return homePath;
}

QString dataDirectory() {
    return homePath + QStringLiteral("/data");
}

qint64 clockSeconds() {
    return kFixedTime.toSecsSinceEpoch();
}

void fail(const char* what, const QString& detail) {
    std::fprintf(stderr, "tolm fuzz: broken invariant: %s\n", what);
    if (!detail.isEmpty()) {
        std::fprintf(stderr, "  %s\n", detail.toLocal8Bit().constData());
    }
    std::fflush(stderr);
    std::abort();
}

QStringList entriesUnder(const QString& root) {
    QStringList entries;
    const QDir base(root);
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        entries << base.relativeFilePath(it.next());
    }
    entries.sort();
    return entries;
}

void clearHome() {
    const QDir dir(homePath);
    for (const QString& name :
         dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (name == QLatin1String(".config")) {
            continue;
        }
        const QString path = dir.filePath(name);
        if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink()) {
            QDir(path).removeRecursively();
        } else {
            QFile::remove(path);
        }
    }
    QDir().mkpath(dataDirectory());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    check(
        file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
        "the fuzz target cannot write its input file", path);
}

quint8 Input::byte() {
    return at_ < size_ ? quint8(data_[at_++]) : 0;
}

quint32 Input::word() {
    quint32 v = 0;
    for (int i = 0; i < 4; ++i) {
        v |= quint32(byte()) << (8 * i);
    }
    return v;
}

QByteArray Input::field(qsizetype n) {
    const qsizetype have = std::min(n, left());
    QByteArray f(data_ + at_, have);
    at_ += have;
    f.resize(n, '\0');
    return f;
}

QByteArray Input::rest() {
    QByteArray r(data_ + at_, left());
    at_ = size_;
    return r;
}

QByteArray tiled(const QByteArray& fill, qint64 length) {
    QByteArray out(length, '\0');
    if (fill.isEmpty()) {
        return out;
    }
    for (qint64 at = 0; at < length; at += fill.size()) {
        std::memcpy(out.data() + at, fill.constData(), std::min<qint64>(fill.size(), length - at));
    }
    return out;
}

}  // namespace fuzz
