#pragma once
// The aircraft fields that the aircraft page and the aircraft information dialog share:
// "TAIL_NUMBER", "T_COMMENTS", and in "G_ENGINE1" and "G_ENGINE2" each "TYPE", "SN" and
// "INSTALL_DATE". Shows a register entry in them and reads the edits back.
#include "formats/AircraftRecord.h"
#include "toolkit/ZafObject.h"

namespace tolm {

class AircraftInfoFields {
public:
    explicit AircraftInfoFields(ZafObject window);

    ZafObject TailNumber() const { return window_.Get(QStringLiteral("TAIL_NUMBER")); }
    // "G_ENGINE1" or "G_ENGINE2" for engine index 0 or 1.
    ZafObject EngineGroup(int index) const;

    // Reads the aircraft that "TAIL_NUMBER" names and shows it: comments, the engine-type lists
    // and texts, the SERs (checked, a bad one shown as 0 after a warning) and the dates.
    AircraftRecord Load();
    // The shown record with the user's edits written over it. A field left as it was shown
    // keeps its stored bytes.
    AircraftRecord Edited(const AircraftRecord& shown) const;
    // Takes what the fields show now as the state the record holds (after it was stored).
    void MarkStored();

    // Writes the type chosen in one engine's "TYPE" list into the other engine's "TYPE".
    // Does nothing for an object outside the two engine groups.
    void CopyEngineType(QObject* source);

private:
    ZafObject Field(int index, const char* identifier) const;
    ZafObject Comments() const { return window_.Get(QStringLiteral("T_COMMENTS")); }

    struct ShownTexts {
        QString comments;
        QString type[2];
        QString ser[2];
        bool serReplaced[2] = {false, false};  // a bad SER was shown as 0: saving writes 0
        QString date[2];
    };
    ZafObject window_;
    ShownTexts shown_;
};

}  // namespace tolm
