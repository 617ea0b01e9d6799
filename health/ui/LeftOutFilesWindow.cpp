#include "health/ui/LeftOutFilesWindow.h"

#include <QDir>
#include <QTableWidget>

#include "health/ui/HealthEvents.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafWindowManager.h"

namespace tolm::health {

LeftOutFilesWindow::LeftOutFilesWindow() : ZafWindow(QStringLiteral("LeftOutFilesWindow")) {
    setObjectName(kIdentifier);
    Get(QStringLiteral("B_CLOSE")).SetSendMessage(HealthEvent::Close);
}

LeftOutFilesWindow* LeftOutFilesWindow::Find() {
    ZafWindowManager* windows = zafWindowManager();
    return windows ? qobject_cast<LeftOutFilesWindow*>(windows->Get(kIdentifier)) : nullptr;
}

ZafEventType LeftOutFilesWindow::Event(const ZafEventStruct& event) {
    if (event.type == HealthEvent::Close) {
        return ZafWindow::Event(ZafEventStruct(S_CLOSE, event.source, this));
    }
    return ZafWindow::Event(event);
}

void LeftOutFilesWindow::Fill(const QList<SkippedFile>& files) {
    auto* table = Get(QStringLiteral("E_FILES")).as<QTableWidget>();
    if (!table) {
        return;
    }
    table->setRowCount(int(files.size()));
    for (int row = 0; row < files.size(); ++row) {
        const QString cells[] = {QDir::toNativeSeparators(files[row].path), files[row].reason};
        for (int column = 0; column < 2; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            item->setToolTip(cells[column]);
            table->setItem(row, column, item);
        }
    }
    table->resizeColumnToContents(0);
}

}  // namespace tolm::health
