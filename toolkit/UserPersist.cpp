#include "toolkit/UserPersist.h"

#include <QFile>
#include <QLoggingCategory>
#include <QPushButton>

#include "toolkit/BRIXButton.h"
#include "toolkit/BRIXGroup.h"
#include "toolkit/ZafStorage.h"

Q_LOGGING_CATEGORY(lcPersist, "tolm.toolkit.persist")

UserPersist::UserPersist(ZafStorage* storage) : storage_(storage) {}

QString UserPersist::PathOf(const QString& windowName) const {
    return QStringLiteral(":") + (storage_ ? storage_->Root() : QString()) + QLatin1Char('/') +
           windowName + QStringLiteral(".ui");
}

bool UserPersist::Contains(const QString& windowName) const {
    return storage_ && !storage_->Error() && QFile::exists(PathOf(windowName));
}

QWidget* UserPersist::Load(const QString& windowName, QWidget* parent) {
    if (!Contains(windowName)) {
        qCWarning(lcPersist) << "no window" << windowName << "in"
                             << (storage_ ? storage_->FileName() : QString());
        return nullptr;
    }
    QFile file(PathOf(windowName));
    if (!file.open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    QWidget* form = load(&file, parent);
    if (!form) {
        qCWarning(lcPersist) << "window" << windowName << "could not be built:" << errorString();
    }
    return form;
}

const std::vector<UserPersist::ClassEntry>& UserPersist::DataClasses() {
    static const std::vector<ClassEntry> table{
        {3105, "ZafStringData", ""},  {3110, "ZafScrollData", ""},     {3109, "ZafUTimeData", ""},
        {3103, "ZafIntegerData", ""}, {3115, "ZafImageData", ""},      {3112, "ZafBitmapData", ""},
        {3113, "ZafIconData", ""},    {kEndOfTable, nullptr, nullptr},
    };
    return table;
}

const std::vector<UserPersist::ClassEntry>& UserPersist::ObjectClasses() {
    static const std::vector<ClassEntry> table{
        {1007, "ZafWindow", "QWidget"},
        {20, "ZafImage", "QLabel"},
        {2003, "ZafGeometryManager", ""},
        {1020, "ZafAttachment", ""},
        {11, "ZafPrompt", "QLabel"},
        {3500, "BRIXButton", "BRIXButton"},
        {15, "ZafText", "QPlainTextEdit"},
        {1005, "ZafScrollBar", "QScrollBar"},
        {1, "ZafBorder", "QFrame"},
        {8, "ZafMinimizeButton", ""},
        {1006, "ZafSystemButton", ""},
        {17, "ZafTitle", ""},
        {1004, "ZafPullDownMenu", "QMenuBar"},
        {1003, "ZafPullDownItem", "QMenu"},
        {1002, "ZafPopUpMenu", "QMenu"},
        {19, "ZafPopUpItem", ""},
        {1015, "ZafStatusBar", "QFrame"},
        {9, "ZafUTime", "QLabel"},
        {13, "ZafString", "QLineEdit"},
        {5, "ZafIcon", "QLabel"},
        {1009, "ZafToolBar", "QToolBar"},
        {3500, "BRIXGroup", "BRIXGroup"},
        {1008, "ZafComboBox", "QComboBox"},
        {1010, "ZafVtList", "QListWidget"},
        {1018, "ZafNotebook", "QTabWidget"},
        {2, "ZafButton", "QPushButton"},
        {6, "ZafInteger", "QSpinBox"},
        {23, "ZafGroup", "ZafGroup"},
        {7, "ZafMaximizeButton", ""},
        {22, "ZafDialogWindow", "QWidget"},
        {1012, "ZafProgressBar", "QProgressBar"},
        {kEndOfTable, nullptr, nullptr},
    };
    return table;
}

QWidget* UserPersist::createWidget(const QString& className, QWidget* parent, const QString& name) {
    QString qtClass = className;
    for (const ClassEntry& entry : ObjectClasses()) {
        if (entry.name && className == QLatin1String(entry.name) && *entry.qtClass) {
            qtClass = QLatin1String(entry.qtClass);
            break;
        }
    }
    QWidget* widget = nullptr;
    if (qtClass == QLatin1String("BRIXButton")) {
        widget = new BRIXButton(parent);
    } else if (qtClass == QLatin1String("BRIXGroup")) {
        widget = new BRIXGroup(parent);
    } else if (qtClass == QLatin1String("ZafGroup") || qtClass == QLatin1String("QGroupBox")) {
        widget = new ZafGroup(parent);
    } else {
        widget = QUiLoader::createWidget(qtClass, parent, name);
    }
    if (!widget) {
        qCWarning(lcPersist) << "unknown object class" << className;
        return nullptr;
    }
    widget->setObjectName(name);
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setAutoDefault(true);  // Enter presses the button that has the focus
    }
    return widget;
}
