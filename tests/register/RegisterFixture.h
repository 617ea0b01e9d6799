#pragma once
// A fresh register for each test: the two default engine types, a private data directory, the
// program's window resources as the default reader, and a scripted user.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QSettings>
#include <QTemporaryDir>

#include "register/AircraftRecord.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/UserPersist.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafStorage.h"
#include "toolkit/ZafWindow.h"
#include "toolkit/ZafWindowManager.h"

class RegisterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(storage.Error());
        testenv::clearSettings();
        QSettings s;
        s.setValue(QStringLiteral("EngineType_0"), QStringLiteral("CFM56-3"));
        s.setValue(QStringLiteral("EngineType_1"), QStringLiteral("CFM56-7"));
        s.setValue(QStringLiteral("DataDir"), data.path());
        zafApplication()->SetDefaultReader(&reader);
    }
    void TearDown() override {
        ZafEventStruct e;
        while (zafEventManager()->Get(e, ZafEventManager::Q_NO_WAIT) == 0) {
        }
        zafApplication()->SetDefaultReader(nullptr);
    }

    // Writes a record straight into the store: types CFM56-3 and CFM56-7, dates 2008-01-01 and
    // 2008-02-01, download on for both engines, comments "comments of <id>".
    static tolm::AircraftRecord put(const QString& id, const QString& ser1 = QStringLiteral("111"),
                                    const QString& ser2 = QStringLiteral("222")) {
        tolm::AircraftRecord r;
        r.setIdentifier(id);
        for (int i = 0; i < 2; ++i) {
            tolm::EngineRecord e;
            e.setType(i == 0 ? QStringLiteral("CFM56-3") : QStringLiteral("CFM56-7"));
            e.setSer(i == 0 ? ser1 : ser2);
            e.setInstallDate(QStringLiteral("2008-0%1-01").arg(i + 1));
            e.setOption(tolm::EngineOption::DownloadBearingData, true);
            r.setEngine(i, e);
        }
        r.setComments(QStringLiteral("comments of ") + id);
        QSettings().setValue(QStringLiteral("AircraftInfo/") + id, r.toByteArray());
        return r;
    }
    static QByteArray stored(const QString& id) {
        return QSettings().value(QStringLiteral("AircraftInfo/") + id).toByteArray();
    }
    static tolm::AircraftRecord storedRecord(const QString& id) {
        return tolm::AircraftRecord::fromByteArray(stored(id));
    }
    static QString setting(const char* key) {
        return QSettings().value(QLatin1String(key)).toString();
    }
    // Picks an item of a combo box as the user would: the box shows it and reports the choice.
    static void choose(ZafObject box, const QString& text) {
        auto* c = box.as<QComboBox>();
        const int i = c->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        c->setCurrentIndex(i);
        Q_EMIT c->activated(i);
    }
    static void press(int key, QObject* to = nullptr) {
        zafEventManager()->Put(ZafEventStruct::rawKeyDown(key, to));
    }
    // The last box shown, as (kind, title, text).
    std::tuple<MessageKind, QString, QString> lastBox() const {
        return {dialogs.last().kind, dialogs.last().title, dialogs.last().text};
    }

    FakeDialogs dialogs;
    QTemporaryDir data;
    ZafStorage storage{testenv::binDir() + QStringLiteral("/QUOR.znc")};
    UserPersist reader{&storage};
};
