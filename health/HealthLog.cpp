#include "health/HealthLog.h"

Q_LOGGING_CATEGORY(lcHealth, "tolm.health")
