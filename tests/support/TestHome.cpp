#include <QDir>
#include <QFile>
#include <QSettings>
#include <cstdlib>

#include "core/Config.h"
#include "tests/support/TestEnvironment.h"

namespace {
QString homeDir;
}

namespace testenv {

QString home() {
    return homeDir;
}

QString freshDirectory(const QString& name) {
    const QString path = homeDir + QLatin1Char('/') + name;
    QDir(path).removeRecursively();
    return path;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

void clearSettings() {
    QSettings s;
    s.clear();
    s.sync();
}

QString binDir() {
    return QStringLiteral(TOLM_BIN_DIR);
}

void useHome(const QString& path) {
    // Nothing of the user's: a fresh home with its own settings store and runtime directory.
    homeDir = path;
    const QByteArray h = homeDir.toLocal8Bit();
    setenv("HOME", h.constData(), 1);
    setenv("XDG_CONFIG_HOME", (h + "/.config").constData(), 1);
    setenv("XDG_DATA_HOME", (h + "/.local/share").constData(), 1);
    setenv("XDG_CACHE_HOME", (h + "/.cache").constData(), 1);
    QDir().mkpath(homeDir + QStringLiteral("/runtime"));
    QFile::setPermissions(homeDir + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("XDG_RUNTIME_DIR", (h + "/runtime").constData(), 1);
    // A temporary folder of its own, so that nothing one run leaves there meets another.
    QDir().mkpath(homeDir + QStringLiteral("/tmp"));
    setenv("TMPDIR", (h + "/tmp").constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
}

}  // namespace testenv
