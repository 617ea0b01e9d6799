// The main of the test programs of windows: one Qt application and one toolkit application.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "core/Config.h"
#include "tests/support/TestEnvironment.h"

int main(int argc, char** argv) {
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/tolm-test-XXXXXX"));
    home.setAutoRemove(true);
    testenv::useHome(home.path());

    QApplication app(argc, argv);
    tolm::setSettingsIdentity();
    testenv::clearSettings();
    testenv::installToolkit(argc, argv);

    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    testenv::removeToolkit();
    return rc;
}
