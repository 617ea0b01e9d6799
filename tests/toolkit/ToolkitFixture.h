#pragma once
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <vector>

#include "tests/support/TestEnvironment.h"
#include "toolkit/UserPersist.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafStorage.h"
#include "toolkit/ZafWindow.h"
#include "toolkit/ZafWindowManager.h"

// The test window bundle as the default reader; the event queue and the windows emptied after.
class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(storage.Error());
        zafApplication()->SetDefaultReader(&reader);
    }
    void TearDown() override {
        drain();
        while (ZafWindow* w = zafWindowManager()->Front()) {
            zafWindowManager()->Subtract(w);
            delete w;
        }
        zafApplication()->SetDefaultReader(nullptr);
    }
    // Empties the event queue; the types of the events in it other than raw input.
    static std::vector<ZafEventType> drain() {
        std::vector<ZafEventType> types;
        ZafEventStruct e;
        while (zafEventManager()->Get(e, ZafEventManager::Q_NO_WAIT) == 0) {
            if (!e.isRaw()) {
                types.push_back(e.type);
            }
        }
        return types;
    }
    ZafStorage storage{QCoreApplication::applicationDirPath() +
                       QStringLiteral("/toolkit-test.znc")};
    UserPersist reader{&storage};
};
