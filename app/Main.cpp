#include "app/Main.h"

#include <QApplication>
#include <QFont>
#include <QPointer>

#include "app/BRIXWindow.h"
#include "app/EventLoop.h"
#include "core/Config.h"
#include "core/PlatformPaths.h"
#include "toolkit/PumpEvents.h"
#include "toolkit/UserDialogs.h"
#include "toolkit/UserPersist.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafStorage.h"
#include "toolkit/ZafWindowManager.h"

namespace tolm {

namespace {

UserPersist* tolmReader = nullptr;

bool openStorage(ZafStorage& storage) {
    if (storage.Error()) {
        showCritical(QStringLiteral("Error"),
                     storage.FileName() + QStringLiteral(" could not be found."));
        return false;
    }
    return true;
}

}  // namespace

UserPersist* tolmResourceReader() {
    return tolmReader;
}

void setTolmResourceReader(UserPersist* reader) {
    tolmReader = reader;
}

int RunProgram(ZafApplication& application, const QString& resourceDirectory) {
    QFont boxFont(QStringLiteral("Helvetica [Cronyx]"), 11, QFont::Bold, true);
    QApplication::setFont(boxFont, "QMessageBox");

    auto tolmStorage =
        std::make_unique<ZafStorage>(resourceDirectory + QStringLiteral("/Tolm.znc"));
    if (!openStorage(*tolmStorage)) {
        return 1;
    }
    auto quorStorage =
        std::make_unique<ZafStorage>(resourceDirectory + QStringLiteral("/QUOR.znc"));
    if (!openStorage(*quorStorage)) {
        return 1;
    }

    auto tolmPersist = std::make_unique<UserPersist>(tolmStorage.get());
    tolmReader = tolmPersist.get();
    auto quorPersist = std::make_unique<UserPersist>(quorStorage.get());
    application.SetDefaultReader(quorPersist.get());

    // The window manager owns the main window and deletes it when it closes.
    // NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks)
    QPointer<BRIXWindow> mainWindow = new BRIXWindow();
    application.WindowManager()->Add(mainWindow);
    PumpEvents();
    // The first look for the unit; its outcome only sets the main window's link flags.
    if (mainWindow) {
        mainWindow->EstablishUnitLink();
    }

    EventLoop loop(*application.EventManager(), *application.WindowManager());
    loop.Run();

    // The main window is gone already: the window manager destroyed it when it closed.
    application.SetDefaultReader(nullptr);
    quorPersist.reset();
    tolmReader = nullptr;
    tolmPersist.reset();
    quorStorage.reset();
    tolmStorage.reset();
    return 0;
}
// NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)

int Main(ZafApplication& application) {
    QApplication qt(application.argc, application.argv);
    setSettingsIdentity();
    const int rc = RunProgram(application, executableDirectory());
    QApplication::setFont(QFont(), "QMessageBox");
    return rc;
}

}  // namespace tolm
