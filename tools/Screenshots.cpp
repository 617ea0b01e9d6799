// tolm-screenshots: the program as Main runs it, walked through by itself: every page of the main
// window, its dialogs, the viewer's and the engine-health windows are saved as PNG pictures
// (QWidget::grab) in the folder $TOLM_SCREENSHOT_DIR, and every shown control that is smaller than
// its minimum size or cut off by the widget around it is printed, so that a squeezed form shows
// without looking. scripts/screenshots.sh runs it against the simulated unit with a settings store
// of its own. Arguments are the program's (e.g. -l1 -pvrkzt for the Administrator's pages).
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <functional>

#include "app/BRIXWindow.h"
#include "app/Main.h"
#include "core/Config.h"
#include "core/PlatformPaths.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafWindowManager.h"

namespace {

QString outputDirectory;
int problems = 0;

tolm::BRIXWindow* mainWindow() {
    ZafWindowManager* windows = zafWindowManager();
    return windows ? qobject_cast<tolm::BRIXWindow*>(windows->Get(QStringLiteral("BRIXWindow")))
                   : nullptr;
}

// The window in front: a modal dialog or message box first, else the front top-level window.
QWidget* front() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    ZafWindowManager* windows = zafWindowManager();
    return windows ? windows->Front() : nullptr;
}

// A top-level window of the program by its identifier, if it is open.
QWidget* window(const char* identifier) {
    ZafWindowManager* windows = zafWindowManager();
    return windows ? windows->Get(QLatin1String(identifier)) : nullptr;
}

// True when the widget and every widget around it up to `top` are shown.
bool shown(const QWidget* w, const QWidget* top) {
    for (; w && w != top; w = w->parentWidget()) {
        if (w->isHidden()) {
            return false;
        }
    }
    return true;
}

// Shown controls smaller than their minimum size hint, or reaching out of a widget around them
// (a scroll area's contents may do that: they scroll).
void reportSqueezed(const QString& picture, QWidget* top) {
    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!shown(w, top) || w->isWindow() || w->objectName().isEmpty() ||
            w->objectName().startsWith(QLatin1String("qt_"))) {
            continue;  // hidden, or a part of a Qt widget
        }
        const QSize least = w->minimumSizeHint();
        const QSizePolicy policy = w->sizePolicy();
        const bool tooLow = least.height() > 0 && w->height() < least.height() &&
                            policy.verticalPolicy() != QSizePolicy::Ignored;
        const bool tooNarrow = least.width() > 0 && w->width() < least.width() &&
                               policy.horizontalPolicy() != QSizePolicy::Ignored;
        if (tooLow || tooNarrow) {
            ++problems;
            std::printf("%s: %s \"%s\" is %dx%d, needs at least %dx%d\n", qPrintable(picture),
                        w->metaObject()->className(), qPrintable(w->objectName()), w->width(),
                        w->height(), least.width(), least.height());
        }
        QWidget* parent = w->parentWidget();
        if (parent && parent != top && !qobject_cast<QScrollArea*>(parent->parentWidget()) &&
            !parent->rect().contains(w->geometry())) {
            ++problems;
            std::printf("%s: %s \"%s\" at %d,%d %dx%d reaches out of %s \"%s\" (%dx%d)\n",
                        qPrintable(picture), w->metaObject()->className(),
                        qPrintable(w->objectName()), w->x(), w->y(), w->width(), w->height(),
                        parent->metaObject()->className(), qPrintable(parent->objectName()),
                        parent->width(), parent->height());
        }
    }
}

void shoot(const QString& name, QWidget* window = nullptr) {
    if (!window) {
        window = front();
    }
    if (!window) {
        std::printf("%s: no window\n", qPrintable(name));
        ++problems;
        return;
    }
    window = window->window();
    const QString file = outputDirectory + QLatin1Char('/') + name + QStringLiteral(".png");
    window->grab().save(file);
    std::printf("%s: %s \"%s\" %dx%d\n", qPrintable(file), window->metaObject()->className(),
                qPrintable(window->objectName()), window->width(), window->height());
    // Qt's own dialogs are laid out by Qt.
    if (!qobject_cast<QFileDialog*>(window) && !qobject_cast<QInputDialog*>(window) &&
        !qobject_cast<QMessageBox*>(window)) {
        reportSqueezed(name, window);
    }
}

void key(int virtualKey, QWidget* target = nullptr) {
    if (!target) {
        target = front();
    }
    auto* window = qobject_cast<ZafWindow*>(target);
    zafEventManager()->Put(ZafEventStruct::rawKeyDown(virtualKey, window));
}

// Chooses a menu item of a window as the user would, after this step has returned (the item
// may run a modal dialog).
void choose(ZafWindow* window, const char* item) {
    QAction* action = window ? window->Get(QLatin1String(item)).as<QAction>() : nullptr;
    if (!action) {
        std::printf("no menu item %s\n", item);
        ++problems;
        return;
    }
    QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
}

void click(QWidget* window, const char* button) {
    auto* zaf = qobject_cast<ZafWindow*>(window);
    QAbstractButton* b = zaf ? zaf->Get(QLatin1String(button)).as<QAbstractButton>() : nullptr;
    if (!b) {
        std::printf("no button %s\n", button);
        ++problems;
        return;
    }
    QMetaObject::invokeMethod(b, &QAbstractButton::click, Qt::QueuedConnection);
}

// Closes the dialog in front: a Qt dialog is rejected, a toolkit dialog closed.
void closeFront() {
    QWidget* w = front();
    if (auto* dialog = qobject_cast<QDialog*>(w)) {
        dialog->reject();
    } else if (auto* zaf = qobject_cast<ZafDialogWindow*>(w)) {
        zaf->EndModal(S_CLOSE);
    }
}

struct Step {
    int waitMs;  // before the step
    std::function<void()> run;
};

// The walk through the program; each step runs from a timer, so it also runs while a modal
// dialog that an earlier step opened is running.
std::deque<Step> walk() {
    using namespace tolm;
    std::deque<Step> s;
    const auto page = [&s](const char* name, int vk) {
        s.push_back({300, [vk] { key(vk, mainWindow()); }});
        s.push_back({700, [name] { shoot(QLatin1String(name)); }});
    };
    const auto menuDialog = [&s](const char* name, const char* item) {
        s.push_back({300, [item] { choose(mainWindow(), item); }});
        s.push_back({700, [name] { shoot(QLatin1String(name)); }});
        s.push_back({200, [] { closeFront(); }});
    };
    s.push_back({2500, [] { shoot(QStringLiteral("01-title"), mainWindow()); }});
    page("02-main-menu", VK::F5);
    // Download: the aircraft dialog, then the download dialog while it runs and when done.
    page("03-download-aircraft", VK::F5);
    s.push_back({200, [] { key(VK::F5); }});
    s.push_back({300, [] { shoot(QStringLiteral("04-download-running")); }});
    s.push_back({8000, [] { shoot(QStringLiteral("05-download-done")); }});
    s.push_back({200, [] { key(VK::F5); }});
    // Clear Memory with one store ticked, and its erase dialog once it has ended.
    page("06-clear-memory", VK::F7);
    s.push_back({200, [] {
                     if (ZafWindow* p = mainWindow()->CurrentPage()) {
                         if (auto* box = p->findChild<QCheckBox*>()) {
                             box->setChecked(true);
                         }
                     }
                 }});
    s.push_back({200, [] { key(VK::F5, mainWindow()); }});
    s.push_back({4000, [] { shoot(QStringLiteral("07-erase")); }});
    s.push_back({200, [] { key(VK::F5); }});
    s.push_back({500, [] { shoot(QStringLiteral("08-after-erase")); }});
    s.push_back({200, [] { key(VK::Escape, mainWindow()); }});
    page("09-aircraft-information", VK::F6);
    s.push_back({200, [] { key(VK::Escape, mainWindow()); }});
    page("10-utilities-download", VK::F9);
    for (int tab = 1; tab <= 2; ++tab) {
        s.push_back({300, [tab] {
                         ZafWindow* p = mainWindow()->CurrentPage();
                         if (auto* notebook = p ? p->findChild<QTabWidget*>() : nullptr) {
                             notebook->setCurrentIndex(tab);
                         }
                     }});
        s.push_back({500, [tab] {
                         shoot(tab == 1 ? QStringLiteral("11-utilities-communications")
                                        : QStringLiteral("12-utilities-firmware"));
                     }});
    }
    s.push_back({200, [] { key(VK::Escape, mainWindow()); }});
    menuDialog("13-add-aircraft", "PDI_AIRCRAFT_INFO~PUI_AI_ADD");
    menuDialog("14-remove-aircraft", "PDI_AIRCRAFT_INFO~PUI_AI_REMOVE");
    menuDialog("15-import-aircraft", "PDI_AIRCRAFT_INFO~PUI_AI_IMPORT");
    menuDialog("16-add-engine-type", "PDI_AIRCRAFT_INFO~PUI_AI_ADD_ENGINE_TYPE");
    menuDialog("17-remove-engine-type", "PDI_AIRCRAFT_INFO~PUI_AI_REMOVE_ENGINE_TYPE");
    // Change Password: the current password first, then the form for the new one.
    s.push_back({300, [] { choose(mainWindow(), "PDI_PRIVILEGE~PUI_PRIV_CHANGE_PASSWD"); }});
    s.push_back({700, [] { shoot(QStringLiteral("18-change-password-current")); }});
    s.push_back({200, [] {
                     if (auto* input = qobject_cast<QInputDialog*>(front())) {
                         input->setTextValue(QStringLiteral("vrkzt"));
                         input->accept();
                     }
                 }});
    s.push_back({700, [] { shoot(QStringLiteral("19-change-password")); }});
    s.push_back({200, [] { closeFront(); }});
    menuDialog("20-about", "PDI_HELP~PUI_HELP_ABOUT");
    menuDialog("21-compress", "PDI_FILE~PUI_FILE_COMPRESS");
    // The viewer: the selection with three flights chosen, the plot, its set-up and tabulation.
    page("22-viewer-selection", VK::F8);
    s.push_back({300, [] {
                     auto* list =
                         front() ? front()->findChild<QListWidget*>(QStringLiteral("FLIGHT_LIST"))
                                 : nullptr;
                     for (int row = 0; list && row < 3 && row < list->count(); ++row) {
                         list->item(row)->setSelected(true);
                     }
                 }});
    s.push_back({300, [] { shoot(QStringLiteral("23-viewer-selection-chosen")); }});
    s.push_back({200, [] { click(front(), "B_OK"); }});
    s.push_back({1500, [] { shoot(QStringLiteral("24-viewer-plot")); }});
    s.push_back({200, [] { choose(qobject_cast<ZafWindow*>(front()), "PDI_SETUP~PUI_DISPLAY"); }});
    s.push_back({700, [] { shoot(QStringLiteral("25-viewer-setup")); }});
    s.push_back({200, [] { closeFront(); }});
    s.push_back({300, [] { choose(qobject_cast<ZafWindow*>(front()), "PDI_DATA~PUI_TABULATE"); }});
    s.push_back({700, [] { shoot(QStringLiteral("26-viewer-tabulation")); }});
    s.push_back({200, [] {
                     for (QWidget* w : QApplication::topLevelWidgets()) {
                         if (w->isVisible() && w != mainWindow()) {
                             w->close();
                         }
                     }
                 }});
    // Engine health: the fleet status page, then the trend of its first row's engine.
    s.push_back({300, [] { choose(mainWindow(), "PDI_FILE~PUI_FILE_FLEET_STATUS"); }});
    s.push_back(
        {1500, [] { shoot(QStringLiteral("27-health-status"), window("FleetStatusWindow")); }});
    s.push_back({200, [] {
                     QWidget* status = window("FleetStatusWindow");
                     if (auto* table =
                             status ? status->findChild<QTableWidget*>(QStringLiteral("E_STATUS"))
                                    : nullptr) {
                         Q_EMIT table->cellDoubleClicked(0, 0);
                     }
                 }});
    s.push_back({1500, [] { shoot(QStringLiteral("28-health-trend"), window("TrendWindow")); }});
    s.push_back({200, [] {
                     for (QWidget* w : QApplication::topLevelWidgets()) {
                         if (w->isVisible() && w != mainWindow()) {
                             w->close();
                         }
                     }
                 }});
    // The login: Flight Line first, then Administrator asks for the password.
    s.push_back({500, [] { choose(mainWindow(), "PDI_PRIVILEGE~PUI_PRIV_FLIGHTLINE"); }});
    menuDialog("29-privilege-login", "PDI_PRIVILEGE~PUI_PRIV_ADMINISTRATOR");
    s.push_back({500, [] { shoot(QStringLiteral("30-main-menu-flight-line"), mainWindow()); }});
    s.push_back(
        {300, [] { zafEventManager()->Put(ZafEventStruct(S_CLOSE, nullptr, mainWindow())); }});
    return s;
}

std::deque<Step> steps;

void next() {
    if (steps.empty()) {
        return;
    }
    const Step step = steps.front();
    steps.pop_front();
    // One pacing timer for the whole walk, owned here rather than handed to Qt per step.
    static QTimer pacer;
    pacer.setSingleShot(true);
    QObject::disconnect(&pacer, &QTimer::timeout, nullptr, nullptr);
    QObject::connect(&pacer, &QTimer::timeout, [step] {
        step.run();
        next();
    });
    pacer.start(step.waitMs);
}

int run(ZafApplication& application) {
    QApplication qt(application.argc, application.argv);
    tolm::setSettingsIdentity();
    outputDirectory = qEnvironmentVariable("TOLM_SCREENSHOT_DIR", QStringLiteral("."));
    QDir().mkpath(outputDirectory);
    tolm::BRIXWindow::SetStartupWait(0);
    steps = walk();
    next();
    const int rc = tolm::RunProgram(application, tolm::executableDirectory());
    std::printf("%d problem(s)\n", problems);
    return rc != 0 ? rc : (problems > 0 ? 3 : 0);
}

}  // namespace

int main(int argc, char** argv) {
    return ZafEntry(argc, argv, run);
}
