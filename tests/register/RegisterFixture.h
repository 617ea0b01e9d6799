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
        s.setValue("EngineType_0", "CFM56-3");
        s.setValue("EngineType_1", "CFM56-7");
        s.setValue("DataDir", data.path());
        zafApplication()->SetDefaultReader(&reader);
    }
    void TearDown() override {
        ZafEventStruct e;
        while (zafEventManager()->Get(e, ZafEventManager::Q_NO_WAIT) == 0) {
        }
        zafApplication()->SetDefaultReader(nullptr);
    }

    static QString setting(const char* key) { return QSettings().value(key).toString(); }
    static void press(int key, QObject* to = nullptr) {
        zafEventManager()->Put(ZafEventStruct::rawKeyDown(key, to));
    }
    const ShownMessage& lastBox() const { return dialogs.last(); }

    FakeDialogs dialogs;
    QTemporaryDir data;
    ZafStorage storage{testenv::binDir() + QStringLiteral("/QUOR.znc")};
    UserPersist reader{&storage};
};
