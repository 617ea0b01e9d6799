#include "toolkit/ZafApplication.h"

#include <QDir>
#include <QFileInfo>

#include "toolkit/ZafDisplay.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafWindowManager.h"

namespace {
ZafApplication* instance = nullptr;

QString executablePath(const char* argv0) {
#ifdef Q_OS_LINUX
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    if (self.exists()) {
        return self.canonicalFilePath();
    }
#endif
    return QFileInfo(QString::fromLocal8Bit(argv0)).absoluteFilePath();
}
}  // namespace

ZafApplication::ZafApplication(int argc_, char** argv_)
    : argc(argc_),
      argv(argv_),
      eventManager_(std::make_unique<ZafEventManager>()),
      windowManager_(std::make_unique<ZafWindowManager>()),
      display_(std::make_unique<ZafDisplay>()) {
    for (int i = 0; i < argc; ++i) {
        arguments_ << (i == 0 ? executablePath(argv[0]) : QString::fromLocal8Bit(argv[i]));
    }
    instance = this;
}

ZafApplication::~ZafApplication() {
    windowManager_.reset();
    if (instance == this) {
        instance = nullptr;
    }
}

ZafApplication* ZafApplication::Instance() {
    return instance;
}

ZafApplication* zafApplication() {
    return instance;
}
ZafEventManager* zafEventManager() {
    return instance ? instance->EventManager() : nullptr;
}
ZafWindowManager* zafWindowManager() {
    return instance ? instance->WindowManager() : nullptr;
}
ZafDisplay* zafDisplay() {
    return instance ? instance->Display() : nullptr;
}

QStringList SplitCommandLine(const QString& commandLine) {
    QStringList words;
    QString word;
    bool quoted = false;
    bool inWord = false;
    for (const QChar c : commandLine) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (inWord) {
                words << word;
                word.clear();
                inWord = false;
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words << word;
    }
    return words;
}

int ZafEntry(int argc, char** argv, int (*main)(ZafApplication&)) {
    ZafApplication application(argc, argv);
    return main(application);
}
