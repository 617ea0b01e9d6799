#include "health/ui/HealthUiLog.h"

Q_LOGGING_CATEGORY(lcHealthUi, "tolm.health.ui")
