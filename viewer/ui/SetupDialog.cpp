#include "viewer/ui/SetupDialog.h"

#include <QCheckBox>

#include "toolkit/KeyCodes.h"
#include "viewer/ui/ItemValue.h"
#include "viewer/ui/Plot2D.h"
#include "viewer/ui/ViewerEvents.h"

namespace tolm::viewer {

SetupDialog::SetupDialog(Plot2D& plot)
    : ZafDialogWindow(QStringLiteral("SetupDialog")),
      plot_(plot),
      flights_(Get(QStringLiteral("G_FLIGHT"))) {
    const PlotModel& model = plot.Model();
    for (const SetupFlight& flight : model.setupFlights()) {
        auto* box = new QCheckBox(flight.text);
        flights_.Add(box);
        ZafObject item(box);
        item.SetSelected(flight.checked);
        item.SetSendMessage(ViewerEvent::ShowSet);
    }
    flights_.SetDisabled(!model.setupFlightsEnabled());

    ZafObject xGrid = Get(QStringLiteral("G_GRID~B_XGRID"));
    xGrid.SetSelected(model.choices().xGrid);
    xGrid.SetSendMessage(ViewerEvent::XGrid);
    ZafObject yGrid = Get(QStringLiteral("G_GRID~B_YGRID"));
    yGrid.SetSelected(model.choices().yGrid);
    yGrid.SetSendMessage(ViewerEvent::YGrid);

    ZafObject windows = Get(QStringLiteral("G_FFT_WINDOW"));
    for (int i = 0; i < windows.Count(); ++i) {
        ZafObject item = windows.Child(i);
        SetItemValue(item.object(), i);
        item.SetSendMessage(ViewerEvent::WindowChosen);
        item.SetSelected(i == int(model.choices().window));
    }
    Get(QStringLiteral("B_CLOSE")).SetSendMessage(S_CLOSE);
}

ZafEventType SetupDialog::Event(const ZafEventStruct& event) {
    if (event.isRawKeyDown() && (event.key == VK::Escape || event.key == VK::Return)) {
        return S_CLOSE;
    }
    switch (event.type) {
        case ViewerEvent::ShowSet: {
            ZafObject item(event.source.data());
            for (int i = 0; i < flights_.Count(); ++i) {
                if (flights_.Child(i) == item) {
                    SetItemValue(item.object(), PlotModel::setupValue(i, item.Selected()));
                    plot_.Event(ZafEventStruct(event.type, item.object(), &plot_));
                }
            }
            return S_CONTINUE;
        }
        case ViewerEvent::XGrid:
        case ViewerEvent::YGrid:
        case ViewerEvent::WindowChosen:
        case ViewerEvent::SampleChosen:
            plot_.Event(event);
            return S_CONTINUE;
        default:
            return ZafDialogWindow::Event(event);
    }
}

}  // namespace tolm::viewer
