#include "viewer/ui/TabulateInfoWindow.h"

#include <QFileInfo>
#include <QListWidget>

#include "core/Config.h"
#include "toolkit/UserDialogs.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafWindowManager.h"
#include "viewer/ExportFile.h"
#include "viewer/ui/PlotWindow.h"
#include "viewer/ui/ViewerEvents.h"

namespace tolm::viewer {

TabulateInfoWindow::TabulateInfoWindow(int tagFont, int listFont)
    : ZafWindow(QStringLiteral("TabulateWindow")), list_(Get(QStringLiteral("E_LIST"))) {
    setObjectName(kIdentifier);
    Get(QStringLiteral("P_TAG")).SetFont(tagFont);
    for (const char* id : {"P_HEADER1", "P_HEADER2", "P_HEADER3", "E_LIST"}) {
        Get(QLatin1String(id)).SetFont(listFont);
    }
    Get(QStringLiteral("TOOL_BAR~B_SAVE")).SetSendMessage(ViewerEvent::SaveTabulation);
}

TabulateInfoWindow* TabulateInfoWindow::Find() {
    ZafWindowManager* windows = zafWindowManager();
    return windows ? qobject_cast<TabulateInfoWindow*>(windows->Get(kIdentifier)) : nullptr;
}

ZafEventType TabulateInfoWindow::Event(const ZafEventStruct& event) {
    if (event.type == ViewerEvent::SaveTabulation) {
        Save();
        return 0;
    }
    return ZafWindow::Event(event);
}

void TabulateInfoWindow::Fill(PlotWindow& chart, int set) {
    source_ = &chart;
    setUpdatesEnabled(false);
    listing_ = Tabulation::of(chart.Displayed(), set, chart.ShownX());
    Get(QStringLiteral("P_TAG")).SetText(listing_.tag);
    Get(QStringLiteral("P_HEADER1")).SetText(listing_.header1);
    Get(QStringLiteral("P_HEADER2")).SetText(listing_.header2);
    Get(QStringLiteral("P_HEADER3")).SetText(listing_.header3);
    list_.ClearItems();
    for (const TabulationRow& row : listing_.rows) {
        list_.AddItem(row.text);
    }
    setUpdatesEnabled(true);
    update();
}

void TabulateInfoWindow::Highlight(int point) {
    const int row = listing_.rowOfPoint(point);
    if (row < 0) {
        return;
    }
    list_.SetItemSelected(row);
    if (auto* list = list_.as<QListWidget>()) {
        list->scrollToItem(list->item(row));
    }
}

void TabulateInfoWindow::Close() {
    source_ = nullptr;
    ZafWindowManager* windows = zafWindowManager();
    if (windows && windows->Contains(this)) {
        windows->Event(ZafEventStruct(S_CLOSE, nullptr, this));
    }
}

void TabulateInfoWindow::Save() {
    const QString chosen =
        chooseSaveFileName(kSaveCaption, dataDirectory(), Tabulation::kFileFilter, this);
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = Tabulation::withTxtSuffix(chosen);
    if (QFileInfo::exists(path) &&
        !askYesNo(Tabulation::kSaveTitle, ExportFile::kOverwriteQuestion, this)) {
        return;
    }
    if (!ExportFile::write(path, listing_.fileText())) {
        showCritical(Tabulation::kSaveTitle, Tabulation::kSaveFailed, this);
    }
}

}  // namespace tolm::viewer
