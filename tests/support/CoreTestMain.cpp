// The main of the test programs of the cores: Qt Core only, no window, no window resources.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "core/Config.h"
#include "tests/support/TestEnvironment.h"

int main(int argc, char** argv) {
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/tolm-test-XXXXXX"));
    home.setAutoRemove(true);
    testenv::useHome(home.path());

    QCoreApplication app(argc, argv);
    tolm::setSettingsIdentity();
    testenv::clearSettings();

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
