#pragma once
// Where the connection set-up writes its texts: the main window's status-bar fields.
#include <QString>

namespace tolm {

class LinkStatusDisplay {
public:
    static constexpr const char* kStatusField = "STATUS";
    static constexpr const char* kPartNumberField = "PART_NUMBER";
    static constexpr const char* kSerialNumberField = "SERIAL_NUMBER";

    virtual ~LinkStatusDisplay() = default;
    // Writes text into the status-bar field of that name.
    virtual void setFieldText(const QString& field, const QString& text) = 0;
};

}  // namespace tolm
