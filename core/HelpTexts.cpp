#include "core/HelpTexts.h"

#include "core/SettingsStore.h"

namespace tolm {

namespace {

struct HelpSection {
    const char* key;
    const char* text;
};

const HelpSection kHelpSections[] = {
    {"Main Window", ""},
    {"Download",
     "Before starting the download please ensure:\r\n"
     "(1) The unit is powered on\r\n"
     "(2) The unit front panel display is switched off\r\n"
     "(3) The cable is plugged into the front connector of the unit"},
    {"Aircraft Information",
     "First make the selection of the Aircraft Identifier and then of the related engine "
     "types. Supply the serial number of the engines, and, if available, the installation date. "
     "Click on the \"Save Changes\" button or push the \"F5\" key to apply the changes."},
    {"Clear Memory",
     "For each engine, approximately 3 minutes are necessary to erase the memory in the unit. "
     "Make sure not to remove the connector during this operation.\r\n\r\n"
     "If there is a power interruption during the procedure to erase the data, the related "
     "memory can become unserviceable. As this can also have an effect on the subsequent "
     "downloads, do the procedure that follows to make sure that the memory is empty:\r\n\r\n"
     "(1) Remove the connector from the QUOR front panel.\r\n"
     "(2) Start the unit power supply.\r\n"
     "(3) Do a \"memory clear\" procedure."},
    {"Other Functions", "Downloaded data on the computer's disk can be displayed and inspected"},
    {"Utilities",
     "In the communication box the IP address 192.168.0.1 is the default IP address of the "
     "unit.  Make sure the IP address of your computer is 192.168.0.[2-254] and the subnet "
     "mask is 255.255.255.0"},
};

}  // namespace

QStringList HelpTexts::sections() {
    QStringList keys;
    for (const HelpSection& h : kHelpSections) {
        keys << QLatin1String(h.key);
    }
    return keys;
}

QString HelpTexts::builtIn(const QString& section) {
    for (const HelpSection& h : kHelpSections) {
        if (section == QLatin1String(h.key)) {
            return QString::fromLatin1(h.text);
        }
    }
    return QString();
}

QString HelpTexts::stored(const QString& section) {
    return SettingsStore().value(section).toString();
}

void HelpTexts::writeBuiltIn() {
    SettingsStore s;
    for (const HelpSection& h : kHelpSections) {
        s.setValue(QLatin1String(h.key), QString::fromLatin1(h.text));
    }
}

}  // namespace tolm
