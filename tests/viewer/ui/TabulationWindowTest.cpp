// The tabulation window of the plot window.
#include <QApplication>
#include <algorithm>

#include "tests/viewer/ViewerFixture.h"
#include "tests/viewer/ui/PlotFixture.h"
#include "viewer/ui/TabulateInfoWindow.h"

using namespace tolm::viewer;
using TabulationWindow = PlotTest;

namespace {

QStringList rowsOf(const TabulateInfoWindow& window) {
    auto* list = window.Get("E_LIST").as<QListWidget>();
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) {
        rows << list->item(i)->text();
    }
    return rows;
}

QString selectedRow(const TabulateInfoWindow& window) {
    const QList<QListWidgetItem*> selected =
        window.Get("E_LIST").as<QListWidget>()->selectedItems();
    return selected.size() == 1 ? selected.first()->text() : QString();
}

}  // namespace

// The listing of the current flight's points in the shown range: refilled after a zoom, a click
// and a new plot, the row of the point read out highlighted, saved with .txt added and asked for
// before a file is replaced, and closed with its plot window.
TEST_F(TabulationWindow, ListsSavesAndFollowsTheShownPointsOfTheCurrentFlight) {
    Open(flightsOf(ThreeFlights(), 2));
    Choose("PDI_DATA~PUI_TABULATE");
    TabulateInfoWindow* window = TabulateInfoWindow::Find();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Get("P_TAG").Text(), "Selected Flight: Flight 7");
    EXPECT_EQ(window->Get("P_HEADER1").Text(), "Steady State Data: HB-IJK: Engine 2  Pre-Defect");
    EXPECT_EQ(window->Get("P_HEADER2").Text(), "  ");
    EXPECT_EQ(window->Get("P_HEADER3").Text(), "Parameter: A4R (Gpk)");
    QStringList rows = rowsOf(*window);
    ASSERT_EQ(rows.size(), 26);
    EXPECT_EQ(rows[0], "Bin #         1        -3");

    Hover(0, 7);
    EXPECT_EQ(selectedRow(*window), "Bin #         8       0.5");

    // A zoom to bins 5 to 10 lists only those, and the highlight still finds the point's row.
    // (tall enough for flight 8's points too)
    Chart().ZoomToPixels(QRect(QPoint(PixelOf(0, 4).x() - 8, PixelOf(1, 9).y() - 40),
                               QPoint(PixelOf(0, 9).x() + 8, PixelOf(0, 4).y() + 40)));
    rows = rowsOf(*window);
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[0], "Bin #         5        -1");
    EXPECT_EQ(selectedRow(*window), "Bin #         8       0.5");
    Hover(0, 5);
    EXPECT_EQ(selectedRow(*window), "Bin #         6      -0.5");
    Hover(0, 2);  // outside the zoom: no read-out, no change
    EXPECT_EQ(selectedRow(*window), "Bin #         6      -0.5");

    const auto save = [&] {
        window->Get("TOOL_BAR~B_SAVE").as<QAction>()->trigger();
        testenv::pump();
    };
    const QString path = data.filePath("listing.txt");
    dialogs.saveFileAnswers = {data.filePath("listing")};
    save();
    const QByteArray listing =
        "Selected Flight: Flight 7\nSteady State Data: HB-IJK: Engine 2  Pre-Defect\n  \n"
        "Parameter: A4R (Gpk)\n\n"
        "Bin #         5        -1\nBin #         6      -0.5\nBin #         7         0\n"
        "Bin #         8       0.5\nBin #         9         1\nBin #        10       1.5\n";
    EXPECT_EQ(contentOf(path), listing);
    EXPECT_TRUE(dialogs.messages.empty());
    // The file exists: asked once (by the program, not by the save dialog as well), and No keeps
    // it.
    QFile::remove(path);
    QFile(path).open(QIODevice::WriteOnly);
    dialogs.saveFileAnswers = {path};
    save();
    EXPECT_EQ(dialogs.messages, (Boxes{{MessageKind::Question, "Save To File",
                                        "File already exists. Do you want to overwrite it?"}}));
    EXPECT_EQ(contentOf(path), "");
    dialogs.saveFileAnswers = {path};
    dialogs.questionAnswers = {QMessageBox::Yes};
    save();
    EXPECT_EQ(contentOf(path), listing);
    // Cancelled: nothing; a file that cannot be written: told.
    dialogs.clear();
    save();
    dialogs.saveFileAnswers = {data.filePath("no folder/listing")};
    save();
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Critical, "Save To File", "Couldn't save tabulation data"}}));
    EXPECT_EQ(dialogs.fileDialogCaptions.size(), 2);

    // A click on flight 8 lists it; Tabulate again keeps the one window.
    Click(1, 6);
    EXPECT_EQ(window->Get("P_TAG").Text(), "Selected Flight: Flight 8");
    EXPECT_EQ(rowsOf(*window).value(0), "Bin #         5         9");
    Choose("PDI_DATA~PUI_TABULATE");
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(windows.begin(), windows.end(),
                            [](QWidget* w) { return qobject_cast<TabulateInfoWindow*>(w); }),
              1);

    // Zoom > Reset lists every point again; a new plot is listed at once.
    Choose("PDI_ZOOM~PUI_RESET");
    EXPECT_EQ(rowsOf(*window).size(), 26);
    ChooseParameter("FFT");
    EXPECT_EQ(rowsOf(*window).size(), 512);

    // Closing the plot window closes its tabulation.
    delete plot.data();
    testenv::pump();
    EXPECT_EQ(TabulateInfoWindow::Find(), nullptr);
}
