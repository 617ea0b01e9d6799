// Choosing flights: Plot (F8), the selection dialog's choices, its limit of ten, what it hands on.
#include <QAbstractButton>
#include <QComboBox>

#include "tests/app/MainWindowFixture.h"
#include "tests/viewer/ui/PlotFixture.h"
#include "toolkit/KeyCodes.h"
#include "viewer/ui/EngineTrendOpener.h"
#include "viewer/ui/SelectDialog.h"

using namespace tolm::viewer;
using viewertest::TestRawFile;
using Selection = PlotTest;

namespace {

QList<int> flightNumbers(const Plot2D& plot) {
    QList<int> numbers;
    for (const FlightDataElement& f : plot.Model().flights()) {
        numbers << f.flightNumber();
    }
    return numbers;
}

QListWidget* flightList(ZafDialogWindow& dialog) {
    return dialog.Get("FLIGHT_LIST").as<QListWidget>();
}

// The rows the list shows: their flight numbers, or what follows the number and date.
QStringList listed(ZafDialogWindow& dialog, int from = 0) {
    QStringList rows;
    for (int i = 0; i < flightList(dialog)->count(); ++i) {
        const QString text = flightList(dialog)->item(i)->text();
        rows << (from ? text.mid(from) : text.left(15)).trimmed();
    }
    return rows;
}

}  // namespace

TEST_F(Selection, ChoicesListTheirFlightsAndElevenAreRefusedUntilTen) {
    TestRawFile file("HB-IJK", 1);
    for (int slot = 0; slot < 12; ++slot) {
        file.flight(slot, 101 + slot);
    }
    file.flight(12, 6, 1).write(rawPath("HB-IJK", 1, "a.raw"));
    TestRawFile("HB-IJK", 2).flight(0, 30).write(rawPath("HB-IJK", 2, "b.raw"));
    TestRawFile("N5", 1).flight(4, 40, 1).write(rawPath("N5", 1, "c.raw"));
    QSettings().setValue("LastAircraft", "N5");

    ModalUser user("SelectDialog");
    user.Then([&](ZafDialogWindow& dialog) {
            auto* aircraft = dialog.Get("TAIL_NUMBER").as<QComboBox>();
            EXPECT_EQ(aircraft->currentText(), "N5");  // remembered
            EXPECT_TRUE(listed(dialog).isEmpty());     // engine 1, pre-defect
            ClickIn(dialog, "G_MEMORY_TYPE", 1);
        })
        .Then([&](ZafDialogWindow& dialog) {
            EXPECT_EQ(listed(dialog), QStringList({"40"}));
            auto* aircraft = dialog.Get("TAIL_NUMBER").as<QComboBox>();
            const int other = aircraft->findText("HB-IJK");
            aircraft->setCurrentIndex(other);
            Q_EMIT aircraft->activated(other);
        })
        .Then([&](ZafDialogWindow& dialog) {
            EXPECT_EQ(listed(dialog), QStringList({"6"}));
            ClickIn(dialog, "G_ENGINE", 1);
            ClickIn(dialog, "G_MEMORY_TYPE", 0);
        })
        .Then([&](ZafDialogWindow& dialog) {
            EXPECT_EQ(listed(dialog), QStringList({"30"}));
            ClickIn(dialog, "G_ENGINE", 0);
        })
        .Then([&](ZafDialogWindow& dialog) {
            ASSERT_EQ(listed(dialog).size(), 12);
            EXPECT_EQ(listed(dialog).first(), "112");
            for (int row = 0; row < 11; ++row) {
                flightList(dialog)->item(row)->setSelected(true);
            }
            ClickIn(dialog, "B_OK");
        })
        .Then([&](ZafDialogWindow& dialog) {
            EXPECT_EQ(dialogs.messages,
                      (Boxes{{MessageKind::Critical, "Error",
                              "Too many flights selected. Maximum allowed is 10"}}));
            flightList(dialog)->item(3)->setSelected(false);
            ClickIn(dialog, "B_OK");
        });
    plot = new Plot2D();
    EXPECT_TRUE(user.Done());
    ASSERT_TRUE(plot->HasFlights());
    EXPECT_EQ(flightNumbers(*plot), QList<int>({112, 111, 110, 108, 107, 106, 105, 104, 103, 102}));
    Show();
    EXPECT_EQ(Chart().GetHeader().value(1), "Pre-Defect");  // the memory chosen last

    // Cancel: no plot window, nothing to say.
    delete plot.data();
    dialogs.clear();
    user.Then([](ZafDialogWindow& dialog) { ClickIn(dialog, "B_CANCEL"); });
    plot = new Plot2D();
    EXPECT_FALSE(plot->HasFlights());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(user.unexpected, 0);
}

// The flight index's notes reach the list, and "Show every copy" lists each copy. Trend... opens
// the chosen engine's trend and no plot; without an opener the button is not shown.
TEST_F(Selection, TheListMarksCopiesAndTrendLeadsToTheEngineChosen) {
    const QString a = TestRawFile("HB-IJK", 1).flight(0, 70).write(rawPath("HB-IJK", 1, "a.raw"));
    const QString b = TestRawFile("HB-IJK", 1).flight(3, 70).write(rawPath("HB-IJK", 1, "b.raw"));
    const FlightNote alarm{1, "Alarm 2 (4L)", "in 2 files"};
    SelectDialog::setNotesSource([&] { return FlightNotes{{{a, 0}, alarm}, {{b, 3}, alarm}}; });
    QStringList opened;
    setEngineTrendOpener([&](const QString& aircraft, int engine) {
        opened << QStringLiteral("%1/%2").arg(aircraft).arg(engine);
    });
    ModalUser user("SelectDialog");
    user.Then([&](ZafDialogWindow& dialog) {
            EXPECT_EQ(listed(dialog, 32), QStringList({"Alarm 2 (4L)  in 2 files"}));
            ClickIn(dialog, "SHOW_COPIES");
        })
        .Then([&](ZafDialogWindow& dialog) {
            EXPECT_EQ(listed(dialog, 32), QStringList({"Alarm 2 (4L)", "Alarm 2 (4L)"}));
            EXPECT_FALSE(dialog.Get("B_TREND").as<QWidget>()->isHidden());
            ClickIn(dialog, "G_ENGINE", 1);
            ClickIn(dialog, "B_TREND");
        });
    plot = new Plot2D();
    SelectDialog::setNotesSource({});
    setEngineTrendOpener({});
    EXPECT_TRUE(user.Done());
    EXPECT_EQ(opened, QStringList{"HB-IJK/2"});
    EXPECT_FALSE(plot->HasFlights());

    user.Then([&](ZafDialogWindow& dialog) {
        EXPECT_TRUE(dialog.Get("B_TREND").as<QWidget>()->isHidden());
        ClickIn(dialog, "B_CANCEL");
    });
    delete plot.data();
    plot = new Plot2D();
    EXPECT_TRUE(user.Done());
}

class ViewerCommand : public MainWindowFixture {};

TEST_F(ViewerCommand, PlotOnTheMainMenuOpensTheViewerBesideTheMainWindow) {
    QTemporaryDir data;
    QSettings().setValue(QStringLiteral("DataDir"), data.path());
    open();
    toMainMenu();
    press(VK::F8);
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Critical, " TOLM for QUOR ", "No data exists for plotting"}}));
    EXPECT_EQ(zafWindowManager()->Get("Plot2D"), nullptr);

    TestRawFile("HB-IJK", 1)
        .flight(2, 77)
        .flight(9, 78)
        .write(data.filePath("HB-IJK_data/engine_1/a.raw"));
    ModalUser user("SelectDialog");
    user.Then([](ZafDialogWindow& dialog) {
        ASSERT_EQ(flightList(dialog)->count(), 2);
        flightList(dialog)->selectAll();
        ClickIn(dialog, "B_OK");
    });
    onPage("B4").as<QAbstractButton>()->click();
    testenv::pump();
    QPointer<Plot2D> plot = qobject_cast<Plot2D*>(zafWindowManager()->Get("Plot2D"));
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->isVisible());
    EXPECT_TRUE(plot->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(plot->Chart()->LegendLabels(), QStringList({"Flight 78", "Flight 77"}));
    delete plot.data();
    EXPECT_EQ(user.unexpected, 0);
}
