// The chart on paper and in image files: the same scene as on screen.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "tests/viewer/ui/ChartFixture.h"

namespace {

// What a PDF file says, through poppler's tools; empty when they are missing.
QString pdfTool(const QString& tool, const QString& file) {
    QProcess process;
    process.start(tool, tool == "pdftotext" ? QStringList{file, "-"} : QStringList{file});
    if (!process.waitForFinished(20000) || process.exitCode() != 0) {
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool isPdf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-";
}

}  // namespace

TEST_F(ChartTest, PrintsOneLandscapePageAndSavesPngOrPdfByTheSuffix) {
    chart.SetHeader({"Steady State Data: HB-IJK: Engine 1", "Pre-Defect"});
    chart.SetFooter({"Bin #4"});
    chart.SetXAxisTitle("Frequency (Hz)");
    chart.SetYAxisTitle("Gpk (compensated)");
    chart.SetLegendLabels({"Flight 1207", "Flight 1208"});
    LinesOnly(2);
    Fill(2, 512, 0.0, 9.5367431640625, [](int s, int p) { return (s + 1) * (p % 64) / 64.0; });
    const QTemporaryDir dir;
    EXPECT_EQ(chart.Print(), Xrt2dPlot::PrintResult::Cancelled);  // no answer: cancelled
    const QString printed = dir.filePath("chart.pdf");
    dialogs.printFileAnswers = {dir.filePath("no such folder/chart.pdf"), printed};
    EXPECT_EQ(chart.Print(), Xrt2dPlot::PrintResult::Failed);
    EXPECT_EQ(chart.Print(), Xrt2dPlot::PrintResult::Printed);
    EXPECT_EQ(dialogs.printDialogsShown, 3);
    EXPECT_TRUE(dialogs.messages.empty());  // telling the user is the caller's
    ASSERT_TRUE(isPdf(printed));
    const QString info = pdfTool("pdfinfo", printed);
    if (!info.isEmpty()) {
        EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
        const QRegularExpressionMatch size =
            QRegularExpression("Page size:\\s+([0-9.]+) x ([0-9.]+)").match(info);
        ASSERT_TRUE(size.hasMatch());
        EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble());
    }
    // Printing leaves the screen's scene as it was.
    EXPECT_EQ(chart.PickPoint(1, PixelOf(1, 100)), 100);

    const QString png = dir.filePath("chart.PNG");
    ASSERT_TRUE(chart.SaveImage(png));
    const QImage image(png, "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), chart.Canvas()->size());
    EXPECT_GT(CountPixels(image, chart.DataStyle(0).color), 100);
    EXPECT_GT(CountPixels(image, chart.DataStyle(1).color), 100);
    const QString pdf = dir.filePath("image.pdf");
    ASSERT_TRUE(chart.SaveImage(pdf));
    EXPECT_TRUE(isPdf(pdf));
    EXPECT_FALSE(chart.SaveImage(dir.filePath("chart.jpg")));
    EXPECT_FALSE(QFile::exists(dir.filePath("chart.jpg")));
    EXPECT_FALSE(chart.SaveImage(dir.filePath("no such folder/chart.png")));
    // The texts of the scene on paper and in the image, as a PDF reader finds them.
    for (const QString& file : {printed, pdf}) {
        const QString text = pdfTool("pdftotext", file);
        if (text.isEmpty()) {
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        }
        for (const char* expected : {"Steady State Data: HB-IJK: Engine 1", "Pre-Defect", "Bin #4",
                                     "Frequency (Hz)", "Flight 1207", "Flight 1208"}) {
            EXPECT_TRUE(text.contains(expected)) << expected << " not in:\n" << text.toStdString();
        }
    }
}
