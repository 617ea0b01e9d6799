// What the user reads and saves: read-outs, tabulations, the waterfall export, and quor-raw's.
#include <QFile>
#include <QProcess>
#include <cmath>

#include "tests/viewer/ViewerFixture.h"
#include "viewer/ExportFile.h"
#include "viewer/PlotModel.h"
#include "viewer/ReadOut.h"
#include "viewer/Tabulation.h"
#include "viewer/WaterfallExport.h"
#include "viewer/cli/QuorRaw.h"

using namespace tolm::viewer;
using viewertest::TestRawFile;
using Output = ViewerTest;

namespace {

TestRawFile sampleFile() {
    TestRawFile f("HB-IJK", 2);
    f.flight(0, 7).flight(3, 7, 1).flight(5, 12);
    for (int r = 0; r < 26; ++r) {
        f.steadyValue(0, 10, r, r * 0.5f - 1.0f);
    }
    f.transientAverage(0, 3, 1, -1.5f);
    f.steadySamples(0, 2, [](int i) {
        return qint16(std::lround(1000 * std::cos(2 * M_PI * 114 * i / 1024)));
    });
    f.steadySamples(0, 5, [](int i) { return qint16(i); });
    return f;
}

PlotModel model(const TestRawFile& f, PlotType type, int parameter, int sample = 0) {
    return PlotModel(
        {element(f, 0)},
        {.plotType = type, .parameter = parameter, .lastFlight = 7, .lastSample = sample});
}

QString text(const ChartContents& c, int point) {
    return ReadOut::of(c, 0, point)->text;
}

}  // namespace

TEST_F(Output, ReadOutsTabulationsAndTheWaterfallExportAsQuorRawPrintsThem) {
    const TestRawFile f = sampleFile();
    const ChartContents a4r = model(f, PlotType::SteadyState, 10).chart();
    EXPECT_EQ(text(a4r, 4), "Flight 7: X =        5  Y =        1");
    EXPECT_EQ(ReadOut::of(a4r, 0, 4)->background, (Rgb{204, 204, 255}));
    EXPECT_EQ(ReadOut::of(a4r, 0, 0)->background, (Rgb{255, 255, 0}));
    EXPECT_EQ(ReadOut::of(a4r, 0, 4)->markerX, 5.0);
    EXPECT_FALSE(ReadOut::of(a4r, 0, 26));
    EXPECT_FALSE(ReadOut::of(a4r, 1, 0));

    EXPECT_EQ(text(model(f, PlotType::Transient, 3).chart(), 1), "Flight 7: X = TOD  Y = -1.5");
    EXPECT_EQ(text(model(f, PlotType::SteadyState, 20, 5).chart(), 3),
              "Flight 7: X =   0.3072 (ms)  Y = 0.0091554");
    const ChartContents fft = model(f, PlotType::SteadyState, 21, 2).chart();
    EXPECT_EQ(text(fft, 114), "Flight 7:  1087.19 (Hz)     3.143 (G)");
    EXPECT_EQ(text(fft, 10), "Flight 7:    95.37 (Hz)     0.000 (G)");
    EXPECT_EQ(text(model(f, PlotType::SteadyState, 22).chart(), 10), "Frequency :  95.3674 (Hz)");

    // The tabulation lists the points in the shown range.
    Tabulation t = Tabulation::of(a4r, 0);
    EXPECT_EQ(t.tag, "Selected Flight: Flight 7");
    EXPECT_EQ(t.header1, "Steady State Data: HB-IJK: Engine 2  Pre-Defect");
    EXPECT_EQ(t.header2, "  ");
    EXPECT_EQ(t.header3, "Parameter: A4R (Gpk)");
    ASSERT_EQ(t.rows.size(), 26);
    EXPECT_EQ(t.rows[0].text, "Bin #         1        -1");
    EXPECT_EQ(t.rows[25].text, "Bin #        26      11.5");

    // After a zoom to 5..10 only those points, each row still naming its point.
    t = Tabulation::of(a4r, 0, XRange{5.0, 10.0});
    ASSERT_EQ(t.rows.size(), 6);
    EXPECT_EQ(t.rows[0], (TabulationRow{4, "Bin #         5         1"}));
    EXPECT_EQ(t.rowOfPoint(9), 5);
    EXPECT_EQ(t.rowOfPoint(3), -1);
    EXPECT_EQ(t.fileText(),
              "Selected Flight: Flight 7\nSteady State Data: HB-IJK: Engine 2  Pre-Defect\n  \n"
              "Parameter: A4R (Gpk)\n\n"
              "Bin #         5         1\nBin #         6       1.5\nBin #         7         2\n"
              "Bin #         8       2.5\nBin #         9         3\nBin #        10       3.5\n");

    t = Tabulation::of(fft, 0, XRange{95.0, 100.0});
    ASSERT_EQ(t.rows.size(), 1);
    EXPECT_EQ(t.rows[0].text, "   10     95.37 (Hz)     0.000 (G)");
    EXPECT_EQ(t.header2, "Bin #3  ");
    EXPECT_TRUE(Tabulation::of(fft, 1).rows.isEmpty());

    EXPECT_EQ(Tabulation::withTxtSuffix("/a/list"), "/a/list.txt");
    EXPECT_EQ(Tabulation::withTxtSuffix("/a/list.txt"), "/a/list.txt");
    EXPECT_EQ(Tabulation::withTxtSuffix("/a/list.TXT"), "/a/list.TXT.txt");

    // The waterfall export, byte for byte.
    ChartContents c;
    c.parameter = kWaterfallFft;
    c.waterfallFlight = 31;
    c.header = {"Transient Frequency Spectra: HB-IJK: Engine 1", "Pre-Defect", "Window: None"};
    c.footer = {"Flight #31", ""};
    for (double y : {1.0, 2.5, 3.25}) {
        c.sets.append(
            DataSet{{0.0, 9.5367431640625, 19.073486328125}, {y + 0.00001234, y, -y}, y != 2.5});
    }
    EXPECT_EQ(WaterfallExport::csv(c, XRange{5.0, 20.0}),
              "Flight #31\nTransient Frequency Spectra: HB-IJK: Engine 1\nPre-Defect\nFlight #31\n"
              "9.5367,1,2.5,3.25\n19.073,-1,-2.5,-3.25\n");
    EXPECT_TRUE(WaterfallExport::csv(c).contains("\n0,1,2.5,3.25\n"));
    EXPECT_EQ(WaterfallExport::withCsvSuffix("w"), "w.csv");

    // A file that cannot be created: nothing written, the caller told.
    EXPECT_FALSE(ExportFile::write(data.path() + "/none/w.csv", "x"));
    EXPECT_TRUE(ExportFile::write(data.path() + "/w.csv", "x"));
    EXPECT_EQ(QFileInfo(data.path() + "/w.csv").size(), 1);

    const ChartContents steady = model(f, PlotType::SteadyState, 22).chart();
    const QList<QByteArray> lines = WaterfallExport::csv(steady).split('\n');
    EXPECT_EQ(lines[3], "Flight #7");
    EXPECT_EQ(lines[4].count(','), 26);  // hidden records included
    EXPECT_EQ(lines.size(), 4 + 512 + 1);

    // quor-raw prints what the windows show and save.
    const QString raw = f.write(rawPath("HB-IJK", 2, "a.raw"));
    TestRawFile("N2").flight(0, 3).write(rawPath("N2", 1, "b.raw"));
    QByteArray err;  // of the last run
    const auto run = [&err](QStringList args) {
        QByteArray out;
        err.clear();
        const int status = QuorRaw::run(args, out, err);
        return status == 0 ? out : QByteArray("exit ") + QByteArray::number(status);
    };

    EXPECT_EQ(run({"aircraft", data.path()}), "HB-IJK\nN2\n");
    FlightSelection selection(scan().flights, "HB-IJK", 0);
    selection.setEngine(2);
    EXPECT_EQ(
        run({"flights", data.path(), "--aircraft", "HB-IJK", "--engine", "2", "--memory", "0"}),
        (selection.items()[0].text + "\n" + selection.items()[1].text + "\n").toLocal8Bit());

    EXPECT_EQ(run({"tabulate", raw, "--flight", "7", "--memory", "0", "--parameter", "fft",
                   "--record", "3", "--xmin", "90", "--xmax=200"}),
              Tabulation::of(fft, 0, XRange{90, 200}).fileText());
    EXPECT_EQ(run({"tabulate", raw, "--flight", "7", "--memory", "0", "--parameter", "A4R"}),
              Tabulation::of(model(f, PlotType::SteadyState, 10).chart(), 0).fileText());
    const PlotChoices hamming{.plotType = PlotType::Transient,
                              .parameter = kWaterfallFft,
                              .bin = 1,
                              .window = FftWindow::Hamming};
    EXPECT_EQ(run({"csv", raw, "--flight", "12", "--mode", "transient", "--bin", "1", "--window",
                   "HAMMING"}),
              WaterfallExport::csv(PlotModel({element(f, 5)}, hamming).chart()));

    // Exit status 2, with a message, for bad arguments and unreadable files.
    EXPECT_EQ(run({"tabulate", raw, "--flight", "7", "--parameter", "A4R"}), "exit 2");
    EXPECT_TRUE(err.contains("flight 7 is in both memories; choose one with --memory"))
        << err.constData();
    // A "%1" in the file's path stays as it is (it once took the flight number's place).
    const QString percent = f.write(data.path() + "/p%1x%2/a%1.raw");
    EXPECT_EQ(run({"tabulate", percent, "--flight", "13", "--memory", "1", "--parameter", "A4R"}),
              "exit 2");
    EXPECT_TRUE(err.contains((percent + " holds no flight 13 in memory 1\n").toLocal8Bit()))
        << err.constData();
    for (const QStringList& bad : QList<QStringList>{
             {},
             {"plot"},
             {"aircraft"},
             {"aircraft", data.path() + "/none"},
             {"flights", data.path(), "--aircraft", "N2", "--engine", "3", "--memory", "0"},
             {"flights", data.path(), "--aircraft", "N3", "--engine", "1", "--memory", "0"},
             {"tabulate", raw, "--flight", "12", "--parameter", "nothing"},
             {"tabulate", raw, "--flight", "12", "--parameter", "Waterfall FFT"},
             {"tabulate", raw, "--flight", "12", "--parameter", "TR4R_avg", "--mode", "transient"},
             {"tabulate", raw, "--flight", "12", "--parameter", "FFT", "--mode", "transient",
              "--record", "11"},
             {"tabulate", raw, "--flight", "13", "--parameter", "A4R"},
             {"csv", raw, "--flight", "12", "--window", "Blackman"},
             {"csv", raw, "--flight", "12", "--bin"},
             {"csv", data.path(), "--flight", "12"}}) {
        EXPECT_EQ(run(bad), "exit 2") << bad.join(' ').toStdString();
        EXPECT_FALSE(err.isEmpty());
    }
    f.write(raw, 1000);
    EXPECT_EQ(run({"csv", raw, "--flight", "12"}), "exit 2");
    EXPECT_EQ(err, "quor-raw csv: Failed to read data block: a.raw\nTry: quor-raw csv --help\n");

    // The program itself: help, output and status.
    QProcess program;
    program.start(testenv::binDir() + "/quor-raw", {"csv", "--help"});
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardOutput().startsWith("Usage: quor-raw csv RAW"));
    program.start(testenv::binDir() + "/quor-raw", {"aircraft", data.path()});
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_EQ(program.readAllStandardOutput(), "N2\n");
    EXPECT_EQ(program.readAllStandardError(),
              "Error - SelectDialog::ExtractFlightInfo: Failed to read data block: a.raw\n");
    program.start(testenv::binDir() + "/quor-raw", {"flights", data.path()});
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_EQ(program.exitCode(), 2);
}
