#pragma once
// The engine-health windows over a data directory of raw files filed as the download files them,
// with a register of their aircraft, the program's window resources and a scripted user for the
// message boxes and file dialogs. The windows open the flight index in the test home's cache.
#include <QAbstractButton>
#include <QComboBox>
#include <QSettings>
#include <QTableWidget>

#include "tests/health/HealthFixture.h"
#include "tests/support/FakeDialogs.h"
#include "toolkit/UserPersist.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafStorage.h"
#include "toolkit/ZafWindow.h"
#include "toolkit/ZafWindowManager.h"

class HealthWindowTest : public HealthTest {
protected:
    void SetUp() override {
        HealthTest::SetUp();
        testenv::clearSettings();
        QSettings().setValue(QStringLiteral("DataDir"), data);
        zafApplication()->SetDefaultReader(&reader);
        registerAircraft("HB-IJK", "889123", "555");
    }
    void TearDown() override {
        // Every window the test opened goes, before the next test's data directory comes.
        while (ZafWindow* w = zafWindowManager()->Front()) {
            zafWindowManager()->Subtract(w);
            delete w;
        }
        testenv::pump();
        zafApplication()->SetDefaultReader(nullptr);
    }

    static void Press(ZafWindow& window, const char* button) {
        auto* b = window.Get(QLatin1String(button)).as<QAbstractButton>();
        ASSERT_NE(b, nullptr) << button;
        b->click();
        testenv::pump();
    }
    static void Choose(ZafWindow& window, const char* combo, int item) {
        auto* c = window.Get(QLatin1String(combo)).as<QComboBox>();
        ASSERT_NE(c, nullptr) << combo;
        c->setCurrentIndex(item);
        Q_EMIT c->activated(item);
        testenv::pump();
    }
    static QString Cell(QTableWidget* table, int row, int column) {
        const QTableWidgetItem* item = table ? table->item(row, column) : nullptr;
        return item ? item->text() : QStringLiteral("(none)");
    }

    FakeDialogs dialogs;
    ZafStorage storage{testenv::binDir() + QStringLiteral("/QUOR.znc")};
    UserPersist reader{&storage};
};
