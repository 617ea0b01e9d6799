#pragma once
// The three things the ground station loads into the unit, each with its upload command and
// the file names its images carry.
#include <QString>
#include <QtGlobal>

namespace tolm {

enum class UploadKind { MainSoftware = 0, DspSoftware = 1, ConfigTable = 2 };
inline constexpr int kUploadKinds = 3;

// The upload command of a kind (CMD_UPLOAD_MAIN_SOFTWARE, ...).
quint32 uploadCommand(UploadKind kind);
// The file dialog's filter of a kind: "731_402_*.dat", "731_403_*.dat", "731_406_*.dat".
QString uploadFilter(UploadKind kind);
// After the unit has taken the last packet it reinitialises (DSP software, configuration table).
bool reinitialisesAfterUpload(UploadKind kind);

}  // namespace tolm
