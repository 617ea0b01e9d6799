// Choosing flights: Plot (F8) on the main menu, the selection dialog's choices and its limit of
// ten flights, and the flights it hands to the plot window.
#include <QAbstractButton>
#include <QComboBox>

#include "tests/app/MainWindowFixture.h"
#include "tests/viewer/ui/PlotFixture.h"
#include "toolkit/KeyCodes.h"

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

QStringList numbersListed(ZafDialogWindow& dialog) {
    QStringList numbers;
    QListWidget* list = flightList(dialog);
    for (int i = 0; i < list->count(); ++i) {
        numbers << list->item(i)->text().left(15).trimmed();
    }
    return numbers;
}

void click(ZafDialogWindow& dialog, const char* button) {
    dialog.Get(QLatin1String(button)).as<QAbstractButton>()->click();
}

}  // namespace

TEST_F(Selection, ElevenFlightsAreRefusedAndTheDialogStaysOpenUntilTen) {
    TestRawFile file("HB-IJK", 1);
    for (int slot = 0; slot < 12; ++slot) {
        file.flight(slot, 101 + slot);
    }
    file.write(RawPath("HB-IJK", 1, "a.raw"));

    ModalUser user("SelectDialog");
    user.Then([](ZafDialogWindow& dialog) {
            ASSERT_EQ(flightList(dialog)->count(), 12);
            EXPECT_EQ(numbersListed(dialog).first(), "112");
            for (int row = 0; row < 11; ++row) {
                flightList(dialog)->item(row)->setSelected(true);
            }
            click(dialog, "B_OK");
        })
        .Then([this](ZafDialogWindow& dialog) {
            EXPECT_EQ(dialogs.messages,
                      (Boxes{{MessageKind::Critical, "Error",
                              "Too many flights selected. Maximum allowed is 10"}}));
            flightList(dialog)->item(3)->setSelected(false);
            click(dialog, "B_OK");
        });
    plot = new Plot2D();
    EXPECT_TRUE(user.Done());
    ASSERT_TRUE(plot->HasFlights());
    EXPECT_EQ(flightNumbers(*plot), QList<int>({112, 111, 110, 108, 107, 106, 105, 104, 103, 102}));
    EXPECT_EQ(QSettings().value("LastAircraft").toString(), "HB-IJK");
    Show();
    EXPECT_EQ(Chart().LastSet(), 9);
    EXPECT_EQ(Chart().LegendLabels().first(), "Flight 112");
    EXPECT_EQ(user.unexpected, 0);
}

TEST_F(Selection, AircraftEngineAndMemoryChoicesListTheirFlights) {
    TestRawFile("HB-IJK", 1).flight(0, 5).flight(1, 6, 1).write(RawPath("HB-IJK", 1, "a.raw"));
    TestRawFile("HB-IJK", 2).flight(0, 30).write(RawPath("HB-IJK", 2, "b.raw"));
    TestRawFile("N5", 1).flight(4, 40, 1).write(RawPath("N5", 1, "c.raw"));
    QSettings().setValue("LastAircraft", "N5");

    ModalUser user("SelectDialog");
    user.Then([](ZafDialogWindow& dialog) {
            auto* aircraft = dialog.Get("TAIL_NUMBER").as<QComboBox>();
            ASSERT_EQ(aircraft->count(), 2);
            EXPECT_EQ(aircraft->currentText(), "N5");      // remembered
            EXPECT_TRUE(numbersListed(dialog).isEmpty());  // pre-defect, engine 1
            dialog.Get("G_MEMORY_TYPE").Child(1).as<QAbstractButton>()->click();
        })
        .Then([](ZafDialogWindow& dialog) {
            EXPECT_EQ(numbersListed(dialog), QStringList({"40"}));
            EXPECT_EQ(QSettings().value("Plot2D_MemType").toInt(), 1);
            auto* aircraft = dialog.Get("TAIL_NUMBER").as<QComboBox>();
            EXPECT_EQ(aircraft->itemText(1), "HB-IJK");  // after N5, whose flight 40 is highest
            aircraft->setCurrentIndex(1);
            Q_EMIT aircraft->activated(1);
        })
        .Then([](ZafDialogWindow& dialog) {
            EXPECT_EQ(numbersListed(dialog), QStringList({"6"}));
            dialog.Get("G_ENGINE").Child(1).as<QAbstractButton>()->click();
            dialog.Get("G_MEMORY_TYPE").Child(0).as<QAbstractButton>()->click();
        })
        .Then([](ZafDialogWindow& dialog) {
            EXPECT_EQ(numbersListed(dialog), QStringList({"30"}));
            EXPECT_EQ(QSettings().value("Plot2D_MemType").toInt(), 0);
            click(dialog, "B_CANCEL");
        });
    plot = new Plot2D();
    EXPECT_TRUE(user.Done());
    EXPECT_FALSE(plot->HasFlights());  // cancelled: no plot window, nothing to say
    EXPECT_TRUE(dialogs.messages.empty());

    // The memory chosen last is the plotted flights' memory; the aircraft remembered is N5,
    // since no choice was accepted.
    delete plot.data();
    user.Then([](ZafDialogWindow& dialog) {
            dialog.Get("G_MEMORY_TYPE").Child(1).as<QAbstractButton>()->click();
        })
        .Then([](ZafDialogWindow& dialog) {
            flightList(dialog)->item(0)->setSelected(true);
            click(dialog, "B_OK");
        });
    plot = new Plot2D();
    Show();
    EXPECT_EQ(flightNumbers(*plot), QList<int>({40}));
    EXPECT_EQ(Chart().GetHeader().value(1), "Post-Defect");
    EXPECT_EQ(user.unexpected, 0);
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
        QListWidget* list = dialog.Get("FLIGHT_LIST").as<QListWidget>();
        ASSERT_EQ(list->count(), 2);
        list->item(0)->setSelected(true);
        list->item(1)->setSelected(true);
        dialog.Get("B_OK").as<QAbstractButton>()->click();
    });
    onPage("B4").as<QAbstractButton>()->click();
    testenv::pump();
    QPointer<Plot2D> plot = qobject_cast<Plot2D*>(zafWindowManager()->Get("Plot2D"));
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->isVisible());
    EXPECT_TRUE(plot->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(plot->Chart()->LegendLabels(), QStringList({"Flight 78", "Flight 77"}));
    EXPECT_EQ(plot->Chart()->LastPoint(0), 25);
    delete plot.data();
    EXPECT_EQ(user.unexpected, 0);
}
