#include "maintenance/MaintenanceLog.h"

Q_LOGGING_CATEGORY(lcMaintenance, "tolm.maintenance")
