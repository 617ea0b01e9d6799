#include "viewer/ui/ChartOutput.h"

#include <QFileInfo>

#include "toolkit/UserDialogs.h"
#include "viewer/ExportFile.h"
#include "viewer/ui/Xrt2dPlot.h"

namespace tolm::viewer {

QString ChartOutput::withImageSuffix(const QString& name) {
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix == QLatin1String("png") || suffix == QLatin1String("pdf")) {
        return name;
    }
    return name + QStringLiteral(".png");
}

void ChartOutput::print(Xrt2dPlot& chart, QWidget* parent) {
    if (chart.Print() == Xrt2dPlot::PrintResult::Failed) {
        showCritical(kPrintTitle, kPrintFailed, parent);
    }
}

void ChartOutput::saveImage(Xrt2dPlot& chart, const QString& directory, QWidget* parent) {
    const QString chosen = chooseSaveFileName(kImageTitle, directory, kImageFilter, parent);
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = withImageSuffix(chosen);
    if (QFileInfo::exists(path) && !askYesNo(kImageTitle, ExportFile::kOverwriteQuestion, parent)) {
        return;
    }
    if (!chart.SaveImage(path)) {
        showCritical(kImageTitle, kImageFailed, parent);
    }
}

}  // namespace tolm::viewer
