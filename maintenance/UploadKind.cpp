#include "maintenance/UploadKind.h"

#include "link/CommandTable.h"

namespace tolm {

quint32 uploadCommand(UploadKind kind) {
    switch (kind) {
        case UploadKind::MainSoftware:
            return CMD_UPLOAD_MAIN_SOFTWARE;
        case UploadKind::DspSoftware:
            return CMD_UPLOAD_DSP_SOFTWARE;
        case UploadKind::ConfigTable:
            return CMD_UPLOAD_CONFIG_TABLE;
    }
    return 0;
}

QString uploadFilter(UploadKind kind) {
    switch (kind) {
        case UploadKind::MainSoftware:
            return QStringLiteral("731_402_*.dat");
        case UploadKind::DspSoftware:
            return QStringLiteral("731_403_*.dat");
        case UploadKind::ConfigTable:
            return QStringLiteral("731_406_*.dat");
    }
    return QString();
}

bool reinitialisesAfterUpload(UploadKind kind) {
    return kind != UploadKind::MainSoftware;
}

}  // namespace tolm
