#pragma once
// A fresh register for each test: the two default engine types, a private data directory, the
// program's window resources as the default reader, and a scripted user.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "formats/AircraftRecord.h"
#include "tests/register/AircraftStore.h"
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

    static QString setting(const char* key) {
        return QSettings().value(QLatin1String(key)).toString();
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
