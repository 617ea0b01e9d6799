#pragma once
// The main window's commands on the aircraft register, one call per command. The main window
// keeps one of these for its whole life; it holds the aircraft page while that page is shown.
// Dialogs are created with the given font and the default reader, centred, run modally and
// destroyed before the call returns.
#include <QMap>
#include <functional>

#include "formats/AircraftRecord.h"
#include "register/ui/BRIXAircraftInfoPage.h"

namespace tolm {

class TolmAircraftCommands {
public:
    // Shows a page in the main window: (window name, subtitle, help context) -> the page.
    using ShowPageFunction =
        std::function<ZafWindow*(const QString&, const QString&, const QString&)>;

    // False, after the warning "No aircraft found", when the register is empty.
    bool RequireAircraft();

    // Aircraft Information (10005): the page, unless the register is empty. True when shown;
    // the main window then adds PageHotKeys() to its hot keys.
    bool OpenAircraftPage(const ShowPageFunction& showPage);
    static QMap<int, ZafEventType> PageHotKeys(ZafEventType back) {
        return BRIXAircraftInfoPage::HotKeys(back);
    }
    // Events of the page: save (10010), aircraft chosen (10017), engine type chosen (10031).
    ZafEventType SaveAircraftPage();
    ZafEventType AircraftChosen();
    ZafEventType EngineTypeChosen(const ZafEventStruct& event);
    BRIXAircraftInfoPage& Page() { return page_; }

    // Download (10004), once the register is known not to be empty and the link is up: the
    // aircraft information dialog. True when accepted; `record` then holds the aircraft.
    bool RunDownloadDialog(int font, AircraftRecord& record);

    // Register management (10012, 10013, 10015, 10016) and import (10014, with the chosen file).
    ZafEventType AddAircraft(int font);
    ZafEventType RemoveAircraft(int font);
    ZafEventType ImportAircraft(const QString& path);
    ZafEventType AddEngineType(int font);
    ZafEventType RemoveEngineType(int font);

private:
    BRIXAircraftInfoPage page_;
};

}  // namespace tolm
