#pragma once
// A chart's printing and image file as a window offers them: the print dialog, the save dialog
// with the program's own question before an existing image is replaced, and the boxes that say
// what failed. Every window that shows a chart (the plot window, the engine trend) uses these.
#include <QString>

class QWidget;
class Xrt2dPlot;

namespace tolm::viewer {

class ChartOutput {
public:
    static inline const QString kPrintTitle = QStringLiteral("Print");
    static inline const QString kPrintFailed = QStringLiteral("Couldn't print the chart");
    static inline const QString kImageTitle = QStringLiteral("Save Chart Image");
    static inline const QString kImageFilter =
        QStringLiteral("PNG image (*.png);;PDF document (*.pdf)");
    static inline const QString kImageFailed = QStringLiteral("Couldn't save the chart image");

    // Prints the chart; a failure is told, a cancel is not.
    static void print(Xrt2dPlot& chart, QWidget* parent);
    // Asks for a file name in `directory` (".png" added unless the name ends in ".png" or
    // ".pdf") and writes the chart's image there.
    static void saveImage(Xrt2dPlot& chart, const QString& directory, QWidget* parent);
    static QString withImageSuffix(const QString& name);
};

}  // namespace tolm::viewer
